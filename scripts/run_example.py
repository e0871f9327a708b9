#!/usr/bin/python3
"""Sends one example request to ZemClientUI.exe under Wine and prints the reply and exit status.

Headless (no DISPLAY), Xvfb is started and, once the dialog is up, a picture of it is saved
(build/native/example.png) and the agent's stop event is signalled after a few seconds so that the
run ends by itself, as the agent would end it.

The request is built by the agent's kit from the example's model (examples/<name>.json beside the
.txt); an example without one (bad-version.txt) is sent as its bytes. A translation file named
inside the checkout (relative to it, as the examples do, or absolute) is handed to the product as
the path Wine sees.
"""

import json
import re
import sys
import threading
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "scripts"))
sys.path.insert(0, str(ROOT / "agent" / "python"))
import zemclientui  # noqa: E402
from wine_harness import WineSession  # noqa: E402
from zemclientui.requests import request_from_json  # noqa: E402

BIN = ROOT / "build" / "native" / "win" / "bin"
HEADLESS_STOP_AFTER_S = 4
PICTURE = ROOT / "build" / "native" / "example.png"
# With a display the dialog waits for you; headless, the stop event ends it.
TIMEOUT_S = {True: 120, False: 24 * 3600}


def wine_path(path):
    """Wine maps the Unix root to drive Z:, so /work/x is Z:\\work\\x to the product."""
    return "Z:" + str(path).replace("/", "\\")


def with_wine_translation_path(request):
    """The request with a translation path inside the checkout pointing where Wine finds it;
    Windows paths and paths outside the checkout are left as they are."""
    path = request.translation_path
    if isinstance(path, str) and not re.match(r"[A-Za-z]:|\\\\", path):
        resolved = (ROOT / path).resolve()
        if resolved.is_relative_to(ROOT):
            request.translation_path = wine_path(resolved)
    return request


def load_example(example):
    """The example's request from its model, or its bytes when it has none."""
    model = Path(example).with_suffix(".json")
    if not model.exists():
        return Path(example).read_bytes()
    return with_wine_translation_path(request_from_json(json.loads(model.read_text())))


def save_picture(session, request, stop):
    """Saves the dialog as PICTURE once it shows; quietly nothing when the run shows none."""
    PICTURE.unlink(missing_ok=True)  # never leave an earlier run's picture for this one
    if isinstance(request, bytes):
        return
    title = request.title
    try:
        import capture  # the driver's helpers, only needed headless
        caption = capture.caption_bytes(title)
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
    request = load_example(example)
    data = request if isinstance(request, bytes) else request.encode()
    session = WineSession(ROOT / "build" / "native" / "wine-example")
    info = session.start()
    headless = "xvfb_pid" in info
    print(f"request {example.name}:")
    print("  " + "\n  ".join(data.decode("utf-8", "replace").splitlines()))
    try:
        stop = threading.Event()
        if headless:
            threading.Thread(target=signal_stop_later, args=(session, request, stop),
                             daemon=True).start()
        started = time.monotonic()
        outcome = zemclientui.run(data, BIN / "ZemClientUI.exe", TIMEOUT_S[headless],
                                  runner=session.runner())
        stop.set()
        print(f"outcome: {outcome.status}, reply {outcome.reply}")
        print(f"exit code: {outcome.exit_code}")
        print(f"the process ran {time.monotonic() - started:.1f} s (it lingers 2 s after replying)")
    finally:
        session.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
