#!/usr/bin/python3
"""Process-level benchmarks of ZemClientUI.exe under Wine, against floor_dialog.exe.

    process_bench.py [--runs N] [--stop-runs N] [--idle-runs N] [--dialogs NAME,...]
                     [--product [LABEL=]PATH ...] [--json FILE]

For each of the three dialogs (PROGRESS, ACTIONUI, REMIND) and for the floor dialog showing the
same template, N runs each, interleaved so that a change of machine load hits all of them alike:
  - start to visible: from the process start (the request written at once) to the moment a
    zemdriver `wait`, already polling before the start (every --poll-ms), sees the dialog visible;
  - peak memory: VmHWM of the Linux process that runs the exe;
  - click to reply: from the driver's click (its "sending" line) to the first reply byte;
then, alone, stop event to reply: from the signalled stop event to the reply, once with the dialog
at rest and once held in the system's move loop (WM_SYSCOMMAND SC_MOVE); and then, --idle-runs
processes of each kind, interleaved:
  - idle CPU: user plus system time of the Linux process running the exe (all its threads, to the
    nanosecond from schedstat; /proc/<pid>/stat's 10 ms ticks beside it) while the dialog is left
    alone for 10 s, and for information the session's wineserver's in the same 10 s;
  - message round trip: --round-trips WM_GETTEXT messages that another process (zemdriver
    roundtrip) sends to the dialog, each timed until it is answered.
Prints medians, 95th percentiles, the ratios to the floor and the goals with their verdicts.

--product may be given several times to measure other builds of ZemClientUI.exe in the same run,
e.g. --product before=/path/to/old/ZemClientUI.exe --product after=build/win/bin/ZemClientUI.exe;
all of them are driven by the same zemdriver.exe and compared with the same floors, and the idle
CPU goal compares each build with the one labelled "before". Starts and stops its own Wine session
(see wine_bench_common.py); scripts/bench-wine.sh builds first.
"""

import argparse
import json
import statistics
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
WM_SYSCOMMAND, SC_MOVE = 0x0112, 0xF010
START_GOAL = 1.05
MEMORY_GOAL = 1.2
ROUND_TRIP_GOAL = 2.0  # ratio of the medians to the floor's
CLICK_GOAL_SECONDS = 0.015  # p95
STOP_GOAL_SECONDS = 0.015  # p95: the loop waits on the event itself, as it does for input
STOP_GOAL_SLACK = 1.0
IDLE_GOAL_SECONDS = 0.005  # median CPU in the idle 10 s, above the floor's
IDLE_SECONDS = 10.0

PROGRESS_MESSAGE = "The update is being installed.\nYou can keep working while it runs."
ACTION_MESSAGE = ("Updates were installed that need a restart.\n"
                  "Save your work, then restart now or choose when to be reminded.")
ACTION_PREVIEW = ("The computer restarts to finish installing:\n"
                  "- Security update for the file system driver\n"
                  "- Cumulative update for the desktop runtime")


def progress_request(title):
    return zemtest.Progress(title, PROGRESS_MESSAGE)


def actionui_request(title):
    return zemtest.ActionUi(title, ACTION_MESSAGE, "Restart Now", cancel=True,
                            preview_text=ACTION_PREVIEW, remind_seconds=1800,
                            max_remind_seconds=3600)


def remind_request(title):
    items = [(17, "RESTART", 86400, "Restart for updates", True),
             (18, "NONE", 7200, "Software inventory scan", False)]
    return zemtest.Remind(title, [
        zemtest.Action(action_id, kind, postpone, f"{item_title} is pending.",
                       "Details of the pending action.", item_title, options, options)
        for action_id, kind, postpone, item_title, options in items], 3600)


# name: (request builder, button that ends it, its reply, the stop event's reply); the agent
# closing its own progress window is a normal end, hence "OK".
DIALOGS = {
    "PROGRESS": (progress_request, IDS["IDC_HIDE_BUTTON"], b"OK\n", b"OK\n"),
    "ACTIONUI": (actionui_request, IDS["IDC_ACTION_BUTTON"], b"OK\n", b"CLOSED\n"),
    "REMIND": (remind_request, IDS["IDC_TAKE_ALL_BUTTON"], b"RUNALL\n", b"CLOSED\n"),
}
# Each dialog is compared with floor_dialog.exe showing the same template, the focus where the
# product puts it at the start: the platform's floor. (template, control with the focus)
FLOORS = {"floor-108": (IDS["IDD_PROGRESS"], IDS["IDC_PROGRESS_MESSAGE"]),
          "floor-102": (IDS["IDD_PREACTION"], IDS["IDC_ACTION_MESSAGE"]),
          "floor-109": (IDS["IDD_REMINDER"], IDS["IDC_REMIND_COMBO"])}
