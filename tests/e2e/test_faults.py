"""Faults the agent can cause, end to end under Wine: a closed reply pipe, a request cut short."""

import subprocess
import time

import pytest

import zemtest
from zemtest import IDS, Driver, Progress, start_product, unique_title


def run_with_reply_pipe_closed(request_bytes, act=None):
    """Starts the product, closes the read end of its stdout at once, lets `act` end the
    dialog, and returns (exit status, seconds from start to exit)."""
    started = time.monotonic()
    proc = zemtest.session().popen(zemtest.PRODUCT, stdin=subprocess.PIPE,
                                   stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    proc.stdout.close()
    proc.stdin.write(request_bytes)
    proc.stdin.close()
    try:
        if act is not None:
            act()
        status = proc.wait(60)
    finally:
        if proc.poll() is None:
            proc.kill()
    return status, time.monotonic() - started


def test_closed_reply_pipe_on_an_error_reply():
    status, seconds = run_with_reply_pipe_closed(b"UI 1.1\n")
    assert status == zemtest.ERROR_EXIT_STATUS
    assert seconds < 15  # Wine start-up plus the 2 s pause; no hang on the broken pipe


def test_closed_reply_pipe_after_a_dialog():
    title = unique_title("faults")
    driver = Driver()

    def hide():
        driver.wait(title)
        driver.click(title, IDS["IDC_HIDE_BUTTON"])

    status, seconds = run_with_reply_pipe_closed(
        Progress(title, "m").encode(), hide)
    assert status == 0
    assert seconds < 30


# Each request stops inside the bytes of one sized field.
CUT_SHORT = [
    (b"PROGRESS", b"TITLE:10\nabc", b"Error: failed reading title"),
    (b"PROGRESS", b"TITLE:1\nTMESSAGE:10\nabc", b"Error: failed reading message"),
    (b"PROGRESS:XLATE", b"TITLE:1\nTMESSAGE:1\nMXLATEPATH:10\nC:",
     b"Error: failed reading translation file path"),
    (b"PROGRESS", b"TITLE:1\nTMESSAGE:1\nMIMAGEPATH:10\nC:", b"Error: failed reading image file path"),
    (b"ACTIONUI:AUTO", b"AUTOTIME:5\nAUTOMESSAGE:10\nab", b"Error: failed reading autoMessage"),
    (b"ACTIONUI", b"BUTTONTEXT:10\nab", b"Error: failed reading button text"),
    (b"ACTIONUI:PREVIEW", b"BUTTONTEXT:1\nBTITLE:1\nTMESSAGE:1\nMACTIONPREVIEW:10\nab",
     b"Error: failed reading preview"),
    (b"REMIND", b"REMINDTIME:0\nTITLE:1\nTACTIONCOUNT:1\nACTIONITEM:NONE\nACTIONID:1\n"
                b"ACTIONPOSTPONE:60\nACTIONITEMMSG:1\nMACTIONITEMBODY:10\nab",
     b"Error: failed reading body"),
]


CUT_SHORT_REQUESTS = [b"UI 1.2\n" + command + b"\n" + fields for command, fields, _ in CUT_SHORT]


@pytest.mark.parametrize("command,fields,reply", CUT_SHORT)
def test_input_ending_inside_a_sized_field(command, fields, reply):
    request_bytes = b"UI 1.2\n" + command + b"\n" + fields
    with zemtest.start_product_early(request_bytes, CUT_SHORT_REQUESTS) as run:
        out, status, _ = run.reply()
    assert (out, status) == (reply + b"\n", zemtest.ERROR_EXIT_STATUS)


def test_a_crash_in_the_window_system_still_replies_once():
    # Wine's edit control faults on a line that starts with U+02DC (small tilde). Whichever way
    # the window system takes it, the agent reads exactly one line and a matching exit code.
    title = unique_title("faults-crash")
    driver = Driver()
    with start_product(Progress(title, "\u02dc")) as run:
        zemtest.wait_until(lambda: run.output or not run.running() or driver.exists(title),
                           what="a reply or the dialog")
        if driver.exists(title):
            driver.click(title, IDS["IDC_HIDE_BUTTON"])
        out, status, _ = run.reply()
    assert (out, status) in [(b"OK\n", 0), (b"Error: Internal error\n", zemtest.ERROR_EXIT_STATUS)]
