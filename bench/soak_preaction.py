#!/usr/bin/python3
"""Soak run of one pre-action dialog under Wine: does anything grow while it ticks?

    soak_preaction.py [--minutes M] [--interval S]

Shows an ACTIONUI dialog with a countdown longer than the run and a remind list whose maximum
runs out during the run (so the list shrinks to nothing and is withdrawn), and leaves it ticking
once a second. Every interval it samples the GDI and USER object counts of the product process
(zemdriver gui-resources, i.e. GetGuiResources), its resident and anonymous memory (VmRSS,
RssAnon of the Linux process) and the number of remind choices left. At the end it presses the
action button and checks the reply "OK". Prints the series and whether it stayed flat.
"""

import argparse
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import wine_bench_common as common  # noqa: E402
from wine_bench_common import zemtest  # noqa: E402

ACTION_BUTTON = zemtest.IDS["IDC_ACTION_BUTTON"]
REMIND_COMBO = zemtest.IDS["IDC_REMIND_COMBO"]
REMIND_SECONDS = 300
# The remind maximum runs out a minute before the end; the last samples show the dialog without it.
MAX_REMIND_MARGIN_SECONDS = 60
MAX_REMIND_LIMIT_SECONDS = 900
# The countdown must outlast the run: the run ends with the user's click, not the countdown.
AUTO_MARGIN_SECONDS = 600
# Samples before this are the warm-up (first paint, first ticks); growth is measured after it.
WARM_UP_SECONDS = 60
FLAT_MEMORY_KIB = 512
FLAT_OBJECTS = 2


def soak_request(title, seconds):
    max_remind = max(60, min(MAX_REMIND_LIMIT_SECONDS, seconds - MAX_REMIND_MARGIN_SECONDS))
    request = zemtest.ActionUi(
        title, "Updates were installed that need a restart.\nSave your work.", "Restart Now",
        cancel=True, remind_seconds=REMIND_SECONDS, max_remind_seconds=max_remind,
        auto_seconds=seconds + AUTO_MARGIN_SECONDS, auto_message="Restarting by itself")
    return request, max_remind


def remind_choices(title):
    """Entries left in the remind list, or 0 when the list is hidden or gone."""
    dump = zemtest.Driver().dump(title)
    try:
        combo = zemtest.control(dump, REMIND_COMBO)
    except KeyError:
        return 0
    return len(combo.get("entries", [])) if combo.get("visible") else 0


def sample(title, pid, started):
    gdi, user = common.gui_resources(title)
    memory = common.proc_status_kib(pid)
    return {"t": time.monotonic() - started, "gdi": gdi, "user": user,
            "rss_kib": memory["VmRSS"], "anon_kib": memory["RssAnon"],
            "hwm_kib": memory["VmHWM"], "choices": remind_choices(title)}


def verdict(samples):
    warm = [s for s in samples if s["t"] >= WARM_UP_SECONDS] or samples
    lines = []
    flat = True
    for key in ("gdi", "user"):
        spread = max(s[key] for s in samples) - min(s[key] for s in samples)
        ok = spread <= FLAT_OBJECTS
        flat &= ok
        lines.append(f"  {key.upper()} objects: {samples[0][key]} .. {samples[-1][key]}, "
                     f"spread {spread} ({'flat' if ok else 'NOT flat'})")
    for key, label in (("anon_kib", "RssAnon"), ("rss_kib", "VmRSS")):
        growth = warm[-1][key] - warm[0][key]
        ok = growth <= FLAT_MEMORY_KIB
        flat &= ok
        lines.append(f"  {label}: {warm[0][key]} KiB at {warm[0]['t']:.0f} s, "
                     f"{warm[-1][key]} KiB at {warm[-1]['t']:.0f} s, growth {growth:+d} KiB "
                     f"({'flat' if ok else 'NOT flat'}, limit {FLAT_MEMORY_KIB} KiB)")
    lines.append(f"  overall: {'flat' if flat else 'NOT flat'}")
    return flat, "\n".join(lines)


def soak(minutes, interval):
    seconds = int(minutes * 60)
    title = zemtest.unique_title("soak-preaction")
    request, max_remind = soak_request(title, seconds)
    print(f"soak of {seconds} s, sample every {interval} s, countdown "
          f"{seconds + AUTO_MARGIN_SECONDS} s, remind maximum {max_remind} s", flush=True)
    samples = []
    with zemtest.start_product(request) as run:
        zemtest.Driver().wait(title, timeout=60)
        started = time.monotonic()
        pid = common.linux_pid(run.proc.pid, common.PRODUCT_NAME)
        print("     t(s)  GDI  USER  VmRSS(KiB)  RssAnon(KiB)  VmHWM(KiB)  choices", flush=True)
        next_at = started
        while True:
            s = sample(title, pid, started)
            samples.append(s)
            print(f"  {s['t']:7.0f} {s['gdi']:4} {s['user']:5} {s['rss_kib']:11} "
                  f"{s['anon_kib']:13} {s['hwm_kib']:11} {s['choices']:8}", flush=True)
            next_at += interval
            if next_at - started > seconds:
                break
            time.sleep(max(0.0, next_at - time.monotonic()))
        zemtest.Driver().click(title, ACTION_BUTTON)
        out, status, _ = run.reply(60)
    reply_ok = (out, status) == (b"OK\n", 0)
    print(f"reply after the action button: {out!r}, exit status {status} "
          f"({'as expected' if reply_ok else 'WRONG, expected OK'})")
    flat, text = verdict(samples)
    print("verdict:\n" + text)
    return 0 if reply_ok else 1


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--minutes", type=float, default=10.0)
    parser.add_argument("--interval", type=float, default=30.0)
    options = parser.parse_args()
    with common.bench_session():
        print(f"machine: {common.machine()}", flush=True)
        status = soak(options.minutes, options.interval)
        print(f"machine at the end: {common.machine()}")
    return status


if __name__ == "__main__":
    sys.exit(main())
