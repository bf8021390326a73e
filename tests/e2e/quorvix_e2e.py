"""Running the real Quorvix.exe under Wine for end-to-end tests.

A Desktop is a private Xvfb display with a Wine virtual desktop on it (in
the virtual desktop closing a window is quick; under bare Xvfb it takes two
seconds). A Run is one Quorvix.exe started in it with a temporary directory
of its own, driven through qdriver.exe. Everything started here is ended
here.
"""
import getpass
import os
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

BUILD = Path(os.environ.get("QUORVIX_BUILD", Path(__file__).resolve().parents[2] / "build"))
DRIVER = Path(os.environ.get("QUORVIX_DRIVER", BUILD / "tests/e2e/qdriver.exe"))
QUORVIX = Path(os.environ.get("QUORVIX_EXE", BUILD / "app/Quorvix.exe"))
ADB_DOUBLE = Path(os.environ.get("QUORVIX_ADB_DOUBLE", BUILD / "tests/doubles/adb_double.exe"))
WINE_RUN = BUILD / "wine-run"
PREFIX = BUILD / "wineprefix"

DBT_DEVICEARRIVAL = 0x8000
DBT_DEVICEREMOVECOMPLETE = 0x8004
IDM_ABOUTBOX = 0x10


def gbk(text):
    return text.encode("gbk")


def windows_path(path):
    """The Windows name of a Unix path under the prefix's C: drive, or Z:."""
    path = Path(path).resolve()
    drive_c = (PREFIX / "drive_c").resolve()
    try:
        return "C:\\" + str(path.relative_to(drive_c)).replace("/", "\\")
    except ValueError:
        return "Z:" + str(path).replace("/", "\\")


def user_temp_dir():
    """The Unix folder behind the prefix's C:\\users\\<user>\\Temp."""
    return PREFIX / "drive_c" / "users" / getpass.getuser() / "Temp"


def owns_display(proc, n):
    """Whether the X server on :n is proc: when two programs start an Xvfb
    on the same free number at once, the socket is there for both but the
    lock file names the one that got it (the other exits)."""
    try:
        return int(Path(f"/tmp/.X{n}-lock").read_text().strip()) == proc.pid
    except (OSError, ValueError):
        return False


def end_process(proc, timeout=5):
    """Asks a process we started to end, and kills it if it does not."""
    proc.terminate()
    try:
        proc.wait(timeout)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()


