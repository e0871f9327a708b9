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
