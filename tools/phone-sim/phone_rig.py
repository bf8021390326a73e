"""Simulated phones and a private adb server port, as processes owned by
whoever uses them (end-to-end tests, scripts/run).

A Rig picks a free adb server port that nobody else uses.  Programs under
test get it as ANDROID_ADB_SERVER_PORT, so the adb servers they start (and
kill, and start again) never touch the machine's default server on 5037.
Phones listen on random free odd ports in 5601..6999, above the 5555..5585
range adb servers scan when they start, so no other adb server on the
machine picks them up; they reach the rig's server by announcing themselves.

Rig.close() ends what the rig started or caused: every phone by its pid,
and the adb server on the rig's port (`adb kill-server` on that port, then
the pid that still listens there, if any).  Python 3 standard library only.
"""

import os
import random
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SIMULATOR = os.path.join(HERE, "phone_sim.py")
ADB = shutil.which("adb") or "/usr/bin/adb"

COUNTRY = "/data/property/persist.sys.country"
LANGUAGE = "/data/property/persist.sys.language"
TCP_LISTEN = "0A"


def wait_until(condition, timeout, interval=0.1):
    """Poll condition() until it returns something true; returns that value
    or None on timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() >= deadline:
            return value or None
        time.sleep(interval)


# -- ports --------------------------------------------------------------------

def free_port():
    with socket.socket() as sock:
        sock.bind(("127.0.0.1", 0))
        return sock.getsockname()[1]


def port_is_free(port):
    with socket.socket() as sock:
        try:
            sock.bind(("127.0.0.1", port))
        except OSError:
            return False
        return True


def phone_port_candidates(low=5601, high=6999):
    """Free odd ports (with a free console port below them) in random order."""
    ports = list(range(low | 1, high + 1, 2))
    random.shuffle(ports)
    for port in ports:
        if port_is_free(port) and port_is_free(port - 1):
            yield port


# -- adb servers by port --------------------------------------------------------

def _listening_inodes(port):
    inodes = set()
    for table in ("/proc/net/tcp", "/proc/net/tcp6"):
        try:
            with open(table) as file:
                rows = file.read().splitlines()[1:]
        except OSError:
            continue
        for row in rows:
            fields = row.split()
            if len(fields) > 9 and fields[3] == TCP_LISTEN and \
                    int(fields[1].rsplit(":", 1)[1], 16) == port:
                inodes.add(fields[9])
    return inodes


def _cmdline(pid):
    try:
        with open("/proc/%d/cmdline" % pid, "rb") as file:
            return [arg.decode("utf-8", "replace") for arg in file.read().split(b"\0") if arg]
    except OSError:
        return []


def _is_adb_server_for(args, port):
    # `adb -L tcp:PORT fork-server server ...` (started by a client) or
    # `adb ... server` with the port in its environment: only the first
    # form names the port, so that is the one matched here.
    if not args or os.path.basename(args[0]) != "adb" or "server" not in args:
        return False
    return any(args[i] == "-L" and args[i + 1].endswith(":%d" % port)
               for i in range(len(args) - 1))


def adb_server_pids(port):
    """Pids of the adb server processes for 127.0.0.1:port: whoever listens
    on the port, plus adb servers started for it that do not listen yet."""
    inodes = {"socket:[%s]" % inode for inode in _listening_inodes(port)}
    pids = set()
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        pid = int(entry)
        if _is_adb_server_for(_cmdline(pid), port):
            pids.add(pid)
            continue
        if not inodes:
            continue
        try:
            fds = os.listdir("/proc/%d/fd" % pid)
        except OSError:
            continue
        for fd in fds:
            try:
                if os.readlink("/proc/%d/fd/%s" % (pid, fd)) in inodes:
                    pids.add(pid)
                    break
            except OSError:
                pass
    return pids


def adb_environment(port, base=None):
    env = dict(os.environ if base is None else base)
    for name in ("ANDROID_SERIAL", "ADBHOST", "ADB_SERVER_SOCKET", "ADB_TRACE"):
        env.pop(name, None)
    env["ANDROID_ADB_SERVER_PORT"] = str(port)
    return env


def device_states(port):
    """{serial: state} as the adb server on `port` lists them; {} when no
    server runs there (asking then would start one)."""
    if not adb_server_pids(port):
        return {}
    result = subprocess.run([ADB, "devices"], env=adb_environment(port), capture_output=True,
                            text=True, timeout=20)
    states = {}
    for line in result.stdout.splitlines()[1:]:
        if "\t" in line:
            serial, state = line.split("\t", 1)
            states[serial] = state
    return states


def stop_adb_server(port, timeout=5.0):
    """End the adb server on `port`: `adb kill-server` first, then SIGKILL
    for an adb process still serving the port.  Raises if one survives."""
    if adb_server_pids(port):
        subprocess.run([ADB, "kill-server"], env=adb_environment(port), capture_output=True,
                       timeout=10)
    if wait_until(lambda: not adb_server_pids(port), timeout):
        return
    for pid in adb_server_pids(port):
        args = _cmdline(pid)
        if args and os.path.basename(args[0]) == "adb":
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
    if not wait_until(lambda: not adb_server_pids(port), timeout):
        raise RuntimeError("adb server on port %d still running: pids %s"
                           % (port, sorted(adb_server_pids(port))))


# -- phones ---------------------------------------------------------------------

class SimulatedPhone:
    """One phone_sim.py process with its own file system, request log and output."""

    def __init__(self, workdir, server_port, options=(), name="phone", env=None):
        """server_port None: the simulator's own default (ANDROID_ADB_SERVER_PORT of
        `env`, or 5037)."""
        self.name = name
        self.dir = os.path.join(workdir, name)
        self.prop_dir = os.path.join(self.dir, "root")
        os.makedirs(self.prop_dir, exist_ok=True)
        self.log_path = os.path.join(self.dir, "requests.log")
        self.ready_file = os.path.join(self.dir, "ready")
        self.output_path = os.path.join(self.dir, "phone-sim.log")
        self.server_port = server_port
        self.options = list(options)
        self.env = env
        self.port = None
        self.process = None

    @property
    def serial(self):
        return "emulator-%d" % (self.port - 1)

    @property
    def pid(self):
        return self.process.pid if self.process else None

    def start(self, ports=None):
        """Start on the first port of `ports` (default: free private ports) the
        simulator can listen on."""
        for attempt, port in enumerate(ports or phone_port_candidates()):
            if attempt == 5:
                break
            if self._start_on(port):
                return self
        raise RuntimeError("simulator could not start; see %s" % self.output_path)

    def _start_on(self, port):
        command = [sys.executable, "-B", SIMULATOR, "--port", str(port),
                   "--prop-dir", self.prop_dir, "--log", self.log_path,
                   "--ready-file", self.ready_file, *self.options]
        if self.server_port is not None:
            command += ["--server-port", str(self.server_port)]
        with open(self.output_path, "ab") as output:
            self.process = subprocess.Popen(command, env=self.env, stdin=subprocess.DEVNULL,
                                            stdout=output, stderr=subprocess.STDOUT)
        wait_until(lambda: os.path.exists(self.ready_file) or self.process.poll() is not None,
                   10.0, 0.05)
        if os.path.exists(self.ready_file):
            self.port = port
            return True
        self.stop()
        return False

    def stop(self, signum=signal.SIGTERM, timeout=5.0):
        """Signal the simulator and return its exit code (None if it had to be killed)."""
        if self.process is None or self.process.poll() is not None:
            return None if self.process is None else self.process.returncode
        self.process.send_signal(signum)
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            return None

    def requests(self):
        """Service requests in order, e.g. 'shell:echo CN > ...', 'reboot:'."""
        try:
            with open(self.log_path, encoding="utf-8") as log:
                return log.read().splitlines()
        except FileNotFoundError:
            return []

    def prop_file(self, phone_path):
        """Where a file of the phone lives on this machine."""
        return os.path.join(self.prop_dir, phone_path.lstrip("/"))

    def read(self, phone_path):
        """The bytes of a file on the phone, or None when it does not exist."""
        try:
            with open(self.prop_file(phone_path), "rb") as file:
                return file.read()
        except FileNotFoundError:
            return None

    def output(self):
        try:
            with open(self.output_path, encoding="utf-8", errors="replace") as file:
                return file.read()
        except FileNotFoundError:
            return ""

    def returns(self):
        """How many times the phone came back from a reboot."""
        return self.output().count(": back after ")


class Rig:
    """A private adb server port and the phones announcing to it."""

    def __init__(self, workdir=None):
        self.own_workdir = workdir is None
        self.workdir = tempfile.mkdtemp(prefix="quorvix-rig-") if workdir is None else workdir
        self.port = free_port()
        self.phones = []

    def phone(self, *options, name=None):
        phone = SimulatedPhone(self.workdir, self.port, options,
                               name=name or "phone%d" % (len(self.phones) + 1))
        self.phones.append(phone)
        return phone.start()

    def env_assignment(self):
        return "ANDROID_ADB_SERVER_PORT=%d" % self.port

    def states(self):
        return device_states(self.port)

    def server_pids(self):
        return adb_server_pids(self.port)

    def close(self):
        for phone in self.phones:
            phone.stop()
        stop_adb_server(self.port)
        if self.own_workdir:
            shutil.rmtree(self.workdir, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
