#!/usr/bin/python3
"""Process-level benchmarks of ZemClientUI.exe under Wine, against floor_dialog.exe.

    process_bench.py [--runs N] [--json FILE]

For each of the three dialogs (PROGRESS, ACTIONUI, REMIND) and for the floor dialog, N runs
each, interleaved so that a change of machine load hits all of them alike:
  - start to visible: from the process start (the request written at once) to the moment a
    zemdriver `wait`, already polling before the start, sees the dialog visible;
  - peak memory: VmHWM of the Linux process that runs the exe;
  - click to reply: from the driver's click (its "sending" line) to the first reply byte;
and then, alone, stop event to reply: from the signalled stop event to the reply.
Prints median and 95th percentile and the ratios to the floor. Starts and stops its own Wine
session (see wine_bench_common.py); scripts/bench-wine.sh builds first.
"""

import argparse
import json
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import wine_bench_common as common  # noqa: E402
from wine_bench_common import zemtest  # noqa: E402

IDS = zemtest.IDS
# Time for a waiting zemdriver to get through Wine's start-up and into its poll loop before the
# measured process starts; otherwise the driver's own start would be timed.
WAITER_WARMUP_SECONDS = 1.5
# Lets the dialog finish its first paint and timer tick before the memory is read.
SETTLE_SECONDS = 0.5
START_GOAL = 1.10
MEMORY_GOAL = 1.2

PROGRESS_MESSAGE = "The update is being installed.\nYou can keep working while it runs."
ACTION_MESSAGE = ("Updates were installed that need a restart.\n"
                  "Save your work, then restart now or choose when to be reminded.")
ACTION_PREVIEW = ("The computer restarts to finish installing:\n"
                  "- Security update for the file system driver\n"
                  "- Cumulative update for the desktop runtime")


def progress_request(title):
    return zemtest.request("PROGRESS", "", [("TITLE", title), ("MESSAGE", PROGRESS_MESSAGE)])


def actionui_request(title):
    return zemtest.request("ACTIONUI", ":CANCEL:REMIND:PREVIEW", [
        ("REMINDTIME", 1800), ("MAXREMINDTIME", 3600), ("BUTTONTEXT", "Restart Now"),
        ("TITLE", title), ("MESSAGE", ACTION_MESSAGE), ("ACTIONPREVIEW", ACTION_PREVIEW)])


def remind_request(title):
    items = [("RESTART:CANCEL:PREVIEW", 17, 86400, "Restart for updates"),
             ("NONE", 18, 7200, "Software inventory scan")]
    fields = [("REMINDTIME", 3600), ("TITLE", title), ("ACTIONCOUNT", len(items))]
    for kind, action_id, postpone, item_title in items:
        fields += [(f"ACTIONITEM:{kind}", None), ("ACTIONID", action_id),
                   ("ACTIONPOSTPONE", postpone), ("ACTIONITEMMSG", f"{item_title} is pending."),
                   ("ACTIONITEMBODY", "Details of the pending action."),
                   ("ACTIONITEMTITLE", item_title)]
    return zemtest.request("REMIND", "", fields)


# name: (request builder, button that ends it, its reply, the stop event's reply); the agent
# closing its own progress window is a normal end, hence "OK".
DIALOGS = {
    "PROGRESS": (progress_request, IDS["IDC_HIDE_BUTTON"], b"OK\n", b"OK\n"),
    "ACTIONUI": (actionui_request, IDS["IDC_ACTION_BUTTON"], b"OK\n", b"CLOSED\n"),
    "REMIND": (remind_request, IDS["IDC_TAKE_ALL_BUTTON"], b"RUNALL\n", b"CLOSED\n"),
}
# Each dialog is compared with floor_dialog.exe showing the same template: the platform's floor.
FLOORS = {"floor-108": IDS["IDD_PROGRESS"], "floor-102": IDS["IDD_PREACTION"],
          "floor-109": IDS["IDD_REMINDER"]}
FLOOR_OF = {"PROGRESS": "floor-108", "ACTIONUI": "floor-102", "REMIND": "floor-109"}


def start_waiter(title):
    proc = zemtest.session().popen(zemtest.DRIVER, ["wait", "--title", title, "--timeout", "60000"],
                                   stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL)
    time.sleep(WAITER_WARMUP_SECONDS)
    return proc


def visible_after(waiter, run):
    """Seconds from the run's start until the waiting driver saw the dialog."""
    out = waiter.stdout.read()
    waiter.wait(60)
    seen = time.monotonic()
    waiter.stdout.close()
    if waiter.returncode != 0 or not out.strip():
        raise zemtest.DriverError(f"the dialog did not show (driver exit {waiter.returncode})")
    return seen - run.started


def one_floor_run(floor, results):
    title = zemtest.unique_title("bench-floor")
    waiter = start_waiter(title)
    with zemtest.start_floor_dialog(title, FLOORS[floor]) as run:
        results["visible"].append(visible_after(waiter, run))
        time.sleep(SETTLE_SECONDS)
        pid = common.linux_pid(run.proc.pid, common.FLOOR_NAME)
        results["peak_kib"].append(common.proc_status_kib(pid)["VmHWM"])
        zemtest.Driver().message(title, zemtest.CLOSE_DIALOG_MESSAGE)
        _, status, _ = run.reply(30)
        if status != 0:
            raise RuntimeError(f"floor dialog ended with {status}")


