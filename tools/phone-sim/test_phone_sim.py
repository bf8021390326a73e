#!/usr/bin/env python3
"""Tests for the simulated phone, most of them against Debian's real adb.

How the tests choose ports (so they can run next to other adb users):
* Every adb server gets a private port from the kernel (bind to port 0) and
  is started as `adb nodaemon server` with ANDROID_ADB_SERVER_PORT set, so
  the test owns the server process; it is stopped with `adb kill-server`
  and then waited for (killed if it does not exit).  HOME points into the
  test's temporary directory so adb's key and state files stay there.
* Phones listen on a random free odd port in 5601..6999 whose even
  neighbour is free too.  That is above the 5555..5585 range adb servers
  scan at start-up, so no other adb server on the machine picks them up;
  they reach the test's server by announcing themselves
  (`host:emulator:<port>`).
* ServerStartedLaterTest.test_found_by_the_start_up_scan is the one
  exception: it needs a free port inside 5555..5585 to check that a
  starting server finds the phone by scanning.  (CTest runs these tests
  with RUN_SERIAL for that reason.)
"""

import os
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import time
import unittest

from phone_rig import SimulatedPhone, free_port, phone_port_candidates, wait_until

ADB = shutil.which("adb") or "/usr/bin/adb"

COUNTRY = "/data/property/persist.sys.country"
STATE_TIMEOUT = 5.0


# -- ports and waiting ------------------------------------------------------

def accepts_connections(port):
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=0.5):
            return True
    except OSError:
        return False


# -- processes --------------------------------------------------------------

def adb_environment(server_port, home):
    env = {key: value for key, value in os.environ.items()
           if key not in ("ANDROID_SERIAL", "ADBHOST", "ADB_VENDOR_KEYS", "ADB_TRACE",
                          "ADB_SERVER_SOCKET", "ANDROID_SDK_HOME", "ANDROID_USER_HOME")}
    env["ANDROID_ADB_SERVER_PORT"] = str(server_port)
    env["HOME"] = home
    return env


class AdbServer:
    """A real adb server on a private port, owned by the test."""

    def __init__(self, workdir):
        self.port = free_port()
        home = os.path.join(workdir, "adb-home")
        os.makedirs(home, exist_ok=True)
        self.env = adb_environment(self.port, home)
        self.output_path = os.path.join(workdir, "adb-server.log")
        self.process = None

    def start(self):
        with open(self.output_path, "ab") as output:
            self.process = subprocess.Popen(
                [ADB, "nodaemon", "server"], env=self.env, stdin=subprocess.DEVNULL,
                stdout=output, stderr=subprocess.STDOUT)
        up = wait_until(lambda: self.process.poll() is None and accepts_connections(self.port),
                        10.0)
        if not up:
            self.stop()
            raise RuntimeError("adb server did not come up on port %d" % self.port)

    def adb(self, *args, timeout=20):
        # A client run against a dead server would start a new, unowned one.
        if self.process.poll() is not None:
            raise AssertionError("adb server exited with %s" % self.process.returncode)
        return subprocess.run([ADB, *args], env=self.env, capture_output=True, text=True,
                              timeout=timeout)

    def states(self):
        """{serial: state} as listed by `adb devices`."""
        result = self.adb("devices")
        states = {}
        for line in result.stdout.splitlines()[1:]:
            if "\t" in line:
                serial, state = line.split("\t", 1)
                states[serial] = state
        return states

    def wait_for_state(self, serial, state, timeout=STATE_TIMEOUT):
        return wait_until(lambda: self.states().get(serial) == state, timeout)

    def stop(self):
        if self.process is None:
            return
        if self.process.poll() is None:
            subprocess.run([ADB, "kill-server"], env=self.env, capture_output=True, timeout=10)
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


class AdbTestCase(unittest.TestCase):
    """One private adb server per test class plus helpers to start phones."""

    @classmethod
    def setUpClass(cls):
        cls.workdir = tempfile.mkdtemp(prefix="phone-sim-test-")
        cls.addClassCleanup(shutil.rmtree, cls.workdir, ignore_errors=True)
        cls.server = AdbServer(cls.workdir)
        cls.server.start()
        cls.addClassCleanup(cls.server.stop)

    @classmethod
    def start_phone(cls, *options, name="phone"):
        phone = SimulatedPhone(cls.workdir, cls.server.port, options, name=name).start()
        cls.addClassCleanup(phone.stop)
        return phone

    def shell(self, phone, command):
        return self.server.adb("-s", phone.serial, "shell", command)