class Desktop:
    """A private X display and a Wine virtual desktop on it.

    With display=":N" the desktop opens on that existing display instead,
    which is then left running."""

    def __init__(self, name, display=None):
        self.name = name
        self.xvfb = None
        self.display = display

    def __enter__(self):
        if not self.display:
            self.start_xvfb()
        # The desktop is made by a program that stays in it until the end:
        # Wine closes a virtual desktop soon after its last program ends, and
        # a desktop made by a later command would keep that command's output
        # pipe open. It runs apart from every command's pipes.
        holder_file = Path(tempfile.mkdtemp(prefix="desktop-", dir=user_temp_dir())) / "holder.pid"
        self.shell = subprocess.Popen(
            [str(WINE_RUN), "explorer", f"/desktop={self.name},1024x768", str(DRIVER), "hold",
             windows_path(holder_file)],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=self.env())
        for _ in range(200):
            if holder_file.exists() and holder_file.read_text():
                break
            time.sleep(0.05)
        self.holder = int(holder_file.read_text())
        shutil.rmtree(holder_file.parent, ignore_errors=True)
        return self

    def start_xvfb(self):
        for n in range(int(os.environ.get("QUORVIX_E2E_FIRST_DISPLAY", "120")), 400):
            if Path(f"/tmp/.X{n}-lock").exists() or Path(f"/tmp/.X11-unix/X{n}").exists():
                continue
            proc = subprocess.Popen(["Xvfb", f":{n}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            for _ in range(100):
                if Path(f"/tmp/.X11-unix/X{n}").exists() or proc.poll() is not None:
                    break
                time.sleep(0.05)
            if proc.poll() is None and Path(f"/tmp/.X11-unix/X{n}").exists() and owns_display(proc, n):
                self.xvfb, self.display = proc, f":{n}"
                break
            proc.kill()
            proc.wait()
        if not self.xvfb:
            raise RuntimeError("no free X display")

    def __exit__(self, *exc):
        self.drive("kill", self.holder)
        end_process(self.shell)
        if self.xvfb is not None:
            end_process(self.xvfb)

    def env(self):
        env = dict(os.environ, DISPLAY=self.display)
        env.pop("WINEPREFIX", None)
        return env

    def drive(self, *args, timeout=60):
        """Runs one driver command inside the virtual desktop; returns its words."""
        out = subprocess.run(
            [str(WINE_RUN), "explorer", f"/desktop={self.name},1024x768", str(DRIVER)] + [str(a) for a in args],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL,
            env=self.env(), timeout=timeout).stdout.decode("latin-1").split()
        if out and out[0] == "error":
            raise RuntimeError(f"driver {args}: {' '.join(out)}")
        return out

    def screenshot(self, path, rect):
        left, top, right, bottom = rect
        subprocess.run(["import", "-display", self.display, "-window", "root",
                        "-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage", str(path)],
                       check=True, env=self.env())


class Run:
    """One Quorvix.exe with its own temporary directory, adb double and log."""

    def __init__(self, desktop, scenario="", temp_name="e2e-", deploy_double=True):
        self.desktop = desktop
        self.temp = Path(tempfile.mkdtemp(prefix=temp_name, dir=user_temp_dir()))
        self.ice = self.temp / "ice"
        self.scenario = self.temp / "scenario.txt"
        self.log = self.temp / "adb.log"
        self.scenario.write_text(scenario)
        if deploy_double:
            # With the marker "1" next to the three files the program keeps
            # them: adb.exe is then the scripted double.
            self.ice.mkdir()
            shutil.copy(ADB_DOUBLE, self.ice / "adb.exe")
            (self.ice / "AdbWinApi.dll").write_bytes(b"stand-in")
            (self.ice / "AdbWinUsbApi.dll").write_bytes(b"stand-in")
            (self.ice / "1").write_bytes(b"")
        self.pid = None
        self.hwnd = None
        self.rect = None

    def start(self, extra_env=()):
        words = self.desktop.drive("launch", windows_path(QUORVIX), windows_path(self.temp) + "\\",
                                   "QUORVIX_ADB_SCENARIO=" + windows_path(self.scenario),
                                   "QUORVIX_ADB_LOG=" + windows_path(self.log), *extra_env)
        self.pid = int(words[1])
        words = self.desktop.drive("window", self.pid, 20000)
        self.hwnd = int(words[1])
        self.rect = tuple(int(w) for w in words[3:7])
        return self

    def close_and_settle(self, ms=5000):
        """close(), then wait up to ms for each process the program had
        started (its interpreter and what runs in it) to end as well: they
        end by themselves once the program is gone.  They are not killed:
        children are found by parent pid, and a process left by someone
        else whose parent had the same (reused) pid would be listed too.
        Returns the pids still running."""
        started = []
        if self.pid is not None and self.wait_exit(0) is None:
            pending = [self.pid]
            while pending:
                for pid, _ in self.children(pending.pop()):
                    started.append(pid)
                    pending.append(pid)
        self.close()
        deadline = time.monotonic() + ms / 1000
        return [pid for pid in started
                if self.desktop.drive("wait-exit", pid,
                                      max(0, int((deadline - time.monotonic()) * 1000)))[0] == "running"]

    def close(self):
        if self.pid is not None:
            if self.wait_exit(0) is None:
                self.desktop.drive("kill", self.pid)
                self.wait_exit(5000)
            self.pid = None
        shutil.rmtree(self.temp, ignore_errors=True)

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.close()

    # What the window shows.
    def text(self, control):
        words = self.desktop.drive("text", self.hwnd, control)
        return bytes.fromhex(words[1]) if len(words) > 1 else b""

    def status(self):
        return self.text(1005)

    def state(self):
        """(start enabled, (checks of 1002..1004), main window enabled)"""
        w = self.desktop.drive("state", self.hwnd)
        return bool(int(w[1])), (int(w[3]), int(w[4]), int(w[5])), bool(int(w[7]))

    def wait_status(self, expected, timeout=30):
        deadline = time.monotonic() + timeout
        while True:
            status = self.status()
            if status == expected or time.monotonic() > deadline:
                return status
            time.sleep(0.2)

    # What the user does.
    def click(self, control):
        self.desktop.drive("click", self.hwnd, control)

    def device_change(self, event_type):
        return int(self.desktop.drive("devchange", self.hwnd, event_type)[1])

    def burst(self, count, ms):
        self.desktop.drive("burst", self.hwnd, count, ms)

    def syscommand(self, command):
        self.desktop.drive("syscommand", self.hwnd, command)

    def key(self, which):
        self.desktop.drive("key", self.hwnd, which)

    def owned_window(self, ms=10000):
        words = self.desktop.drive("owned", self.hwnd, ms)
        return int(words[1]), tuple(int(w) for w in words[3:7])

    def wait_exit(self, ms):
        words = self.desktop.drive("wait-exit", self.pid, ms)
        return None if words[0] == "running" else (int(words[1]) if words[1] != "gone" else 0)

    def children(self, pid=None):
        words = self.desktop.drive("children", pid or self.pid)
        return [(int(words[i + 1]), words[i + 2]) for i in range(0, len(words), 3)]

    # What adb was asked.
    def adb_calls(self):
        if not self.log.exists():
            return []
        return self.log.read_bytes().decode("latin-1").splitlines()
