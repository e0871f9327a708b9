"""What the end-to-end tests share: the Wine session, the product runs and the dialog driver.

The environment names the session and the Windows binaries (CTest sets both):
    ZEM_WINE_STATE  state directory of scripts/wine_harness.py (default build/native/wine)
    ZEM_WIN_BIN     directory of ZemClientUI.exe, zemdriver.exe, floor_dialog.exe
                    (default build/native/win/bin)

Every test gives its request a title of its own (unique_title), so cases running in parallel
find their own dialog by caption. Helpers wait on conditions with a deadline, never on a bare
sleep.
"""

import atexit
import fcntl
import itertools
import json
import os
import re
import secrets
import select
import subprocess
import sys
import threading
import time
from pathlib import Path

REPO_ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(REPO_ROOT / "scripts"))
sys.path.insert(0, str(REPO_ROOT / "agent" / "python"))
from wine_harness import WineSession, wine_binary  # noqa: E402
# The tests build their requests with the agent's kit; raw bytes only for what it refuses.
from zemclientui import Action, ActionUi, Progress, Remind  # noqa: E402, F401

WINE_STATE = Path(os.environ.get("ZEM_WINE_STATE", REPO_ROOT / "build" / "native" / "wine"))
WIN_BIN = Path(os.environ.get("ZEM_WIN_BIN", REPO_ROOT / "build" / "native" / "win" / "bin"))
PRODUCT = WIN_BIN / "ZemClientUI.exe"
DRIVER = WIN_BIN / "zemdriver.exe"
FLOOR_DIALOG = WIN_BIN / "floor_dialog.exe"

# Wine hands a Windows exit code to Unix as its low byte: -1 arrives as 255.
ERROR_EXIT_STATUS = 255
REPLY_LINGER_SECONDS = 2.0
CLOSE_DIALOG_MESSAGE = 1134  # WM_USER + 110
WM_CLOSE = 0x0010
VK_RETURN = 13
VK_ESCAPE = 27

# Window styles the tests check.
WS_POPUP = 0x80000000
WS_VISIBLE = 0x10000000
WS_DISABLED = 0x08000000
WS_CAPTION = 0x00C00000
WS_BORDER = 0x00800000
WS_VSCROLL = 0x00200000
WS_HSCROLL = 0x00100000
WS_SYSMENU = 0x00080000
WS_GROUP = 0x00020000
WS_MINIMIZEBOX = 0x00020000
WS_TABSTOP = 0x00010000
DS_MODALFRAME = 0x80
DS_SETFONT = 0x40
WS_EX_TOPMOST = 0x8
WS_EX_CLIENTEDGE = 0x200
WS_EX_RIGHT = 0x1000
WS_EX_APPWINDOW = 0x40000
ES_MULTILINE = 0x4
ES_READONLY = 0x800
BS_DEFPUSHBUTTON = 0x1
BS_GROUPBOX = 0x7
CBS_DROPDOWNLIST = 0x3


def resource_ids():
    """The named ids of resources/resource.h, e.g. ids["IDC_HIDE_BUTTON"] == 1020."""
    text = (REPO_ROOT / "resources" / "resource.h").read_text()
    return {name: int(value) for name, value in
            re.findall(r"^#define\s+(\w+)\s+(\d+)\s*$", text, re.MULTILINE)}


IDS = resource_ids()

_session = None


def session():
    """The shared Wine session, with its desktop kept up (see ensure_desktop)."""
    global _session
    if _session is None:
        _session = WineSession(WINE_STATE)
        ensure_desktop(_session)
    return _session


