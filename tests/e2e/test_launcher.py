"""zemuictl run under Wine: the launcher's one JSON outcome, and its own exit code, for each way a
prompt can end: a reply, a time-out that the stop closes, a process killed from outside."""

import json
import time

import pytest

from test_actionui import actionui
from test_stop import STOP_EVENT_SDDL
from zemtest import REPO_ROOT, WIN_BIN, Driver, ProgramRun, unique_title

ZEMUICTL = WIN_BIN / "zemuictl.exe"
STOP_AFTER_SECONDS = 4  # as scripts/run-example.sh gives a headless dialog
EXIT_CODES = {"replied": 0, "no_reply": 3, "timed_out_closed": 4}


def launch(request_bytes, *options):
    """zemuictl run with the request on its standard input (ZemClientUI.exe is beside it)."""
    return ProgramRun(ZEMUICTL, ["run", *options, "-"], stdin_bytes=request_bytes)


def outcome(run):
    out, status, _ = run.reply()
    result = json.loads(out)
    assert status == EXIT_CODES[result["status"]]
    return result


@pytest.mark.own_session
@pytest.mark.parametrize("example, title, reply", [
    ("progress.txt", "Installing security update", "OK"),
    ("actionui.txt", "Restart required", "CLOSED"),
    ("remind.txt", "Pending maintenance", "CLOSED"),
])
def test_each_example_replies_through_the_launcher(example, title, reply):
    run = launch((REPO_ROOT / "examples" / example).read_bytes())
    Driver().wait(title)
    time.sleep(STOP_AFTER_SECONDS)
    assert ProgramRun(ZEMUICTL, ["stop"]).reply()[:2] == (b"signalled\n", 0)
    result = outcome(run)
    assert (result["status"], result["reply"], result["exitCode"]) == ("replied", reply, 0)
    assert result["parsed"] == {"kind": reply, "seconds": None, "actionId": None, "error": None}


@pytest.mark.own_session
def test_a_dialog_left_alone_is_closed_by_the_stop_at_the_timeout():
    driver = Driver()
    title = unique_title("launch-timeout")
    run = launch(actionui(title, remind=(60, 600)).encode(), "--timeout", "3")
    driver.wait(title)
    # The launcher made the event before the dialog, with the security only it may signal under.
    assert driver.stop_event("sddl") == STOP_EVENT_SDDL
    result = outcome(run)
    assert (result["status"], result["reply"], result["exitCode"]) == (
        "timed_out_closed", "CLOSED", 0)


def test_a_prompt_killed_from_outside_gives_no_reply():
    driver = Driver()
    title = unique_title("launch-killed")
    run = launch(actionui(title).encode())
    driver.wait(title)
    driver.kill(title)
    result = outcome(run)
    assert (result["status"], result["reply"], result["parsed"]) == ("no_reply", None, None)
