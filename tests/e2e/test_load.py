"""Many dialogs at once in one Wine session, closed together by the agent's one stop event."""

import pytest

from zemtest import Driver, request, start_product, unique_title, wait_until

DIALOG_COUNT = 16


def progress_request(title):
    return request("PROGRESS", "", [("TITLE", title), ("MESSAGE", b"Installing.")])


def actionui_request(title):
    return request("ACTIONUI", ":CANCEL:REMIND", [
        ("REMINDTIME", 1800), ("MAXREMINDTIME", 3600), ("BUTTONTEXT", b"Restart Now"),
        ("TITLE", title), ("MESSAGE", b"A restart is needed.")])


def remind_request(title):
    return request("REMIND", ":AUTO", [
        ("AUTOTIME", 600), ("REMINDTIME", 0), ("TITLE", title), ("ACTIONCOUNT", 2),
        (b"ACTIONITEM:RESTART:CANCEL", None), ("ACTIONID", 7), ("ACTIONPOSTPONE", 3600),
        ("ACTIONITEMMSG", b"Restart."), ("ACTIONITEMBODY", b"Body."), ("ACTIONITEMTITLE", b"T1"),
        (b"ACTIONITEM:NONE", None), ("ACTIONID", 8), ("ACTIONPOSTPONE", 7200),
        ("ACTIONITEMMSG", b"Scan."), ("ACTIONITEMBODY", b"Body."), ("ACTIONITEMTITLE", b"T2")])


# Each kind with the reply it gives when the stop event closes it.
KINDS = [(progress_request, b"OK\n"), (actionui_request, b"CLOSED\n"),
         (remind_request, b"CLOSED\n")]


@pytest.mark.own_session
def test_sixteen_dialogs_close_on_one_stop_event():
    driver = Driver()
    runs = []
    try:
        for i in range(DIALOG_COUNT):
            make_request, expected = KINDS[i % len(KINDS)]
            title = unique_title(f"load{i}")
            runs.append((title, expected, start_product(make_request(title))))
        for title, _, _ in runs:
            driver.wait(title, timeout=90)
        with driver.hold_stop_event(60000, signal=True):
            wait_until(lambda: all(not run.running() for _, _, run in runs), timeout=60,
                       what="every dialog to reply and exit")
        for title, expected, run in runs:
            out, status, _ = run.reply(10)
            assert (out, status) == (expected, 0), title  # one reply each, none lost
    finally:
        for _, _, run in runs:
            run.__exit__(None, None, None)