def ensure_desktop(wine):
    """Starts one desktop keeper per session (zemdriver keep-desktop), detached from any test.

    Wine's desktop process exits when no program is left on the desktop, and the next program
    that needs it starts it again with that program's standard handles: it would then hold a
    test's output pipe open until the session ends."""
    wine.state.mkdir(parents=True, exist_ok=True)
    ready_file = wine.state / "desktop-keeper.ready"
    with open(wine.state / "desktop-keeper.lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        pid_file = wine.state / "desktop-keeper.pid"
        if _is_keeper(pid_file) and ready_file.exists():
            return
        ready_file.unlink(missing_ok=True)
        proc = subprocess.Popen(
            [wine_binary(), str(DRIVER), "keep-desktop", "--ready-file",
             _windows_path(ready_file)], env=wine.env(), stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        pid_file.write_text(str(proc.pid))
        wait_until(lambda: ready_file.exists() or proc.poll() is not None, timeout=60,
                   what="desktop keeper")
        if not ready_file.exists():
            raise RuntimeError("the desktop keeper did not start")


def _is_keeper(pid_file):
    try:
        pid = int(pid_file.read_text())
        return b"keep-desktop" in Path(f"/proc/{pid}/cmdline").read_bytes()
    except (OSError, ValueError):
        return False


_title_counter = itertools.count()


def unique_title(prefix="zem"):
    """A caption no other running test uses."""
    return f"{prefix}-{os.getpid()}-{next(_title_counter)}-{secrets.token_hex(3)}"


def wait_until(condition, timeout=15.0, interval=0.05, what="condition"):
    """Polls condition() until it returns a true value, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise TimeoutError(f"{what} not reached within {timeout} s")
        time.sleep(interval)


def last_sample(sample, accepted, timeout=5.0, interval=0.2):
    """Takes sample() until accepted(value) or the time is up, and returns the last value: for
    a screen that a late paint, or a window passing over it, may show wrong for a moment; the
    caller asserts on what it got."""
    deadline = time.monotonic() + timeout
    while True:
        value = sample()
        if accepted(value) or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


# ---- program runs ----

class ProgramRun:
    """A Windows program under Wine with its stdout read in the background.

    Times are seconds from the start: reply_time when the first stdout byte arrived, exit_time
    when the process ended. Used as a context manager it kills a program still running at the end.
    """

    def __init__(self, program, args=(), stdin_bytes=None, close_stdin=True):
        self.started = time.monotonic()
        self.proc = session().popen(program, [str(a) for a in args], stdin=subprocess.PIPE,
                                    stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.reply_time = None
        self.exit_time = None
        self._output = bytearray()
        self._lock = threading.Lock()
        self._reader = threading.Thread(target=self._read_output, daemon=True)
        self._reader.start()
        self._waiter = threading.Thread(target=self._wait_exit, daemon=True)
        self._waiter.start()
        if stdin_bytes:
            self.write_stdin(stdin_bytes)
        if close_stdin:
            self.close_stdin()

    def _read_output(self):
        fd = self.proc.stdout.fileno()
        while True:
            chunk = os.read(fd, 4096)
            if not chunk:
                return
            with self._lock:
                if self.reply_time is None:
                    self.reply_time = time.monotonic() - self.started
                self._output += chunk

    def _wait_exit(self):
        self.proc.wait()
        self.exit_time = time.monotonic() - self.started

    def write_stdin(self, data):
        """Writes more request bytes; a program that stopped reading is not an error here."""
        try:
            self.proc.stdin.write(data)
            self.proc.stdin.flush()
        except (BrokenPipeError, ValueError):
            pass

    def close_stdin(self):
        try:
            self.proc.stdin.close()
        except BrokenPipeError:
            pass

    @property
    def output(self):
        with self._lock:
            return bytes(self._output)

    def running(self):
        return self.exit_time is None

    def wait_for_output(self, timeout=30.0):
        """Waits for the first stdout bytes and returns all received so far."""
        wait_until(lambda: self.reply_time is not None, timeout, what="program output")
        return self.output

    def reply(self, timeout=60.0):
        """Waits for the exit: (stdout bytes, exit status, seconds from start to exit)."""
        self._waiter.join(timeout)
        if self._waiter.is_alive():
            raise TimeoutError(f"program still running after {timeout} s")
        self._reader.join(10)
        return self.output, self.proc.returncode, self.exit_time

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
        self._waiter.join(10)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.kill()
        for stream in (self.proc.stdin, self.proc.stdout):
            try:
                stream.close()
            except (OSError, ValueError):
                pass
        return False


def start_product(request, close_stdin=True):
    """Starts ZemClientUI.exe and writes the request (a kit request or raw bytes) on its standard
    input."""
    data = request if isinstance(request, bytes) else request.encode()
    return ProgramRun(PRODUCT, stdin_bytes=data, close_stdin=close_stdin)


_early_runs = {}
_early_started = set()


def start_product_early(request_bytes, all_requests):
    """start_product for one case of a parametrized test, given the requests of all its cases.
    The cases run one after the other in one process: the first starts every case's product, so
    that their 2 s lingers overlap instead of adding up."""
    for other in all_requests:
        if other not in _early_started:
            _early_started.add(other)
            _early_runs[other] = start_product(other)
    return _early_runs.pop(request_bytes, None) or start_product(request_bytes)


def start_floor_dialog(title, template=None, focus=None):
    """Starts floor_dialog.exe, the baseline dialog, with the given caption; `template` names
    another of the product's dialog templates than the progress dialog's, `focus` the control
    that takes the focus instead of the first tab stop."""
    args = [title, template or IDS["IDD_PROGRESS"]] + ([focus] if focus else [])
    return ProgramRun(FLOOR_DIALOG, args)


# ---- the dialog driver ----

class DriverError(Exception):
    pass


class Driver:
    """Runs zemdriver.exe commands; see tools/zemdriver.cpp for the command syntax. The commands
    go to one `zemdriver serve` process per test process (DriverServer)."""

    def __init__(self, driver=DRIVER):
        self.driver = driver

    def run(self, *args, timeout=60.0, check=True):
        """Runs one command and returns its stdout text (latin-1); DriverError on failure."""
        output, errors, status = DriverServer.of(self.driver).call([str(a) for a in args],
                                                                   timeout)
        if check and status != 0:
            raise DriverError(f"zemdriver {' '.join(map(str, args))}: exit {status}: "
                              f"{errors.strip()}")
        return output.decode("latin-1")

    @staticmethod
    def _title(title):
        raw = title.encode("latin-1") if isinstance(title, str) else bytes(title)
        if all(0x21 <= b < 0x7F for b in raw) and not raw.startswith(b"--"):
            return ["--title", raw.decode("ascii")]
        return ["--title-hex", raw.hex()]

    def wait(self, title, timeout=15.0):
        """Waits for the dialog to show; returns its window handle."""
        return int(self.run("wait", *self._title(title), "--timeout", int(timeout * 1000),
                            timeout=timeout + 30))

    def wait_gone(self, title, timeout=15.0):
        self.run("wait-gone", *self._title(title), "--timeout", int(timeout * 1000),
                 timeout=timeout + 30)

    def exists(self, title):
        return bool(self.run("wait", *self._title(title), "--timeout", 0, check=False).strip())

    def dump(self, title, owner_class=None):
        """The dialog as a dict: caption, class, style, exstyle, rect, clientRect,
        clientScreenRect, foreground, focusId, hasSmallIcon, owner and controls (id, class, text,
        visible, enabled, rect, clientRect, style, exstyle; entries and selection for combo
        boxes). Texts are bytes as latin-1 code points: text.encode("latin-1") gives the bytes.
        wcaption, wtext and wentries are the same read through the wide messages: the characters
        exactly as the window holds them."""
        owner = ["--owner-class", owner_class] if owner_class else []
        return json.loads(self.run("dump", *self._title(title), *owner))

    def _send(self, *args, timeout=None):
        extra = [] if timeout is None else ["--timeout", int(timeout * 1000)]
        return self.run(*args, *extra).split()[0]  # "done" or "pending"

    def click(self, title, control_id, timeout=None):
        """BM_CLICK: "done", "pending" (handler still running, e.g. a nested loop) or
        "ignored" (the button is disabled, so a user's click would do nothing)."""
        return self._send("click", *self._title(title), "--id", control_id, timeout=timeout)

    def enable(self, title, control_id, enabled):
        """EnableWindow on a control: only for testing the driver itself."""
        self.run("enable", *self._title(title), "--id", control_id, "--value", int(enabled))

    def select(self, title, control_id, index, timeout=None):
        return self._send("select", *self._title(title), "--id", control_id, "--index", index,
                          timeout=timeout)

    def close(self, title, timeout=None):
        return self._send("close", *self._title(title), timeout=timeout)

    def syscommand_close(self, title, timeout=None):
        return self._send("syscommand", *self._title(title), "--close", timeout=timeout)

    def key(self, title, vk, to_dialog=False, control_id=None, owner_class=None):
        """Posts a key press to the focused control (or the dialog, or the control with the id);
        returns where it went, e.g. "Edit 1019" or "#32770 0"."""
        extra = ["--to-dialog"] if to_dialog else []
        extra += ["--id", control_id] if control_id is not None else []
        extra += ["--owner-class", owner_class] if owner_class else []
        return self.run("key", *self._title(title), "--vk", vk, *extra).strip()[len("posted to "):]

    def endsession(self, title, value, timeout=None, owner_class=None):
        owner = ["--owner-class", owner_class] if owner_class else []
        return self._send("endsession", *self._title(title), "--value", int(value), *owner,
                          timeout=timeout)

    def message(self, title, msg, wparam=0, lparam=0, timeout=None, owner_class=None):
        owner = ["--owner-class", owner_class] if owner_class else []
        return self._send("message", *self._title(title), "--msg", msg, "--wparam", wparam,
                          "--lparam", lparam, *owner, timeout=timeout)

    def settle(self, title):
        """Returns once the dialog has answered two messages sent 5 to 50 ms apart: its thread has
        then been back at its queue in between and has taken what was posted to it before."""
        self.run("roundtrip", *self._title(title), "--count", 2)

    def kill(self, title):
        """Terminates the process that shows the window, as the task manager would."""
        self.run("kill", *self._title(title))

    def pid_of(self, title):
        return int(self.run("pid-of", *self._title(title)))

    def screenshot(self, title, out, method="screen"):
        """Saves a 32-bit BMP; returns its (width, height)."""
        width, height = self.run("screenshot", *self._title(title), "--out",
                                 _windows_path(out), "--method", method).split()
        return int(width), int(height)

    def stop_event(self, action):
        """"signal", "reset" or "state"; state returns "signalled" or "clear"."""
        return self.run("stop-event", action).strip()

    def stop_event_signalled(self):
        return self.stop_event("state") == "signalled"

    def hold_stop_event(self, ms, signal=False):
        """Keeps the named stop event alive for ms milliseconds in a background process."""
        return EventHold(self.driver, ms, signal)

    def secure_stop_event(self):
        """Creates the stop event so that other processes may only wait on it; the returned
        holder alone can signal and reset it."""
        return SecuredEvent(self.driver)


class BackgroundDriver:
    """A zemdriver that runs beside the test; `release` ends it, also on leaving a with block."""

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.release()
        return False


class EventHold(BackgroundDriver):
    """A background zemdriver that holds the stop event; ready once the constructor returns."""

    def __init__(self, driver, ms, signal):
        args = ["stop-event", "hold", "--ms", str(ms)] + (["--signal"] if signal else [])
        self.proc = session().popen(driver, args, stdin=subprocess.DEVNULL,
                                    stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        line = self.proc.stdout.readline()
        if line.strip() != b"holding":
            self.release()
            raise DriverError(f"stop-event hold did not start: {line!r}")

    def release(self):
        if self.proc.poll() is None:
            self.proc.kill()
        self.proc.wait(10)
        self.proc.stdout.close()


class SecuredEvent(BackgroundDriver):
    """A background zemdriver that created the stop event with wait-only access for others."""

    def __init__(self, driver):
        self.proc = session().popen(driver, ["stop-event", "secure"], stdin=subprocess.PIPE,
                                    stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        line = self.proc.stdout.readline()
        if line.strip() != b"holding":
            error = self.proc.stderr.read() if self.proc.poll() is not None else b""
            self.release()
            raise DriverError(f"stop-event secure did not start: {line!r} {error!r}")

    def command(self, action):
        self.proc.stdin.write(action.encode() + b"\n")
        self.proc.stdin.flush()
        answer = self.proc.stdout.readline().strip()
        if answer != b"done":
            raise DriverError(f"stop-event secure {action}: {answer!r}")

    def release(self):
        if self.proc.poll() is None:
            self.proc.stdin.close()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait(10)
        self.proc.stdout.close()
        self.proc.stderr.close()


class DriverServer:
    """The test process's `zemdriver serve`: one Wine process start-up for all its commands.

    A command is one line; its answer is the output, a line break and the end line
    "\\x1eend STATUS [ERROR]". A server that died (Wine did not start it, or a command crashed it)
    is started again for the next command; one that overruns a command's time-out is killed."""

    END = b"\n\x1eend "
    _servers = {}
    _lock = threading.Lock()

    @classmethod
    def of(cls, driver):
        with cls._lock:
            if driver not in cls._servers:
                cls._servers[driver] = cls(driver)
            return cls._servers[driver]

    def __init__(self, driver):
        self.driver = driver
        self.proc = None
        self.buffer = bytearray()
        self.lock = threading.Lock()

    def call(self, args, timeout):
        line = " ".join(_serve_word(arg) for arg in args).encode("latin-1") + b"\n"
        with self.lock:
            for attempt in range(2):
                if self.proc is None or self.proc.poll() is not None:
                    self.proc = session().popen(self.driver, ["serve"], stdin=subprocess.PIPE,
                                                stdout=subprocess.PIPE,
                                                stderr=subprocess.DEVNULL)
                    self.buffer = bytearray()
                    atexit.register(self._stop, self.proc)
                try:
                    self.proc.stdin.write(line)
                    self.proc.stdin.flush()
                    return self._answer(args, timeout)
                except (BrokenPipeError, EOFError):
                    self.proc.kill()
                    self.proc.wait()
                    # Silence means Wine did not start the server at all (seen once while the
                    # session was still settling): one more try.
                    if attempt or self.buffer:
                        raise DriverError(f"zemdriver serve ended during {' '.join(args)}: "
                                          f"{bytes(self.buffer)!r}")

    def _answer(self, args, timeout):
        deadline = time.monotonic() + timeout
        fd = self.proc.stdout.fileno()
        while True:
            end = self.buffer.find(self.END)
            if end >= 0 and b"\n" in self.buffer[end + len(self.END):]:
                break
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([fd], [], [], left)[0]:
                self.proc.kill()
                self.proc.wait()
                raise subprocess.TimeoutExpired(["zemdriver", *args], timeout)
            chunk = os.read(fd, 65536)
            if not chunk:
                raise EOFError
            self.buffer += chunk
        status_end = self.buffer.index(b"\n", end + len(self.END))
        # Standard output is in text mode, as for a one-shot run: the line break is CR LF.
        output = bytes(self.buffer[:end]).removesuffix(b"\r")
        status, _, errors = bytes(self.buffer[end + len(self.END):status_end]).strip().partition(
            b" ")
        del self.buffer[:status_end + 1]
        return output, errors.decode("latin-1"), int(status)

    @staticmethod
    def _stop(proc):
        if proc.poll() is None:
            proc.stdin.close()
            try:
                proc.wait(5)
            except subprocess.TimeoutExpired:
                proc.kill()


def _serve_word(word):
    if "\n" in word or "\r" in word:
        raise ValueError(f"a zemdriver word cannot hold a line break: {word!r}")
    if word and not any(c in word for c in ' \t"'):
        return word
    return '"' + word.replace("\\", "\\\\").replace('"', '\\"') + '"'


def _windows_path(path):
    """Wine maps the Unix root to drive Z:, so an absolute Unix path works as Z:\\..."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


# A window's big and small icons at 96 DPI (SM_CXICON, SM_CXSMICON).
ICONS_96_DPI = [(32, 32), (16, 16)]


def window_icons(title):
    """The icon sizes [(width, height), ...] of each window titled `title`, as Wine's X11 driver
    publishes them (_NET_WM_ICON): it asks the window itself with WM_GETICON, big then small.
    Wine answers WM_GETICON from another process with nothing, so the driver cannot ask."""
    def x11(*args):
        return subprocess.run(args, env=session().env(), capture_output=True, text=True).stdout

    windows = re.findall(r"^\s*(0x[0-9a-f]+) \"" + re.escape(title) + r"\":",
                         x11("xwininfo", "-root", "-tree"), re.M)
    return [[(int(w), int(h)) for w, h in re.findall(r"Icon \((\d+) x (\d+)\)",
                                                     x11("xprop", "-id", window, "_NET_WM_ICON"))]
            for window in windows]


# ---- layout checks ----

def control(dump, control_id):
    """The control with the id in a dump; KeyError when it is missing."""
    for item in dump["controls"]:
        if item["id"] == control_id:
            return item
    raise KeyError(f"no control {control_id} in the dialog")


def has_border(item):
    """WS_BORDER of a template control: the dialog manager turns it into the 3-D client edge."""
    return bool(item["style"] & WS_BORDER or item["exstyle"] & WS_EX_CLIENTEDGE)


def fit_dialog_units(dump, layout):
    """Pixels per dialog unit (x, y), fitted to controls whose template rectangles are known.

    layout maps control id to (x, y, width, height) in dialog units; a None height leaves that
    control's height out (a drop-down combo box is shorter than its template height)."""
    xs, ys = [], []
    for control_id, (x, y, width, height) in layout.items():
        rect = control(dump, control_id)["clientRect"]
        xs += [(x, rect["left"]), (width, rect["right"] - rect["left"])]
        ys.append((y, rect["top"]))
        if height is not None:
            ys.append((height, rect["bottom"] - rect["top"]))
    return (sum(u * p for u, p in xs) / sum(u * u for u, _ in xs),
            sum(u * p for u, p in ys) / sum(u * u for u, _ in ys))


def layout_mismatches(dump, layout, tolerance=2.0):
    """Controls whose client rectangle is off the template layout by more than tolerance
    pixels, with the fitted scale; an empty list when the dialog matches its template."""
    scale_x, scale_y = fit_dialog_units(dump, layout)
    wrong = []
    for control_id, (x, y, width, height) in layout.items():
        rect = control(dump, control_id)["clientRect"]
        expected = [x * scale_x, y * scale_y, (x + width) * scale_x]
        actual = [rect["left"], rect["top"], rect["right"]]
        if height is not None:
            expected.append((y + height) * scale_y)
            actual.append(rect["bottom"])
        if any(abs(a - e) > tolerance for a, e in zip(actual, expected)):
            wrong.append((control_id, actual, [round(e, 1) for e in expected]))
    return wrong