FLOOR_OF = {"PROGRESS": "floor-108", "ACTIONUI": "floor-102", "REMIND": "floor-109"}


class Product:
    """One build of ZemClientUI.exe under a label of its own."""

    def __init__(self, label, path):
        self.label = label
        self.path = Path(path).resolve()

    def kind(self, name):
        return f"{name} {self.label}"

    def start(self, request):
        return zemtest.ProgramRun(self.path, stdin_bytes=request.encode())


def start_waiter(title, poll_ms):
    proc = zemtest.session().popen(zemtest.DRIVER, ["wait", "--title", title, "--timeout", "60000",
                                                    "--interval", str(poll_ms)],
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


def end_floor(run, title):
    zemtest.Driver().message(title, zemtest.CLOSE_DIALOG_MESSAGE)
    _, status, _ = run.reply(30)
    if status != 0:
        raise RuntimeError(f"floor dialog ended with {status}")


def end_product(run, name, title):
    _, button, expected, _ = DIALOGS[name]
    common.timed_click(title, button)
    out, status, _ = run.reply(30)
    if (out, status) != (expected, 0):
        raise RuntimeError(f"{name}: reply {out!r}, status {status}, wanted {expected!r}")


def one_floor_run(floor, results, poll_ms):
    title = zemtest.unique_title("bench-floor")
    waiter = start_waiter(title, poll_ms)
    with zemtest.start_floor_dialog(title, *FLOORS[floor]) as run:
        results["visible"].append(visible_after(waiter, run))
        time.sleep(SETTLE_SECONDS)
        pid = common.linux_pid(run.proc.pid, common.FLOOR_NAME)
        results["peak_kib"].append(common.proc_status_kib(pid)["VmHWM"])
        end_floor(run, title)


def one_product_run(product, name, results, poll_ms):
    build, button, expected, _ = DIALOGS[name]
    title = zemtest.unique_title(f"bench-{name.lower()}")
    waiter = start_waiter(title, poll_ms)
    with product.start(build(title)) as run:
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


def one_stop_run(product, name, results, moving=False):
    build, _, _, expected = DIALOGS[name]
    title = zemtest.unique_title(f"bench-stop-{name.lower()}")
    driver = zemtest.Driver()
    with product.start(build(title)) as run:
        driver.wait(title)
        # As for the click: the dialog's answer to the stop, not its first paint and tick, which
        # a stop right after the showing would wait behind.
        time.sleep(SETTLE_SECONDS)
        if moving and driver.message(title, WM_SYSCOMMAND, SC_MOVE, timeout=0.5) != "pending":
            raise RuntimeError(f"{name}: the move loop did not start")
        with driver.hold_stop_event(60000, signal=True):
            signalled_at = time.monotonic()
            try:
                run.wait_for_output(30)
            finally:
                driver.stop_event("reset")
        key = "stop_reply_moving" if moving else "stop_reply"
        results[key].append(run.started + run.reply_time - signalled_at)
        out, status, _ = run.reply(30)
        if (out, status) != (expected, 0):
            raise RuntimeError(f"{name} stop: reply {out!r}, status {status}, wanted {expected!r}")


def idle_and_round_trips(run, exe_name, title, results, server, count):
    """The dialog left alone for IDLE_SECONDS, then `count` round trips from another process."""
    zemtest.Driver().wait(title)
    time.sleep(SETTLE_SECONDS)
    pid = common.linux_pid(run.proc.pid, exe_name)
    server_before = common.run_seconds(server) if server else None
    before = (common.run_seconds(pid), common.cpu_ticks(pid))
    time.sleep(IDLE_SECONDS)
    after = (common.run_seconds(pid), common.cpu_ticks(pid))
    server_after = common.run_seconds(server) if server else None
    results["idle_cpu"].append(after[0] - before[0])
    results["idle_cpu_ticks"].append((after[1] - before[1]) / common.TICKS_PER_SECOND)
    if server_before is not None and server_after is not None:
        results["idle_server_cpu"].append(server_after - server_before)
    results["round_trip"].extend(common.round_trips(title, count))


def one_idle_floor_run(floor, results, server, count):
    title = zemtest.unique_title("bench-idle-floor")
    with zemtest.start_floor_dialog(title, *FLOORS[floor]) as run:
        idle_and_round_trips(run, common.FLOOR_NAME, title, results, server, count)
        end_floor(run, title)


def one_idle_product_run(product, name, results, server, count):
    title = zemtest.unique_title(f"bench-idle-{name.lower()}")
    with product.start(DIALOGS[name][0](title)) as run:
        idle_and_round_trips(run, common.PRODUCT_NAME, title, results, server, count)
        end_product(run, name, title)


def rotated(items, index):
    """The items starting at position index: no kind always runs right after another one."""
    shift = index % len(items)
    return items[shift:] + items[:shift]


def measure(products, options):
    runs = [(FLOOR_OF[name], None, FLOOR_OF[name]) for name in options.dialogs]
    runs += [(product.kind(name), product, name) for product in products
             for name in options.dialogs]
    floors = len(options.dialogs)
    results = {kind: {"visible": [], "peak_kib": [], "click_reply": [], "peak_after_reply_kib": [],
                      "stop_reply": [], "stop_reply_moving": [], "idle_cpu": [], "idle_cpu_ticks": [], "idle_server_cpu": [],
                      "round_trip": []}
               for kind, _, _ in runs}
    for index in range(options.runs):
        for kind, product, name in rotated(runs, index):
            if product is None:
                one_floor_run(name, results[kind], options.poll_ms)
            else:
                one_product_run(product, name, results[kind], options.poll_ms)
        print(f"  round {index + 1}/{options.runs} done", flush=True)
    for index in range(options.stop_runs):
        for kind, product, name in rotated(runs[floors:], index):
            one_stop_run(product, name, results[kind])
            one_stop_run(product, name, results[kind], moving=True)
    print("  stop event runs done", flush=True)
    server = common.wineserver_pid(zemtest.session().prefix)
    for index in range(options.idle_runs):
        for kind, product, name in rotated(runs, index):
            if product is None:
                one_idle_floor_run(name, results[kind], server, options.round_trips)
            else:
                one_idle_product_run(product, name, results[kind], server, options.round_trips)
        print(f"  idle and round trip round {index + 1}/{options.idle_runs} done", flush=True)
    return results


def floor_of(kind):
    return FLOOR_OF.get(kind.split()[0], kind)


def report(results, products, options):
    def floor_median(kind, key):
        return common.summary(results[floor_of(kind)][key])["median"]

    def ms(value):
        return value * 1000

    lines = ["start to visible (ms)              median    p95   ratio of medians to its floor"]
    verdicts = []
    for kind, values in results.items():
        if not values["visible"]:
            continue
        s = common.summary(values["visible"])
        ratio = s["median"] / floor_median(kind, "visible")
        lines.append(f"  {kind:20} {ms(s['median']):11.0f} {ms(s['p95']):6.0f}   {ratio:5.2f}")
        if kind not in FLOORS:
            verdicts.append((f"{kind} start to visible", f"{ratio:.2f}", f"<= {START_GOAL}",
                             ratio <= START_GOAL))
    lines.append("peak memory VmHWM (MiB)           median    max   ratio   after reply (median)")
    for kind, values in results.items():
        if not values["peak_kib"]:
            continue
        s = common.summary(values["peak_kib"])
        ratio = s["median"] / floor_median(kind, "peak_kib")
        after = (f"{common.summary(values['peak_after_reply_kib'])['median'] / 1024:8.1f}"
                 if values["peak_after_reply_kib"] else "")
        lines.append(f"  {kind:20} {s['median'] / 1024:11.1f} {s['max'] / 1024:6.1f}   "
                     f"{ratio:5.2f}   {after}")
        if kind not in FLOORS:
            verdicts.append((f"{kind} peak memory", f"{ratio:.2f}", f"<= {MEMORY_GOAL}",
                             ratio <= MEMORY_GOAL))
    for key, label, goal, slack in (("click_reply", "click to reply", CLICK_GOAL_SECONDS, 1.0),
                                    ("stop_reply", "stop event to reply", STOP_GOAL_SECONDS,
                                     STOP_GOAL_SLACK),
                                    ("stop_reply_moving", "stop to reply, moving",
                                     STOP_GOAL_SECONDS, STOP_GOAL_SLACK)):
        lines.append(f"{label + ' (ms)':33} median    p95     max")
        for kind, values in results.items():
            if kind in FLOORS or not values[key]:
                continue
            s = common.summary(values[key])
            lines.append(f"  {kind:20} {ms(s['median']):11.1f} {ms(s['p95']):6.1f} "
                         f"{ms(s['max']):7.1f}")
            about = "about " if slack != 1.0 else ""
            verdicts.append((f"{kind} {label} p95", f"{ms(s['p95']):.1f} ms",
                             f"<= {about}{ms(goal):.0f} ms", s["p95"] <= goal * slack))
    lines.append(f"{'message round trip (ms)':33} median    p95     max   ratio of medians "
                 f"to its floor (n)")
    for kind, values in results.items():
        if not values["round_trip"]:
            continue
        s = common.summary(values["round_trip"])
        ratio = s["median"] / floor_median(kind, "round_trip")
        lines.append(f"  {kind:20} {ms(s['median']):11.2f} {ms(s['p95']):6.2f} "
                     f"{ms(s['max']):7.2f}   {ratio:6.2f} ({s['n']})")
        if kind not in FLOORS:
            verdicts.append((f"{kind} round trip", f"{ratio:.2f}", f"<= {ROUND_TRIP_GOAL}",
                             ratio <= ROUND_TRIP_GOAL))
    lines.append(f"idle CPU in {IDLE_SECONDS:.0f} s (ms)    median    max   /proc stat (mean)   "
                 f"wineserver meanwhile (median)")
    for kind, values in results.items():
        if not values["idle_cpu"]:
            continue
        s = common.summary(values["idle_cpu"])
        ticks = statistics.mean(values["idle_cpu_ticks"])
        server = (f"{ms(common.summary(values['idle_server_cpu'])['median']):8.1f}"
                  if values["idle_server_cpu"] else "")
        lines.append(f"  {kind:20} {ms(s['median']):6.1f} {ms(s['max']):6.1f}   {ms(ticks):10.1f}"
                     f"          {server}")
        if kind not in FLOORS:
            above = s["median"] - floor_median(kind, "idle_cpu")
            verdicts.append((f"{kind} idle CPU above its floor", f"{ms(above):.1f} ms",
                             f"<= {ms(IDLE_GOAL_SECONDS):.0f} ms", above <= IDLE_GOAL_SECONDS))
    labels = [product.label for product in products]
    if "before" in labels and options.idle_runs:
        for product in products:
            if product.label == "before":
                continue
            for name in options.dialogs:
                now = common.summary(results[product.kind(name)]["idle_cpu"])["median"]
                then = common.summary(results[f"{name} before"]["idle_cpu"])["median"]
                verdicts.append((f"{product.kind(name)} idle CPU", f"{ms(now):.1f} ms",
                                 f"<= before, {ms(then):.1f} ms", now <= then))
    lines.append("goals:")
    for label, value, goal, met in verdicts:
        lines.append(f"  {label:40} {value:>9} (goal {goal}) {'met' if met else 'NOT met'}")
    return "\n".join(lines)


def parse_product(text):
    label, sep, path = text.partition("=")
    if not sep:
        label, path = Path(text).parent.name or "product", text
    return Product(label, path)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("--stop-runs", type=int,
                        help="stop event runs of each dialog (default: as many as --runs)")
    parser.add_argument("--dialogs", type=lambda text: text.split(","),
                        default=list(DIALOGS), metavar="NAME,...",
                        help="the dialogs to measure (default PROGRESS,ACTIONUI,REMIND)")
    parser.add_argument("--idle-runs", type=int, default=3,
                        help="processes of each kind for idle CPU and round trips (default 3)")
    parser.add_argument("--round-trips", type=int, default=100,
                        help="messages sent to each of those processes (default 100)")
    parser.add_argument("--poll-ms", type=int, default=5,
                        help="how often the waiting driver looks for the dialog (default 5 ms)")
    parser.add_argument("--product", action="append", type=parse_product, metavar="[LABEL=]PATH",
                        help="a ZemClientUI.exe to measure (repeatable; default the one in "
                             "ZEM_WIN_BIN, labelled \"this\")")
    parser.add_argument("--json", type=Path,
                        default=Path(zemtest.WINE_STATE).parent / "process_bench.json")
    options = parser.parse_args()
    products = options.product or [Product("this", zemtest.PRODUCT)]
    if options.stop_runs is None:
        options.stop_runs = options.runs
    if not set(options.dialogs) <= set(DIALOGS):
        parser.error(f"--dialogs takes names out of {','.join(DIALOGS)}")
    if len({product.label for product in products}) != len(products):
        parser.error("every --product needs a label of its own")
    with common.bench_session():
        print(f"machine: {common.machine()}", flush=True)
        for product in products:
            print(f"product {product.label}: {product.path}", flush=True)
        results = measure(products, options)
        machine_after = common.machine()
    print(report(results, products, options))
    print(f"machine at the end: {machine_after}")
    options.json.write_text(json.dumps({
        "machine": machine_after, "products": {p.label: str(p.path) for p in products},
        "results": results}, indent=1))
    print(f"raw figures: {options.json}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