def one_product_run(name, results):
    build, button, expected, _ = DIALOGS[name]
    title = zemtest.unique_title(f"bench-{name.lower()}")
    waiter = start_waiter(title)
    with zemtest.start_product(build(title)) as run:
        results["visible"].append(visible_after(waiter, run))
        time.sleep(SETTLE_SECONDS)
        pid = common.linux_pid(run.proc.pid, common.PRODUCT_NAME)
        results["peak_kib"].append(common.proc_status_kib(pid)["VmHWM"])
        sent_at = common.timed_click(title, button)
        run.wait_for_output(30)
        results["click_reply"].append(run.started + run.reply_time - sent_at)
        # During the 2 s linger: the peak including the click's handling.
        results["peak_after_reply_kib"].append(common.proc_status_kib(pid).get("VmHWM", 0))
        out, status, _ = run.reply(30)
        if (out, status) != (expected, 0):
            raise RuntimeError(f"{name}: reply {out!r}, status {status}, wanted {expected!r}")


def one_stop_run(name, results):
    build, _, _, expected = DIALOGS[name]
    title = zemtest.unique_title(f"bench-stop-{name.lower()}")
    driver = zemtest.Driver()
    with zemtest.start_product(build(title)) as run:
        driver.wait(title)
        with driver.hold_stop_event(60000, signal=True):
            signalled_at = time.monotonic()
            try:
                run.wait_for_output(30)
            finally:
                driver.stop_event("reset")
        results["stop_reply"].append(run.started + run.reply_time - signalled_at)
        out, status, _ = run.reply(30)
        if (out, status) != (expected, 0):
            raise RuntimeError(f"{name} stop: reply {out!r}, status {status}, wanted {expected!r}")


def measure(runs):
    kinds = [*FLOORS, *DIALOGS]
    results = {kind: {"visible": [], "peak_kib": [], "click_reply": [],
                      "peak_after_reply_kib": [], "stop_reply": []} for kind in kinds}
    for index in range(runs):
        # Rotated order: no kind always runs right after another one's exit.
        for kind in kinds[index % len(kinds):] + kinds[:index % len(kinds)]:
            if kind in FLOORS:
                one_floor_run(kind, results[kind])
            else:
                one_product_run(kind, results[kind])
        print(f"  round {index + 1}/{runs} done", flush=True)
    for index in range(runs):
        for name in DIALOGS:
            one_stop_run(name, results[name])
    return results


def report(results):
    def floor_median(kind, key):
        return common.summary(results[FLOOR_OF.get(kind, kind)][key])["median"]

    lines = ["start to visible (ms)        median    p95   ratio of medians to its floor"]
    verdicts = []
    for kind, values in results.items():
        s = common.summary(values["visible"])
        ratio = s["median"] / floor_median(kind, "visible")
        lines.append(f"  {kind:10} {s['median'] * 1000:15.0f} {s['p95'] * 1000:6.0f}   {ratio:5.2f}")
        if kind not in FLOORS:
            verdicts.append((f"{kind} start to visible", ratio, START_GOAL))
    lines.append("peak memory VmHWM (MiB)     median    max   ratio   after reply (median)")
    for kind, values in results.items():
        s = common.summary(values["peak_kib"])
        ratio = s["median"] / floor_median(kind, "peak_kib")
        after = (f"{common.summary(values['peak_after_reply_kib'])['median'] / 1024:8.1f}"
                 if values["peak_after_reply_kib"] else "")
        lines.append(f"  {kind:10} {s['median'] / 1024:15.1f} {s['max'] / 1024:6.1f}   "
                     f"{ratio:5.2f}   {after}")
        if kind not in FLOORS:
            verdicts.append((f"{kind} peak memory", ratio, MEMORY_GOAL))
    for key, label in (("click_reply", "click to reply"), ("stop_reply", "stop event to reply")):
        lines.append(f"{label} (ms){'':13} median    p95")
        for kind in DIALOGS:
            s = common.summary(results[kind][key])
            lines.append(f"  {kind:10} {s['median'] * 1000:15.1f} {s['p95'] * 1000:6.1f}")
    lines.append("goals:")
    for label, ratio, goal in verdicts:
        lines.append(f"  {label:30} {ratio:5.2f} (goal <= {goal}) "
                     f"{'met' if ratio <= goal else 'NOT met'}")
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("--json", type=Path,
                        default=Path(zemtest.WINE_STATE).parent / "process_bench.json")
    options = parser.parse_args()
    with common.bench_session():
        print(f"machine: {common.machine()}", flush=True)
        results = measure(options.runs)
        machine_after = common.machine()
    print(report(results))
    print(f"machine at the end: {machine_after}")
    options.json.write_text(json.dumps({"machine": machine_after, "results": results}, indent=1))
    print(f"raw figures: {options.json}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