# -- tests against the real adb --------------------------------------------

class RootedPhoneTest(AdbTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.phone = cls.start_phone("--product-name", "simprod", "--model", "SimModel",
                                    "--device", "simdev")
        if not cls.server.wait_for_state(cls.phone.serial, "device"):
            raise AssertionError("phone never listed as device: %r" % cls.server.states())

    def test_listed_as_device_with_product_details(self):
        listing = self.server.adb("devices").stdout
        self.assertIn("\n%s\tdevice\n" % self.phone.serial, listing)
        long_listing = self.server.adb("devices", "-l").stdout
        line = next(l for l in long_listing.splitlines() if l.startswith(self.phone.serial))
        for field in ("product:simprod", "model:SimModel", "device:simdev"):
            self.assertIn(field, line.split())

    def test_echo_writes_file_under_prop_dir(self):
        cases = [
            ("echo CN > " + COUNTRY, COUNTRY, b"CN\n"),
            ("echo zh-Hans-CN > /data/property/persist.sys.locale",
             "/data/property/persist.sys.locale", b"zh-Hans-CN\n"),
            ('echo "en US">/data/local/tmp/quoted', "/data/local/tmp/quoted", b"en US\n"),
            ("echo TW > /data/property/../property/persist.sys.region",
             "/data/property/persist.sys.region", b"TW\n"),
        ]
        for command, path, content in cases:
            with self.subTest(command=command):
                result = self.shell(self.phone, command)
                self.assertEqual((result.returncode, result.stdout), (0, ""))
                self.assertEqual(self.phone.read(path), content)

    def test_cat_reads_back_what_echo_wrote(self):
        for value in ("US", "DE"):
            with self.subTest(value=value):
                self.shell(self.phone, "echo %s > /data/property/persist.sys.cat_test" % value)
                result = self.shell(self.phone, "cat /data/property/persist.sys.cat_test")
                self.assertEqual(result.stdout, value + "\n")

    def test_shell_error_messages(self):
        cases = [
            ("getprop persist.sys.country", "/system/bin/sh: getprop: not found\n"),
            ("setprop persist.sys.country CN", "/system/bin/sh: setprop: not found\n"),
            ("cat /data/property/never.written",
             "cat: /data/property/never.written: No such file or directory\n"),
        ]
        for command, expected in cases:
            with self.subTest(command=command):
                self.assertEqual(self.shell(self.phone, command).stdout, expected)

    def test_other_services_are_refused(self):
        result = self.server.adb("-s", self.phone.serial, "root")
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("closed", result.stderr)
        self.assertEqual(self.phone.requests()[-1], "root:")

    def test_log_records_each_request_in_order(self):
        before = len(self.phone.requests())
        self.shell(self.phone, "echo JP > " + COUNTRY)
        self.shell(self.phone, "cat " + COUNTRY)
        self.server.adb("-s", self.phone.serial, "root")
        self.assertEqual(self.phone.requests()[before:], [
            "shell:echo JP > " + COUNTRY,
            "shell:cat " + COUNTRY,
            "root:",
        ])


class NotRootedPhoneTest(AdbTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.phone = SimulatedPhone(cls.workdir, cls.server.port, ["--not-rooted"])
        # A value left by an earlier session must survive failed writes.
        os.makedirs(os.path.dirname(cls.phone.prop_file(COUNTRY)))
        with open(cls.phone.prop_file(COUNTRY), "w") as file:
            file.write("GB\n")
        cls.phone.start()
        cls.addClassCleanup(cls.phone.stop)
        if not cls.server.wait_for_state(cls.phone.serial, "device"):
            raise AssertionError("phone never listed as device: %r" % cls.server.states())

    def test_writes_are_denied_and_change_nothing(self):
        cases = [
            (COUNTRY, "GB\n"),
            ("/data/property/persist.sys.locale", None),
        ]
        for path, previous in cases:
            with self.subTest(path=path):
                result = self.shell(self.phone, "echo CN > " + path)
                self.assertEqual(result.stdout,
                                 "/system/bin/sh: can't create %s: Permission denied\n" % path)
                if previous is None:
                    self.assertFalse(os.path.exists(self.phone.prop_file(path)))
                else:
                    self.assertEqual(self.phone.read(path), previous.encode())

    def test_reading_still_works(self):
        self.assertEqual(self.shell(self.phone, "cat " + COUNTRY).stdout, "GB\n")


class RebootTest(AdbTestCase):
    REBOOT_SECONDS = 1.5

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.slow = cls.start_phone("--reboot-seconds", str(cls.REBOOT_SECONDS), name="slow")
        cls.quick = cls.start_phone("--reboot-seconds", "0", name="quick")
        for phone in (cls.slow, cls.quick):
            if not cls.server.wait_for_state(phone.serial, "device"):
                raise AssertionError("phone never listed: %r" % cls.server.states())

    def reboot_timeline(self, phone, horizon):
        """Reboot through adb and poll `adb devices`; returns the seconds
        until the phone was first missing and until it was a device again."""
        started = time.monotonic()
        result = self.server.adb("-s", phone.serial, "reboot")
        self.assertEqual(result.returncode, 0, result.stderr)
        gone_at = back_at = None
        while time.monotonic() - started < horizon:
            state = self.server.states().get(phone.serial)
            now = time.monotonic() - started
            if state is None and gone_at is None:
                gone_at = now
            if gone_at is not None and state == "device":
                back_at = now
                break
            time.sleep(0.05)
        return gone_at, back_at

    def test_reboot_leaves_and_comes_back(self):
        self.shell(self.slow, "echo FR > " + COUNTRY)
        gone_at, back_at = self.reboot_timeline(self.slow, self.REBOOT_SECONDS + 6)
        self.assertIsNotNone(gone_at, "phone never left the device list")
        self.assertLess(gone_at, 2.0)
        self.assertIsNotNone(back_at, "phone did not come back")
        self.assertGreaterEqual(back_at, self.REBOOT_SECONDS)
        self.assertLess(back_at, self.REBOOT_SECONDS + 3.0)
        self.assertEqual(self.slow.requests()[-1], "reboot:")
        # Properties live on /data and survive the reboot.
        self.assertEqual(self.shell(self.slow, "cat " + COUNTRY).stdout, "FR\n")

    def test_quick_reboot_is_still_picked_up(self):
        # Back at once: the server still holds the old connection for a
        # moment and ignores the first announcement.
        before = self.quick.requests()
        result = self.server.adb("-s", self.quick.serial, "reboot")
        self.assertEqual(result.returncode, 0, result.stderr)
        time.sleep(0.3)
        back = wait_until(lambda: self.shell(self.quick, "echo ok").stdout == "ok\n", 4.0, 0.1)
        self.assertTrue(back, "phone not usable after reboot: %r" % self.server.states())
        self.assertEqual(self.quick.requests()[len(before):][:1], ["reboot:"])


class ConnectionStateTest(AdbTestCase):
    CASES = [
        ("--offline", "offline", "error: device offline"),
        ("--unauthorized", "unauthorized", "error: device unauthorized"),
    ]

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.phones = {option: cls.start_phone(option, name=option.strip("-"))
                      for option, _, _ in cls.CASES}

    def test_listed_state_and_shell_refused(self):
        for option, state, error in self.CASES:
            phone = self.phones[option]
            with self.subTest(option=option):
                self.assertTrue(self.server.wait_for_state(phone.serial, state),
                                "states: %r" % self.server.states())
                result = self.shell(phone, "echo CN > " + COUNTRY)
                self.assertNotEqual(result.returncode, 0)
                self.assertIn(error, result.stderr)
                self.assertEqual(phone.requests(), [])
                self.assertFalse(os.path.exists(phone.prop_file(COUNTRY)))


class ServerStartedLaterTest(unittest.TestCase):
    """The phone is up first; the adb server starts afterwards."""

    def setUp(self):
        self.workdir = tempfile.mkdtemp(prefix="phone-sim-test-")
        self.addCleanup(shutil.rmtree, self.workdir, ignore_errors=True)
        self.server = AdbServer(self.workdir)

    def start_server(self):
        self.server.start()
        self.addCleanup(self.server.stop)

    def test_found_by_the_start_up_scan(self):
        scan_ports = list(phone_port_candidates(5555, 5585))
        self.assertTrue(scan_ports, "no free port in 5555..5585 for the scan test")
        # Announcements go to a port nobody listens on: only the scan can find it.
        phone = SimulatedPhone(self.workdir, free_port()).start(scan_ports)
        self.addCleanup(phone.stop)
        self.start_server()
        self.assertTrue(self.server.wait_for_state(phone.serial, "device"),
                        "states: %r" % self.server.states())

    def test_found_outside_the_scan_range_by_repeated_announcements(self):
        phone = SimulatedPhone(self.workdir, self.server.port).start()
        self.addCleanup(phone.stop)
        time.sleep(0.7)  # the first announcements find no server
        self.start_server()
        self.assertTrue(self.server.wait_for_state(phone.serial, "device"),
                        "states: %r" % self.server.states())


class ServerRestartTest(unittest.TestCase):
    """The server is killed and started again on the same private port."""

    def test_listed_again_after_each_restart(self):
        workdir = tempfile.mkdtemp(prefix="phone-sim-test-")
        self.addCleanup(shutil.rmtree, workdir, ignore_errors=True)
        server = AdbServer(workdir)
        server.start()
        self.addCleanup(server.stop)
        phone = SimulatedPhone(workdir, server.port).start()
        self.addCleanup(phone.stop)
        self.assertTrue(server.wait_for_state(phone.serial, "device"),
                        "states: %r" % server.states())
        # Twice: every lost server is followed by new announcements, not only
        # the first.  The phone's port is outside the start-up scan, so only
        # an announcement can bring it back.
        for restart in (1, 2):
            with self.subTest(restart=restart):
                server.stop()
                time.sleep(1.0)  # the first announcements find no server
                server.start()
                self.assertTrue(server.wait_for_state(phone.serial, "device"),
                                "states: %r" % server.states())
                self.assertEqual(server.adb("-s", phone.serial, "shell", "echo ok").stdout,
                                 "ok\n")


# -- tests at the wire level ------------------------------------------------

def command(name):
    return struct.unpack("<I", name.encode())[0]


CNXN, OPEN, OKAY, WRTE, CLSE = map(command, ("CNXN", "OPEN", "OKAY", "WRTE", "CLSE"))
LEGACY, SKIP_CHECKSUM = 0x01000000, 0x01000001


class FakeServer:
    """Plays the adb server's side of the transport with a chosen version."""

    def __init__(self, port, version=SKIP_CHECKSUM, max_payload=1024 * 1024):
        self.sock = socket.create_connection(("127.0.0.1", port), timeout=5)
        self.version = version
        self.send(CNXN, version, max_payload, b"host::features=shell_v2,cmd\0")
        self.reply = self.receive()

    def close(self):
        self.sock.close()

    def send(self, cmd, arg0, arg1, payload=b"", check=None):
        if check is None:
            check = sum(payload) if self.version == LEGACY else 0
        header = struct.pack("<6I", cmd, arg0, arg1, len(payload), check, cmd ^ 0xFFFFFFFF)
        self.sock.sendall(header + payload)

    def _read(self, size):
        data = b""
        while len(data) < size:
            chunk = self.sock.recv(size - len(data))
            if not chunk:
                return None
            data += chunk
        return data

    def receive(self, timeout=5.0):
        """(command, arg0, arg1, payload, check), or None when the phone
        closed the connection."""
        self.sock.settimeout(timeout)
        header = self._read(24)
        if header is None:
            return None
        cmd, arg0, arg1, length, check, magic = struct.unpack("<6I", header)
        assert magic == cmd ^ 0xFFFFFFFF, "bad magic"
        payload = self._read(length) if length else b""
        return cmd, arg0, arg1, payload, check

    def nothing_arrives(self, seconds):
        self.sock.settimeout(seconds)
        try:
            self.sock.recv(1, socket.MSG_PEEK)
        except socket.timeout:
            return True
        return False


class WireTest(unittest.TestCase):
    def setUp(self):
        self.workdir = tempfile.mkdtemp(prefix="phone-sim-test-")
        self.addCleanup(shutil.rmtree, self.workdir, ignore_errors=True)

    def start_phone(self, *options, server_port=None, env=None):
        phone = SimulatedPhone(self.workdir, server_port or free_port(), options, env=env).start()
        self.addCleanup(phone.stop)
        return phone

    def connect(self, phone, **kwargs):
        server = FakeServer(phone.port, **kwargs)
        self.addCleanup(server.close)
        return server

    def test_checksums_follow_the_agreed_version(self):
        phone = self.start_phone()
        for version in (LEGACY, SKIP_CHECKSUM):
            with self.subTest(version=hex(version)):
                server = self.connect(phone, version=version)
                cmd, arg0, _, banner, check = server.reply
                self.assertEqual((cmd, arg0), (CNXN, version))
                self.assertTrue(banner.startswith(b"device::ro.product.name="), banner)
                self.assertNotIn(b"features=", banner)
                expected_check = (lambda data: sum(data)) if version == LEGACY else (lambda _: 0)
                self.assertEqual(check, expected_check(banner))

                server.send(OPEN, 7, 0, b"shell:echo hi\0")
                cmd, local_id, remote_id, _, _ = server.receive()
                self.assertEqual((cmd, remote_id), (OKAY, 7))
                write = server.receive()
                self.assertEqual(write[:4], (WRTE, local_id, 7, b"hi\n"))
                self.assertEqual(write[4], expected_check(b"hi\n"))
                server.send(OKAY, 7, local_id)
                self.assertEqual(server.receive()[:3], (CLSE, local_id, 7))

    def test_bad_checksum_matters_only_in_checksummed_mode(self):
        phone = self.start_phone()
        for version, served in ((LEGACY, False), (SKIP_CHECKSUM, True)):
            with self.subTest(version=hex(version)):
                server = self.connect(phone, version=version)
                server.send(OPEN, 3, 0, b"shell:echo hi\0", check=12345)
                answer = server.receive()
                if served:
                    self.assertEqual(answer[0], OKAY)
                else:
                    self.assertIsNone(answer, "connection kept after a bad checksum")

    def test_long_output_is_split_and_waits_for_okay(self):
        phone = self.start_phone()
        content = "".join("line %05d\n" % n for n in range(1000)).encode()  # 11000 bytes
        os.makedirs(os.path.join(phone.prop_dir, "data"))
        with open(os.path.join(phone.prop_dir, "data", "big"), "wb") as file:
            file.write(content)
        server = self.connect(phone, max_payload=4096)
        server.send(OPEN, 5, 0, b"shell:cat /data/big\0")
        local_id = server.receive()[1]
        received, chunks = b"", 0
        while True:
            message = server.receive()
            if message[0] == CLSE:
                break
            self.assertEqual(message[:3], (WRTE, local_id, 5))
            self.assertLessEqual(len(message[3]), 4096)
            self.assertTrue(server.nothing_arrives(0.2), "wrote again before OKAY")
            received += message[3]
            chunks += 1
            server.send(OKAY, 5, local_id)
        self.assertEqual(received, content)
        self.assertEqual(chunks, 3)

    def test_unknown_services_are_refused(self):
        phone = self.start_phone()
        server = self.connect(phone)
        for remote_id, service in enumerate(("sync:", "root:", "jdwp:1234", "shell"), start=11):
            with self.subTest(service=service):
                server.send(OPEN, remote_id, 0, service.encode() + b"\0")
                self.assertEqual(server.receive()[:3], (CLSE, 0, remote_id))
        self.assertEqual(phone.requests(), ["sync:", "root:", "jdwp:1234", "shell"])

    def test_announces_itself_at_start_and_after_reboot(self):
        listener = socket.socket()
        self.addCleanup(listener.close)
        listener.bind(("127.0.0.1", 0))
        listener.listen(8)
        listener.settimeout(5)
        # The default server port comes from ANDROID_ADB_SERVER_PORT.
        env = dict(os.environ, ANDROID_ADB_SERVER_PORT=str(listener.getsockname()[1]))
        phone = SimulatedPhone(self.workdir, None, ["--reboot-seconds", "1"], env=env).start()
        self.addCleanup(phone.stop)
        expected = ("host:emulator:%d" % phone.port).encode()
        framed = b"%04x" % len(expected) + expected

        def next_announcement():
            connection, _ = listener.accept()
            with connection:
                connection.settimeout(5)
                return connection.recv(100)

        self.assertEqual(next_announcement(), framed)

        server = self.connect(phone)
        server.send(OPEN, 9, 0, b"reboot:recovery\0")
        self.assertEqual(server.receive()[0], OKAY)
        self.assertEqual(server.receive()[0], CLSE)
        self.assertIsNone(server.receive(), "connection kept open across reboot")
        rebooted = time.monotonic()
        self.assertFalse(accepts_connections(phone.port), "still listening while rebooting")
        # Drain announcements from before the reboot, then wait for the next.
        while True:
            announcement = next_announcement()
            if time.monotonic() - rebooted >= 0.9:
                break
        self.assertEqual(announcement, framed)
        self.assertTrue(accepts_connections(phone.port))
        self.assertEqual(phone.requests(), ["reboot:recovery"])

    def test_signals_shut_down_cleanly(self):
        for signum in (signal.SIGTERM, signal.SIGINT):
            with self.subTest(signal=signum.name):
                phone = self.start_phone()
                server = self.connect(phone)
                self.assertEqual(server.reply[0], CNXN)
                self.assertEqual(phone.stop(signum), 0)
                self.assertIsNone(server.receive(), "connection left open")
                self.assertFalse(os.path.exists(phone.ready_file))
                self.assertFalse(accepts_connections(phone.port), "still listening")


if __name__ == "__main__":
    unittest.main()
