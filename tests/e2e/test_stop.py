"""The agent's stop always wins: during a preview, over a countdown, and however the agent secured
its event. Session end during a preview still replies once."""

import contextlib

import pytest

import zemtest
from test_actionui import actionui
from test_remind import action, remind
from zemtest import IDS, Driver, start_product, unique_title

PREVIEW_BUTTON = IDS["IDC_PREVIEW_BUTTON"]
PREVIEW_TEXT = IDS["IDC_PREVIEW_TEXT"]
MORE_INFO = IDS["IDC_MORE_INFO_BUTTON"]
HIDDEN_OWNER_CLASS = "ZemClientHiddenTopLevelWindowClass"


def preview_requests():
    """(title, request) of an ACTIONUI and a REMIND dialog, each counting down to an action
    that a stop must prevent (OKAUTO and REMINDAUTO:3600 are what a lost stop replies). The
    preview shows the action's title, here the dialog's own, so both are found by one caption."""
    preaction, reminder = unique_title("stop-preaction"), unique_title("stop-reminder")
    return [
        (preaction, actionui(preaction, auto=15, preview="details")),
        (reminder, remind(reminder, [action(5, options=":PREVIEW", title=reminder)], auto=15)),
    ]


def open_preview(driver, title):
    if not zemtest.control(driver.dump(title), PREVIEW_BUTTON)["visible"]:
        driver.click(title, MORE_INFO)
    assert driver.click(title, PREVIEW_BUTTON, timeout=0.5) == "pending"
    zemtest.wait_until(lambda: any(c["id"] == PREVIEW_TEXT
                                   for c in driver.dump(title)["controls"]),
                       what="the preview")


@pytest.mark.own_session
def test_stop_during_the_previews_replies_closed():
    driver = Driver()
    cases = preview_requests()
    with contextlib.ExitStack() as stack:
        runs = [stack.enter_context(start_product(req)) for _, req in cases]
        stack.enter_context(driver.hold_stop_event(60000))
        try:
            for title, _ in cases:
                driver.wait(title)
                open_preview(driver, title)
            driver.stop_event("signal")
            for (title, _), run in zip(cases, runs):
                assert run.reply()[:2] == (b"CLOSED\n", 0), title
        finally:
            driver.stop_event("reset")


def test_session_end_during_a_preview_replies_closed_once():
    driver = Driver()
    title, req = preview_requests()[0]
    with start_product(req) as run:
        driver.wait(title)
        open_preview(driver, title)
        # Windows tells every top-level window; the preview first, then its dialog.
        driver.endsession(title, True)
        driver.endsession(title, True, owner_class=HIDDEN_OWNER_CLASS)
        assert run.reply()[:2] == (b"CLOSED\n", 0)


@pytest.mark.own_session
def test_stop_event_secured_for_waiting_only():
    driver = Driver()
    title = unique_title("stop-secured")
    with driver.secure_stop_event() as event:
        try:
            with start_product(actionui(title, auto=30)) as run:
                driver.wait(title)
                event.command("signal")
                assert run.reply()[:2] == (b"CLOSED\n", 0)
        finally:
            event.command("reset")


# What a process that may read the event's security reads back: SYSTEM and Administrators all
# access, interactive users and the owner only SYNCHRONIZE.
STOP_EVENT_SDDL = "D:P(A;;0x1f0003;;;SY)(A;;0x1f0003;;;BA)(A;;0x100000;;;IU)(A;;0x100000;;;OW)"
WM_SYSCOMMAND, SC_MOVE = 0x0112, 0xF010


@pytest.mark.own_session
def test_a_dialog_creates_the_missing_stop_event_secured():
    driver = Driver()
    title = unique_title("stop-created")
    with start_product(actionui(title, auto=30)) as run:
        driver.wait(title)
        assert driver.stop_event("sddl") == STOP_EVENT_SDDL
        driver.stop_event("signal")
        assert run.reply()[:2] == (b"CLOSED\n", 0)


@pytest.mark.own_session
def test_stop_closes_a_dialog_held_in_the_systems_move_loop():
    driver = Driver()
    title = unique_title("stop-moving")
    with start_product(actionui(title, auto=30)) as run:
        driver.wait(title)
        # Sent, the command does not return while the system's move loop runs.
        assert driver.message(title, WM_SYSCOMMAND, SC_MOVE, timeout=0.5) == "pending"
        driver.stop_event("signal")
        assert run.reply()[:2] == (b"CLOSED\n", 0)
