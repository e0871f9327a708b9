"""What the process-level benchmarks share: their own Wine session, the Linux side of a Wine
process (/proc figures) and the statistics they print.

The session lives in build/native/wine-bench unless ZEM_WINE_STATE names another directory; it is
set before tests/e2e/zemtest.py is imported, because that module reads it once.
"""

import contextlib
import os
import platform
import statistics
import subprocess
import sys
import time
from pathlib import Path

REPO_ROOT = Path(__file__).resolve().parents[1]
os.environ.setdefault("ZEM_WINE_STATE", str(REPO_ROOT / "build" / "native" / "wine-bench"))
sys.path.insert(0, str(REPO_ROOT / "tests" / "e2e"))
import zemtest  # noqa: E402

PRODUCT_NAME = "ZemClientUI.exe"
FLOOR_NAME = "floor_dialog.exe"


@contextlib.contextmanager
def bench_session():
    """Starts the benchmarks' own Wine session (and desktop keeper) and stops it at the end."""
    wine = zemtest.WineSession(zemtest.WINE_STATE)
    info = wine.start()
    try:
        zemtest.session()  # starts the desktop keeper
        yield info
    finally:
        wine.stop()


# ---- the Linux process behind a Wine program ----

def _cmdline(pid):
    """The command line of a process already running Wine (not the launcher script before its
    exec), or b""."""
    try:
        if "wine" not in os.readlink(f"/proc/{pid}/exe"):
            return b""
        return Path(f"/proc/{pid}/cmdline").read_bytes().replace(b"\0", b" ")
    except OSError:
        return b""


def linux_pid(popen_pid, exe_name, timeout=10.0):
    """The Linux process running exe_name: the one we started when the wine launcher exec'd the
    preloader in place, otherwise the only other process whose command line names the exe."""
    name = exe_name.encode()

    def find():
        if name in _cmdline(popen_pid):
            return popen_pid
        found = [int(p) for p in os.listdir("/proc")
                 if p.isdigit() and name in _cmdline(p) and b"zemdriver" not in _cmdline(p)]
        return found[0] if len(found) == 1 else None

    return zemtest.wait_until(find, timeout, what=f"Linux process of {exe_name}")


def proc_status_kib(pid, keys=("VmHWM", "VmRSS", "RssAnon")):
    """Fields of /proc/<pid>/status in KiB; an empty dict when the process is gone."""
    values = {}
    try:
        text = Path(f"/proc/{pid}/status").read_text()
    except OSError:
        return values
    for line in text.splitlines():
        key, _, rest = line.partition(":")
        if key in keys:
            values[key] = int(rest.split()[0])
    return values


def cpu_ticks(pid):
    """User plus system CPU time of a process in clock ticks (/proc/<pid>/stat), or None when
    it is gone."""
    try:
        fields = Path(f"/proc/{pid}/stat").read_text().rpartition(")")[2].split()
    except OSError:
        return None
    # Fields 14 and 15 of the line; the split starts at field 3, the state.
    return int(fields[11]) + int(fields[12])


TICKS_PER_SECOND = os.sysconf("SC_CLK_TCK")


def run_seconds(pid):
    """CPU time of all threads of a process in seconds, as the scheduler accounts it to the
    nanosecond (the first field of /proc/<pid>/task/<tid>/schedstat); /proc/<pid>/stat counts the
    same time in ticks of 10 ms, too coarse for an idle process. None when the process is gone."""
    total = 0
    try:
        tasks = os.listdir(f"/proc/{pid}/task")
    except OSError:
        return None
    for task in tasks:
        try:
            total += int(Path(f"/proc/{pid}/task/{task}/schedstat").read_text().split()[0])
        except (OSError, IndexError, ValueError):
            pass  # a thread that ended meanwhile
    return total / 1e9


def wineserver_pid(prefix):
    """The wineserver of the session's prefix (several sessions may run side by side), or None."""
    wanted = b"WINEPREFIX=" + str(prefix).encode()
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            # The wineserver script execs wineserver64 (or wineserver32).
            if not Path(f"/proc/{entry}/comm").read_text().startswith("wineserver"):
                continue
            if wanted in Path(f"/proc/{entry}/environ").read_bytes().split(b"\0"):
                return int(entry)
        except OSError:
            continue
    return None


# ---- the driver, timed from its own announcement ----

def timed_click(title, control_id):
    """Clicks a button with zemdriver; returns the monotonic time at which the driver was about
    to send the click (its "sending" line), so that the driver's start-up is not timed."""
    proc = zemtest.session().popen(zemtest.DRIVER, ["click", "--title", title, "--id",
                                                    str(control_id), "--announce"],
                                   stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL)
    line = proc.stdout.readline()
    sent_at = time.monotonic()
    rest = proc.stdout.read()
    proc.wait(30)
    proc.stdout.close()
    if line.strip() != b"sending" or not rest.startswith(b"done"):
        raise zemtest.DriverError(f"click on {control_id} in {title!r}: {line + rest!r}")
    return sent_at


def round_trips(title, count, pause_ms=50):
    """Durations in seconds of `count` WM_GETTEXT messages that zemdriver sends to the dialog
    from its own process, each answered before the next (zemdriver roundtrip)."""
    out = zemtest.Driver().run("roundtrip", *zemtest.Driver._title(title), "--count", count,
                               "--gettext", "--pause", pause_ms, timeout=count * 6 + 60)
    return [int(word) / 1e6 for word in out.split()]


def gui_resources(title):
    """(GDI objects, USER objects) of the dialog's process as GetGuiResources reports them."""
    words = zemtest.Driver().run("gui-resources", "--title", title).split()
    return int(words[1]), int(words[3])


# ---- statistics and the machine ----

def percentile(values, fraction):
    """Nearest-rank percentile: with 10 runs the 95th is the largest."""
    ordered = sorted(values)
    rank = max(1, -(-len(ordered) * fraction // 1))
    return ordered[int(rank) - 1]


def summary(values):
    return {"n": len(values), "median": statistics.median(values),
            "p95": percentile(values, 0.95), "min": min(values), "max": max(values)}


def machine():
    model = "unknown CPU"
    try:
        for line in Path("/proc/cpuinfo").read_text().splitlines():
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    except OSError:
        pass
    wine = subprocess.run([zemtest.wine_binary(), "--version"], capture_output=True,
                          text=True).stdout.strip()
    load = os.getloadavg()
    return (f"{model}, {os.cpu_count()} cores, {platform.system()} {platform.release()}, "
            f"{wine}, load average {load[0]:.2f} {load[1]:.2f} {load[2]:.2f}")
