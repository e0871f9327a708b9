#!/usr/bin/python3
"""Sends one example request to ZemClientUI.exe under Wine and prints the reply and exit status.

Headless (no DISPLAY), Xvfb is started and, once the dialog is up, the agent's stop event is
signalled after a few seconds so that the run ends by itself, as the agent would end it.

A translation file named inside the checkout (relative to it, as the examples do, or absolute) is
handed to the product as the path Wine sees, with the field's byte count adjusted.
"""

import re
import subprocess
import sys
import threading
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "scripts"))
from wine_harness import WineSession  # noqa: E402

BIN = ROOT / "build" / "native" / "win" / "bin"
HEADLESS_STOP_AFTER_S = 4


def wine_path(path):
    """Wine maps the Unix root to drive Z:, so /work/x is Z:\\work\\x to the product."""
    return "Z:" + str(path).replace("/", "\\")


def rewrite_translation_path(request):
    """The request with its XLATEPATH field pointing where Wine finds the checkout's file.

    The field is the last of its name (it follows every free text of a request); Windows paths
    and paths outside the checkout are left as they are.
    """
    fields = list(re.finditer(rb"^XLATEPATH:(\d+)\n", request, re.MULTILINE))
    if not fields:
        return request
    field = fields[-1]
    start, end = field.end(), field.end() + int(field.group(1))
    path = request[start:end].decode("utf-8", "surrogateescape")
    if re.match(r"[A-Za-z]:|\\\\", path):
        return request
    resolved = (ROOT / path).resolve()
    if not resolved.is_relative_to(ROOT):
        return request
    seen = wine_path(resolved).encode("utf-8", "surrogateescape")
    return request[:field.start()] + b"XLATEPATH:%d\n" % len(seen) + seen + request[end:]


def signal_stop_later(session, stop):
    driver = BIN / "zemdriver.exe"
    if not driver.exists() or stop.wait(HEADLESS_STOP_AFTER_S):
        return
    print(f"(headless: signalling the agent's stop event after {HEADLESS_STOP_AFTER_S} s)")
    session.run(driver, ["stop-event", "hold", "--signal", "--ms", "3000"], timeout=60)


def main():
    example = Path(sys.argv[1] if len(sys.argv) > 1 else ROOT / "examples" / "progress.txt")
    request = rewrite_translation_path(example.read_bytes())
    session = WineSession(ROOT / "build" / "native" / "wine-example")
    info = session.start()
    headless = "xvfb_pid" in info
    print(f"request {example.name}:")
    print("  " + "\n  ".join(request.decode("utf-8", "replace").splitlines()))
    try:
        stop = threading.Event()
        if headless:
            threading.Thread(target=signal_stop_later, args=(session, stop), daemon=True).start()
        started = time.monotonic()
        proc = session.popen(BIN / "ZemClientUI.exe", stdin=subprocess.PIPE,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        out, _ = proc.communicate(request)
        stop.set()
        print(f"reply: {out!r}")
        print(f"exit status: {proc.returncode} (-1 shows as 255)")
        print(f"the process ran {time.monotonic() - started:.1f} s (it lingers 2 s after replying)")
    finally:
        session.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
