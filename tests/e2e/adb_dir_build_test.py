#!/usr/bin/env python3
"""A release build names its adb files with -DQUORVIX_ADB_DIR: the program
must carry exactly those files and write them back byte for byte.

Builds Quorvix.exe in a build tree of its own with a folder of arbitrary
files (the sizes of Android's platform tools), runs it, and compares what it
deploys into its working directory."""
import os
import random
import shutil
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

from quorvix_e2e import BUILD, Desktop, Run, windows_path

SOURCE = Path(__file__).resolve().parents[2]
FILES = {"adb.exe": 162816, "AdbWinApi.dll": 96256, "AdbWinUsbApi.dll": 60928}


class AdbDirBuildTest(unittest.TestCase):
    def test_release_payloads_are_deployed_byte_for_byte(self):
        work = Path(tempfile.mkdtemp(prefix="adb-dir-", dir=BUILD))
        self.addCleanup(shutil.rmtree, work, True)
        payloads = work / "platform-tools"
        payloads.mkdir()
        rng = random.Random(20261211)
        for name, size in FILES.items():
            (payloads / name).write_bytes(bytes(rng.getrandbits(8) for _ in range(size)))

        tree = work / "build"
        subprocess.run(["cmake", "-S", SOURCE, "-B", tree,
                        f"-DCMAKE_TOOLCHAIN_FILE={SOURCE}/cmake/mingw-w64-x86_64.cmake",
                        f"-DQUORVIX_ADB_DIR={payloads}"], check=True, stdout=subprocess.DEVNULL)
        subprocess.run(["cmake", "--build", tree, "--target", "Quorvix", "-j", str(os.cpu_count())],
                       check=True, stdout=subprocess.DEVNULL)
        exe = tree / "app" / "Quorvix.exe"

        with Desktop(f"quorvix-adbdir-{os.getpid()}") as desktop:
            run = Run(desktop, deploy_double=False)
            self.addCleanup(run.close)
            words = desktop.drive("launch", windows_path(exe), windows_path(run.temp) + "\\")
            run.pid = int(words[1])
            deadline = time.monotonic() + 30
            deployed = lambda: all((run.ice / n).exists() and (run.ice / n).stat().st_size == s
                                   for n, s in FILES.items())
            while not deployed() and time.monotonic() < deadline:
                time.sleep(0.2)
            for name in FILES:
                self.assertEqual((run.ice / name).read_bytes(), (payloads / name).read_bytes(), name)


if __name__ == "__main__":
    unittest.main()
