#!/usr/bin/env python3
"""End-to-end tests of Quorvix.exe with a real adb: the program under Wine
and Xvfb deploys its own adb.exe (the Wine payload that runs Debian's adb),
types its lines into the project's interpreter, and talks through an adb
server on a private port to simulated phones (tools/phone-sim).

Every test owns a Rig: a free adb server port handed to Quorvix as
ANDROID_ADB_SERVER_PORT, and simulated phones announcing themselves to
that port from ports outside adb's start-up scan.  The rig ends the phones
by pid and the adb server the program started by its port, after the
program and its interpreter have ended.
"""
import contextlib
import os
import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "phone-sim"))

from phone_rig import COUNTRY, LANGUAGE, Rig, wait_until  # noqa: E402
from quorvix_e2e import DBT_DEVICEARRIVAL, DBT_DEVICEREMOVECOMPLETE, Desktop, Run, gbk  # noqa: E402

FORUM = "bbs.korvanta-miraluna.example"
CONNECTED = gbk("已连接手机")
NO_PHONE = gbk("未连接到手机,请插入手机或检查usbdebug模式！")
CHECKING = gbk("检测设备中...")
APPLIED = gbk("设置已完成,设备重启中....更多工具，请关注论坛：" + FORUM)
FAILED = gbk("设置失败，请确认手机已连接并已获取ROOT权限！")

START, SIMPLIFIED, TRADITIONAL, ENGLISH = 1001, 1002, 1003, 1004
WRITES = {country: ["shell:echo %s > %s" % (country, COUNTRY),
                    "shell:echo %s > %s" % (language, LANGUAGE)]
          for country, language in (("CN", "zh"), ("TW", "zh"), ("US", "en"))}


class RealAdbTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.desktop = Desktop(f"quorvix-adb-e2e-{os.getpid()}").__enter__()

    @classmethod
    def tearDownClass(cls):
        cls.desktop.__exit__(None, None, None)

    @contextlib.contextmanager
    def session(self):
        """A rig plus a way to start Quorvix on it; on the way out the
        program (with its interpreter) ends first, then the rig's phones
        and the adb server the program left on the rig's port."""
        with contextlib.ExitStack() as stack:
            rig = stack.enter_context(Rig())
            runs = []

            def start_quorvix():
                run = Run(self.desktop, temp_name="adb-e2e-", deploy_double=False)
                runs.append(run)
                return run.start(extra_env=(rig.env_assignment(),))

            def close_runs():
                for run in runs:
                    run.close_and_settle()

            stack.callback(close_runs)
            yield rig, start_quorvix

    def assertStatus(self, run, expected, timeout=30):
        """Waits for the status line to show `expected`; compares as text so
        a failure reads in Chinese rather than as GBK bytes."""
        self.assertEqual(run.wait_status(expected, timeout).decode("gbk", "replace"),
                         expected.decode("gbk"))

    def detect(self, start_quorvix, expected):
        run = start_quorvix()
        self.assertStatus(run, expected)
        return run

    def test_a_phone_is_found_through_the_private_server(self):
        with self.session() as (rig, start_quorvix):
            phone = rig.phone()
            run = self.detect(start_quorvix, CONNECTED)
            self.assertTrue(run.state()[0])
            # The server the program started is on the rig's port and lists
            # exactly the simulated phone.
            self.assertTrue(rig.server_pids())
            self.assertEqual(rig.states(), {phone.serial: "device"})
            self.assertEqual(phone.requests(), [])

    def test_each_locale_is_written_then_the_phone_reboots_and_returns(self):
        for radio, country, language in ((SIMPLIFIED, "CN", "zh"), (TRADITIONAL, "TW", "zh"),
                                         (ENGLISH, "US", "en")):
            with self.subTest(country=country), self.session() as (rig, start_quorvix):
                phone = rig.phone("--reboot-seconds", "2")
                run = self.detect(start_quorvix, CONNECTED)
                run.click(radio)
                run.click(START)
                self.assertStatus(run, CHECKING, timeout=5)
                self.assertStatus(run, APPLIED)
                self.assertEqual(phone.read(COUNTRY), country.encode() + b"\n")
                self.assertEqual(phone.read(LANGUAGE), language.encode() + b"\n")
                self.assertEqual(phone.requests(), WRITES[country] + ["reboot:"])

                # The phone comes back to the same server; its removal and
                # arrival change nothing in the program: no new pass (which
                # would restart the server) and the completion text stays.
                self.assertTrue(wait_until(phone.returns, 15), phone.output())
                self.assertTrue(wait_until(lambda: rig.states() == {phone.serial: "device"}, 10),
                                rig.states())
                server = rig.server_pids()
                run.device_change(DBT_DEVICEREMOVECOMPLETE)
                run.device_change(DBT_DEVICEARRIVAL)
                time.sleep(3)
                self.assertStatus(run, APPLIED, timeout=0)
                self.assertFalse(run.state()[0])
                self.assertEqual(rig.server_pids(), server)
                self.assertEqual(phone.requests(), WRITES[country] + ["reboot:"])

    def test_a_phone_without_root_is_not_rebooted(self):
        with self.session() as (rig, start_quorvix):
            phone = rig.phone("--not-rooted")
            run = self.detect(start_quorvix, CONNECTED)
            run.click(SIMPLIFIED)
            run.click(START)
            self.assertStatus(run, FAILED)
            self.assertTrue(run.state()[0])
            # Both writes were tried and refused; nothing was written.
            self.assertEqual(phone.requests(), WRITES["CN"])
            self.assertIsNone(phone.read(COUNTRY))
            self.assertIsNone(phone.read(LANGUAGE))

    def test_no_ready_phone_is_no_phone(self):
        # Offline and unauthorized phones are listed by the server, but not
        # as "device"; with no phone at all the list is empty.
        for options, listed in ((("--offline",), "offline"),
                                (("--unauthorized",), "unauthorized"),
                                (None, None)):
            with self.subTest(listed=listed), self.session() as (rig, start_quorvix):
                phone = rig.phone(*options) if options else None
                run = self.detect(start_quorvix, NO_PHONE)
                self.assertFalse(run.state()[0])
                self.assertTrue(rig.server_pids())
                self.assertEqual(rig.states(), {phone.serial: listed} if phone else {})
                if phone:
                    self.assertEqual(phone.requests(), [])

    def test_two_phones_are_found_but_neither_is_changed(self):
        # `adb shell` without a serial refuses to choose between two phones
        # ("error: more than one device/emulator"): the program reports the
        # failure and reboots neither.
        with self.session() as (rig, start_quorvix):
            phones = [rig.phone(name="first"), rig.phone(name="second")]
            run = self.detect(start_quorvix, CONNECTED)
            self.assertTrue(run.state()[0])
            self.assertEqual(rig.states(), {phone.serial: "device" for phone in phones})
            run.click(SIMPLIFIED)
            run.click(START)
            self.assertStatus(run, FAILED)
            self.assertTrue(run.state()[0])
            # The server the apply pass restarted saw both phones: the
            # failure comes from the choice, not from a lost phone.
            self.assertEqual(rig.states(), {phone.serial: "device" for phone in phones})
            time.sleep(2)
            for phone in phones:
                with self.subTest(phone=phone.name):
                    self.assertEqual(phone.requests(), [])
                    self.assertEqual(phone.returns(), 0)
                    self.assertIsNone(phone.read(COUNTRY))
                    self.assertIsNone(phone.read(LANGUAGE))


if __name__ == "__main__":
    unittest.main()
