#!/usr/bin/env python3
"""End-to-end tests of Quorvix.exe: the real program under Wine and Xvfb in
Wine's virtual desktop, the scripted adb double as its adb, driven from
outside through the window system."""
import os
import time
import unittest
from pathlib import Path

from quorvix_e2e import (BUILD, DBT_DEVICEARRIVAL, DBT_DEVICEREMOVECOMPLETE, IDM_ABOUTBOX,
                         Desktop, Run, gbk)

FORUM = "bbs.korvanta-miraluna.example"
NOTICE = gbk("【Korvanta-Miraluna】HTC一键设置语言\r\n"
             "【Korvanta-Miraluna】 网站地址：" + FORUM + "\r\n\r\n\r\n"
             " 注意事项:\r\n"
             " 1,本工具需要手机获取ROOT权限，请在获取ROOT权限后使用。\r\n"
             " 2,使用前请先打开手机的USB调试模式,连接电脑和手机采用\"仅充电\"模式.\r\n ")
CAPTION = gbk("【Korvanta-Miraluna】HTC 一键设置语言")
CONNECTED = gbk("已连接手机")
NO_PHONE = gbk("未连接到手机,请插入手机或检查usbdebug模式！")
CHECKING = gbk("检测设备中...")
APPLIED = gbk("设置已完成,设备重启中....更多工具，请关注论坛：" + FORUM)
FAILED = gbk("设置失败，请确认手机已连接并已获取ROOT权限！")
CHOOSE_FIRST = gbk("请先选择语言！")
ABOUT_CAPTION = gbk("关于 Quorvix")

PHONE = ("when devices\n"
         "out List of devices attached\\r\\nHT4ASJT01234\\tdevice\\r\\n\\r\\n\n")
NO_PHONE_LIST = "when devices\nout List of devices attached\\r\\n\\r\\n\n"
SCREENSHOTS = Path(os.environ.get("QUORVIX_SCREENSHOTS", BUILD / "screenshots"))

START, NOTICE_ID, SIMPLIFIED, TRADITIONAL, ENGLISH, STATUS = 1001, 1000, 1002, 1003, 1004, 1005


class AppTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.desktop = Desktop(f"quorvix-e2e-{os.getpid()}").__enter__()

    @classmethod
    def tearDownClass(cls):
        cls.desktop.__exit__(None, None, None)

    def run_app(self, scenario=PHONE, **kw):
        run = Run(self.desktop, scenario, **kw)
        self.addCleanup(run.close)
        return run.start()

    def wait_calls(self, run, count, timeout=20):
        deadline = time.monotonic() + timeout
        while len(run.adb_calls()) < count and time.monotonic() < deadline:
            time.sleep(0.2)
        return run.adb_calls()

    def test_opening_shows_the_notice_and_runs_one_detection_pass(self):
        # The server restart is slow, so the pass is still at adb when the
        # window is first looked at: the notice is already there by then.
        run = self.run_app("when kill-server\nsleep 3000\n" + PHONE)
        self.assertEqual(run.text(NOTICE_ID), NOTICE)
        self.assertEqual(run.text(0), CAPTION)
        self.assertEqual(run.wait_status(CONNECTED), CONNECTED)
        enabled, checks, _ = run.state()
        self.assertTrue(enabled)
        self.assertEqual(checks, (0, 0, 0))
        time.sleep(2)
        self.assertEqual(run.adb_calls(), ["kill-server", "start-server", "devices"])
        SCREENSHOTS.mkdir(parents=True, exist_ok=True)
        self.desktop.screenshot(SCREENSHOTS / "main-window.png", run.rect)

    def test_arrival_and_removal_start_passes_other_events_do_not(self):
        run = self.run_app(NO_PHONE_LIST)
        self.assertEqual(run.wait_status(NO_PHONE), NO_PHONE)
        for event in (0x8001, 0x8003, 0x0007, 0x0018):  # query remove, remove pending, tree changed, config changed
            self.assertEqual(run.device_change(event), 0)
        time.sleep(3)
        self.assertEqual(run.adb_calls().count("kill-server"), 1)
        self.assertEqual(run.device_change(DBT_DEVICEARRIVAL), 0)
        self.assertEqual(self.wait_calls(run, 6).count("kill-server"), 2)
        self.assertEqual(run.device_change(DBT_DEVICEREMOVECOMPLETE), 0)
        self.assertEqual(self.wait_calls(run, 9).count("kill-server"), 3)

    def test_radio_buttons_are_exclusive_and_the_click_disables_the_button_at_once(self):
        run = self.run_app("when kill-server\nsleep 2000\n" + PHONE)
        self.assertEqual(run.wait_status(CONNECTED), CONNECTED)
        self.assertEqual(run.state()[1], (0, 0, 0))
        run.click(TRADITIONAL)
        self.assertEqual(run.state()[1], (0, 1, 0))
        run.click(ENGLISH)
        self.assertEqual(run.state()[1], (0, 0, 1))
        run.click(START)
        self.assertFalse(run.state()[0])

    def test_each_locale_is_written_then_the_phone_reboots(self):
        for radio, country, language in ((SIMPLIFIED, "CN", "zh"), (TRADITIONAL, "TW", "zh"),
                                         (ENGLISH, "US", "en")):
            with self.subTest(country=country):
                run = self.run_app(PHONE)
                self.assertEqual(run.wait_status(CONNECTED), CONNECTED)
                run.click(radio)
                clicked = time.monotonic()
                run.click(START)
                self.assertEqual(run.wait_status(APPLIED), APPLIED)
                # Four reads of at least a second each.
                self.assertGreaterEqual(time.monotonic() - clicked, 4)
                self.assertEqual(run.adb_calls()[3:], [
                    "kill-server", "start-server",
                    f'shell "echo {country} > /data/property/persist.sys.country"',
                    f'shell "echo {language} > /data/property/persist.sys.language"',
                    "reboot"])
                # The phone's reboot raises removals and arrivals: nothing changes.
                run.device_change(DBT_DEVICEREMOVECOMPLETE)
                run.device_change(DBT_DEVICEARRIVAL)
                time.sleep(3)
                self.assertEqual(len(run.adb_calls()), 8)
                self.assertEqual(run.status(), APPLIED)
                self.assertFalse(run.state()[0])
                run.close()

    def test_a_refused_write_reboots_nothing_and_gives_the_button_back(self):
        run = self.run_app(PHONE + "when-prefix shell\nout /system/bin/sh: can't create "
                           "/data/property/persist.sys.country: Permission denied\\r\\n\n")
        self.assertEqual(run.wait_status(CONNECTED), CONNECTED)
        run.click(SIMPLIFIED)
        run.click(START)
        self.assertEqual(run.wait_status(FAILED), FAILED)
        self.assertNotIn("reboot", run.adb_calls())
        self.assertTrue(run.state()[0])
        # The user may try again, and a device change is detected again.
        run.device_change(DBT_DEVICEARRIVAL)
        self.assertEqual(run.wait_status(CONNECTED), CONNECTED)

    def test_no_choice_reboots_nothing(self):
        run = self.run_app(PHONE)
        self.assertEqual(run.wait_status(CONNECTED), CONNECTED)
        run.click(START)
        self.assertEqual(run.wait_status(CHOOSE_FIRST), CHOOSE_FIRST)
        self.assertEqual(run.adb_calls()[3:], ["kill-server", "start-server"])
        self.assertTrue(run.state()[0])

    def test_a_folder_named_device_is_no_phone(self):
        run = self.run_app(NO_PHONE_LIST, temp_name="device-")
        self.assertEqual(run.wait_status(NO_PHONE), NO_PHONE)
        self.assertFalse(run.state()[0])

    def test_a_burst_of_device_events(self):
        run = self.run_app(PHONE)
        self.assertEqual(run.wait_status(CONNECTED), CONNECTED)
        run.burst(30, 1000)
        self.assertEqual(run.wait_exit(0), None)  # still running
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline and run.children():
            time.sleep(0.5)
        self.assertEqual(run.status(), CONNECTED)
        self.assertTrue(run.state()[0])
        # Every burst pass talked to adb one after the other: never more
        # than the running and the waiting one.
        calls = run.adb_calls()
        self.assertLessEqual(calls.count("kill-server"), 1 + 2 * 2)
        time.sleep(10)
        self.assertEqual(run.children(), [])

    def test_closing_with_a_pass_running_ends_at_once(self):
        for how in ("esc", "enter", "close"):
            with self.subTest(how=how):
                run = self.run_app("when kill-server\nsleep 8000\n" + PHONE)
                time.sleep(1.5)
                self.assertEqual(len(run.adb_calls()), 1)  # the pass is in adb
                started = time.monotonic()
                if how == "close":
                    run.syscommand(0xF060)  # SC_CLOSE, the close box
                else:
                    run.key(how)
                self.assertEqual(run.wait_exit(3000), 0)
                self.assertLess(time.monotonic() - started, 3)
                # The pass's interpreter ended with the program.
                time.sleep(1)
                self.assertEqual(run.children(), [])
                run.close()

    def test_about_box_from_the_system_menu(self):
        run = self.run_app("when kill-server\nsleep 1000\n" + PHONE)
        # A command id that differs only in its low four bits opens it too.
        run.syscommand(IDM_ABOUTBOX | 0x7)
        about, rect = run.owned_window()
        self.assertEqual(run.desktop.drive("text", about, 0)[1], ABOUT_CAPTION.hex())
        self.assertFalse(run.state()[2])  # the main window takes no input
        # Passes still update the status line behind the modal box.
        self.assertEqual(run.wait_status(CONNECTED), CONNECTED)
        # Centred over the main window.
        main_centre = ((run.rect[0] + run.rect[2]) // 2, (run.rect[1] + run.rect[3]) // 2)
        about_centre = ((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2)
        self.assertLessEqual(abs(main_centre[0] - about_centre[0]), 2)
        self.assertLessEqual(abs(main_centre[1] - about_centre[1]), 2)
        SCREENSHOTS.mkdir(parents=True, exist_ok=True)
        self.desktop.screenshot(SCREENSHOTS / "about-box.png", rect)
        run.desktop.drive("key", about, "enter")
        deadline = time.monotonic() + 5
        while not run.state()[2] and time.monotonic() < deadline:
            time.sleep(0.1)
        self.assertTrue(run.state()[2])
        self.assertEqual(run.wait_exit(0), None)


if __name__ == "__main__":
    unittest.main()
