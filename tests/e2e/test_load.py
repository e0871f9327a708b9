"""Many dialogs at once in one Wine session, closed together by the agent's one stop event."""

import pytest

from zemtest import (Action, ActionUi, Driver, Progress, Remind, start_product, unique_title,
                     wait_until)

DIALOG_COUNT = 16


def progress_request(title):
    return Progress(title, "Installing.")


def actionui_request(title):
    return ActionUi(title, "A restart is needed.", "Restart Now", cancel=True, remind_seconds=1800,
                    max_remind_seconds=3600)


def remind_request(title):
    return Remind(title, [Action(7, "RESTART", 3600, "Restart.", "Body.", "T1", cancel=True),
                          Action(8, "NONE", 7200, "Scan.", "Body.", "T2")], 0, auto_seconds=600)


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
