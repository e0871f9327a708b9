#!/usr/bin/python3
"""Sends one example request to ZemClientUI.exe under Wine and prints the reply and exit status.

Headless (no DISPLAY), Xvfb is started and, once the dialog is up, a picture of it is saved
(build/native/example.png) and the agent's stop event is signalled after a few seconds so that the
run ends by itself, as the agent would end it.

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
PICTURE = ROOT / "build" / "native" / "example.png"


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


def request_title(request):
    """The TITLE field of a request, or None."""
    field = re.search(rb"^TITLE:(\d+)\n", request, re.MULTILINE)
    return field and request[field.end():field.end() + int(field.group(1))]


def save_picture(session, request, stop):
    """Saves the dialog as PICTURE once it shows; quietly nothing when the run shows none."""
    PICTURE.unlink(missing_ok=True)  # never leave an earlier run's picture for this one
    title = request_title(request)
    if title is None:
        return
    try:
        import capture  # the driver's helpers, only needed headless
        caption = capture.caption_bytes(title.decode("utf-8", "replace"))
        capture.use_session(session.state)
        driver = capture.zemtest.Driver()
        capture.zemtest.wait_until(lambda: stop.is_set() or driver.exists(caption), timeout=30,
                                   what="the dialog")
        if stop.is_set():
            return
        time.sleep(0.5)  # let the dialog paint every control
        capture.capture(caption, PICTURE, driver=driver)
    except Exception as error:  # noqa: BLE001 - a missing picture must not keep the run from ending
        print(f"(no picture: {error})")
        return
    print(f"picture: {PICTURE.relative_to(ROOT)}")


def signal_stop_later(session, request, stop):
    driver = BIN / "zemdriver.exe"
    if not driver.exists():
        return
    started = time.monotonic()
    save_picture(session, request, stop)
    if stop.wait(max(0.0, HEADLESS_STOP_AFTER_S - (time.monotonic() - started))):
        return
    waited = time.monotonic() - started
    print(f"(headless: signalling the agent's stop event after {waited:.0f} s)")
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
            threading.Thread(target=signal_stop_later, args=(session, request, stop),
                             daemon=True).start()
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
