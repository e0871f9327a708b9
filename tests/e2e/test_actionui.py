"""The ACTIONUI request end to end: the pre-action dialog, its countdown, remind list and replies."""

import re
import tempfile
import time
from pathlib import Path

import pytest

import zemtest
from icon_files import write_icon
from zemtest import IDS

MESSAGE_BOX = IDS["IDC_ACTION_MESSAGE"]
PREVIEW_BUTTON = IDS["IDC_PREVIEW_BUTTON"]
ACTION_BUTTON = IDS["IDC_ACTION_BUTTON"]
CANCEL_BUTTON = IDS["IDC_CANCEL_BUTTON"]
COUNTDOWN_LINE = IDS["IDC_COUNTDOWN"]
REMIND_BUTTON = IDS["IDC_REMIND_BUTTON"]
REMIND_COMBO = IDS["IDC_REMIND_COMBO"]
PREVIEW_TEXT = IDS["IDC_PREVIEW_TEXT"]

BUTTON_HEIGHT_UNITS = 14
MESSAGE_HEIGHT_UNITS = 50
STRETCHED_TO_COUNTDOWN_UNITS = 88
STRETCHED_TO_BUTTON_ROW_UNITS = 68
PREVIEW_OFFSET = 180
IMMEDIATELY = " immediately"


def actionui(title, auto=None, remind=(None, None), button="Install Now",
             message="The update is ready.", preview=None, xlate=None, image=None, cancel=False,
             taskbar=False):
    """An ACTIONUI request; auto is the auto time, remind a (time, maximum) pair."""
    return zemtest.ActionUi(title, message, button, cancel, preview, *remind, auto,
                            None if auto is None else "Starting by itself", taskbar, xlate, image)


def open_dialog(driver, title, **options):
    run = zemtest.start_product(actionui(title, **options))
    driver.wait(title)
    return run


def assert_reply(run, expected):
    output, status, _ = run.reply()
    assert (output, status) == (expected, 0)


def units_high(dump, control_id):
    """A control's height in template units, scaled by the action button's 14 units."""
    def height(item):
        rect = zemtest.control(dump, item)["clientRect"]
        return rect["bottom"] - rect["top"]
    return height(control_id) * BUTTON_HEIGHT_UNITS / height(ACTION_BUTTON)


def shown(dump, control_id):
    return zemtest.control(dump, control_id)["visible"]


PICTURE_RGB = (0xE0, 0x80, 0x20)


def icon_file(directory):
    """A 32 by 32 icon of one opaque colour; its Windows path."""
    path = write_icon(directory, pixel=lambda x, y: PICTURE_RGB + (0xFF,))
    return zemtest._windows_path(path)


def test_action_button_replies_ok_and_close_box_and_escape_do_nothing():
    title = zemtest.unique_title("preaction-ok")
    driver = zemtest.Driver()
    with open_dialog(driver, title, message="first line\nsecond line") as run:
        dump = driver.dump(title)
        assert dump["caption"] == title
        assert dump["exstyle"] & zemtest.WS_EX_TOPMOST
        assert not dump["style"] & zemtest.WS_SYSMENU  # no ":TASKBAR"
        assert zemtest.control(dump, MESSAGE_BOX)["text"] == "first line\r\nsecond line"
        assert zemtest.control(dump, ACTION_BUTTON)["text"] == "Install Now"
        assert shown(dump, ACTION_BUTTON)
        for hidden in (PREVIEW_BUTTON, CANCEL_BUTTON, REMIND_BUTTON, REMIND_COMBO,
                       COUNTDOWN_LINE):
            assert not shown(dump, hidden), hidden
        # Neither preview nor cancel: the box reaches the bottom of the hidden countdown line.
        assert abs(units_high(dump, MESSAGE_BOX) - STRETCHED_TO_COUNTDOWN_UNITS) <= 1

        driver.syscommand_close(title)
        driver.close(title)
        driver.key(title, zemtest.VK_ESCAPE)
        driver.key(title, zemtest.VK_ESCAPE, to_dialog=True)
        driver.settle(title)  # the posted keys are handled: a wrong close would have landed
        assert driver.exists(title)
        assert run.running() and run.output == b""

        driver.click(title, ACTION_BUTTON)
        assert_reply(run, b"OK\n")


def test_one_second_countdown_takes_the_action_automatically():
    title = zemtest.unique_title("preaction-auto1")
    driver = zemtest.Driver()
    with open_dialog(driver, title, auto=1) as run:
        shown_at = time.monotonic() - run.started
        assert run.wait_for_output() == b"OKAUTO\n"
        # The action comes with the second tick, two periods after the window was created.
        assert run.reply_time >= 2.0
        assert run.reply_time - shown_at < 5.0
        assert_reply(run, b"OKAUTO\n")


def countdown_seconds(dump):
    line = zemtest.control(dump, COUNTDOWN_LINE)["text"]
    match = re.fullmatch(r"The action will automatically start in 00:(\d\d):(\d\d)", line)
    assert match, line
    return int(match.group(1)) * 60 + int(match.group(2))


def test_countdown_line_layout_and_the_action_button_during_a_countdown():
    title = zemtest.unique_title("preaction-auto90")
    driver = zemtest.Driver()
    with open_dialog(driver, title, taskbar=True, auto=90) as run:
        dump = driver.dump(title)
        assert zemtest.control(dump, COUNTDOWN_LINE)["visible"]
        # It starts at 00:01:30 and loses a second per tick (a dump takes a few ticks).
        elapsed = time.monotonic() - run.started
        assert 90 - (elapsed + 1) <= countdown_seconds(dump) <= 90
        # A countdown never has a system menu, even with ":TASKBAR".
        assert not dump["style"] & zemtest.WS_SYSMENU
        assert dump["exstyle"] & zemtest.WS_EX_APPWINDOW
        # The box grows over the empty button row and stops above the countdown line.
        assert abs(units_high(dump, MESSAGE_BOX) - STRETCHED_TO_BUTTON_ROW_UNITS) <= 1
        later = zemtest.wait_until(
            lambda: (lambda d: countdown_seconds(d) < countdown_seconds(dump) and d)(
                driver.dump(title)), what="the countdown to run down")
        assert countdown_seconds(later) >= 90 - (time.monotonic() - run.started + 1)
        driver.click(title, ACTION_BUTTON)
        assert_reply(run, b"OK\n")


def test_cancel_is_translated_and_replies_cancel():
    title = zemtest.unique_title("preaction-cancel")
    driver = zemtest.Driver()
    with tempfile.TemporaryDirectory() as directory:
        translation = Path(directory) / "de.txt"
        translation.write_bytes(b"Cancel\tAbbrechen\nInstall Now\tJetzt installieren\n")
        with open_dialog(driver, title, cancel=True, taskbar=True,
                         xlate=zemtest._windows_path(translation)) as run:
            dump = driver.dump(title)
            assert zemtest.control(dump, CANCEL_BUTTON)["text"] == "Abbrechen"
            assert shown(dump, CANCEL_BUTTON) and not shown(dump, PREVIEW_BUTTON)
            # The button text is a template too, so the translation replaces it.
            assert zemtest.control(dump, ACTION_BUTTON)["text"] == "Jetzt installieren"
            assert dump["style"] & zemtest.WS_SYSMENU  # ":TASKBAR" without a countdown
            assert abs(units_high(dump, MESSAGE_BOX) - MESSAGE_HEIGHT_UNITS) <= 1
            driver.click(title, CANCEL_BUTTON)
            assert_reply(run, b"CANCEL\n")


def test_remind_list_shrinks_on_the_first_tick():
    title = zemtest.unique_title("preaction-remind")
    driver = zemtest.Driver()
    with open_dialog(driver, title, remind=(3600, 3600)) as run:
        dump = driver.dump(title)
        assert shown(dump, REMIND_BUTTON) and shown(dump, REMIND_COMBO)
        assert zemtest.control(dump, REMIND_BUTTON)["text"] == "Remind Again"

        def trimmed():
            combo = zemtest.control(driver.dump(title), REMIND_COMBO)
            return len(combo["entries"]) == 6 and combo
        combo = zemtest.wait_until(trimmed, what="the first trim")
        assert combo["entries"][0] == " in 1 minute"
        assert combo["entries"][combo["selection"]] == " in 45 minutes"
        driver.click(title, REMIND_BUTTON)
        assert_reply(run, b"REMIND:2700\n")


def test_remind_choice_starts_at_the_requested_time_and_follows_the_user():
    title = zemtest.unique_title("preaction-pick")
    driver = zemtest.Driver()
    with open_dialog(driver, title, remind=(3600, 86400)) as run:
        # After the first tick the intervals shorter than 86399 s are left.
        def trimmed():
            combo = zemtest.control(driver.dump(title), REMIND_COMBO)
            return len(combo["entries"]) == 12 and combo
        combo = zemtest.wait_until(trimmed, what="the first trim")
        assert combo["entries"][combo["selection"]] == " in 1 hour"
        assert combo["entries"][-1] == " in 16 hours"
        driver.select(title, REMIND_COMBO, 7)
        driver.click(title, REMIND_BUTTON)
        assert_reply(run, b"REMIND:7200\n")


def test_remind_maximum_of_60_leaves_only_immediately():
    title = zemtest.unique_title("preaction-remind60")
    driver = zemtest.Driver()
    with open_dialog(driver, title, remind=(60, 60)) as run:
        zemtest.wait_until(lambda: zemtest.control(driver.dump(title), REMIND_COMBO)["entries"]
                           == [IMMEDIATELY], what="the switch to immediately")
        driver.click(title, REMIND_BUTTON)
        assert_reply(run, b"REMIND:0\n")


def test_remind_choice_is_withdrawn_when_the_maximum_runs_out():
    title, clock = zemtest.unique_title("preaction-remind2"), zemtest.unique_title("clock")
    driver = zemtest.Driver()
    # The dialog shows no tick once the choice is gone; the clock's countdown line shows each one.
    with open_dialog(driver, title, remind=(2, 2)) as run, \
            open_dialog(driver, clock, auto=60):
        dump = zemtest.wait_until(
            lambda: (lambda d: not shown(d, REMIND_BUTTON) and not shown(d, REMIND_COMBO) and d)(
                driver.dump(title)), what="the remind choice to be withdrawn")
        assert shown(dump, ACTION_BUTTON)
        for _ in range(2):  # two changes: a whole timer period, so a later tick, has passed
            line = zemtest.control(driver.dump(clock), COUNTDOWN_LINE)["text"]
            zemtest.wait_until(lambda: zemtest.control(driver.dump(clock), COUNTDOWN_LINE)["text"]
                               != line, what="the clock's tick")
        dump = driver.dump(title)
        assert not shown(dump, REMIND_BUTTON) and not shown(dump, REMIND_COMBO)
        driver.click(title, ACTION_BUTTON)
        assert_reply(run, b"OK\n")


@pytest.mark.own_session
def test_stop_event_replies_closed():
    title = zemtest.unique_title("preaction-stop")
    driver = zemtest.Driver()
    with driver.hold_stop_event(60000):
        try:
            with open_dialog(driver, title, cancel=True, remind=(0, 0)) as run:
                driver.stop_event("signal")
                assert_reply(run, b"CLOSED\n")
        finally:
            driver.stop_event("reset")


def test_session_end():
    title = zemtest.unique_title("preaction-endsession")
    driver = zemtest.Driver()
    with open_dialog(driver, title, cancel=True) as run:
        driver.endsession(title, False)
        driver.settle(title)  # what the handler posted is handled: a wrong close would have landed
        assert driver.exists(title) and run.output == b""
        driver.endsession(title, True)
        # "CLOSED" once: the handler's own reply after it writes nothing more.
        assert_reply(run, b"CLOSED\n")


def test_picture_moves_the_message_box_right():
    title = zemtest.unique_title("preaction-picture")
    plain_title = zemtest.unique_title("preaction-nopicture")
    driver = zemtest.Driver()
    with tempfile.TemporaryDirectory() as directory:
        image = icon_file(directory)
        with open_dialog(driver, title, image=image) as run, \
                open_dialog(driver, plain_title) as plain_run:
            dump = driver.dump(title)
            plain = driver.dump(plain_title)
            box = zemtest.control(dump, MESSAGE_BOX)["clientRect"]
            plain_box = zemtest.control(plain, MESSAGE_BOX)["clientRect"]
            margin = plain_box["left"]
            assert box["left"] == plain_box["left"] + 32 + margin
            assert box["right"] == plain_box["right"]
            assert box["bottom"] - box["top"] == plain_box["bottom"] - plain_box["top"]
            driver.click(title, ACTION_BUTTON)
            driver.click(plain_title, ACTION_BUTTON)
            assert_reply(run, b"OK\n")
            assert_reply(plain_run, b"OK\n")


def test_countdown_ending_during_the_preview_still_replies_okauto():
    title = zemtest.unique_title("preaction-preview")
    driver = zemtest.Driver()
    with open_dialog(driver, title, auto=12,
                     preview="What the action does") as run:
        dialog = driver.dump(title)
        assert shown(dialog, PREVIEW_BUTTON)
        assert driver.click(title, PREVIEW_BUTTON, timeout=0.5) == "pending"
        # The preview is owned by the dialog, so it is the first window with the caption.
        preview = zemtest.wait_until(
            lambda: (lambda d: any(c["id"] == PREVIEW_TEXT for c in d["controls"]) and d)(
                driver.dump(title)), what="the preview")
        assert zemtest.control(preview, PREVIEW_TEXT)["text"] == "What the action does"
        assert preview["owner"]["hwnd"] == dialog["hwnd"]
        assert preview["rect"]["top"] == dialog["rect"]["top"] - PREVIEW_OFFSET
        assert preview["rect"]["left"] == dialog["rect"]["left"]
        assert_reply(run, b"OKAUTO\n")


def test_preview_button_is_disabled_while_the_preview_is_open():
    title = zemtest.unique_title("preaction-preview2")
    driver = zemtest.Driver()
    with open_dialog(driver, title, preview="details") as run:
        assert driver.click(title, PREVIEW_BUTTON, timeout=0.5) == "pending"
        zemtest.wait_until(lambda: any(c["id"] == PREVIEW_TEXT
                                       for c in driver.dump(title)["controls"]),
                           what="the preview")
        # The dialog itself, told apart from its preview by its owner, the hidden window.
        during = driver.dump(title, owner_class="ZemClientHiddenTopLevelWindowClass")
        assert not zemtest.control(during, PREVIEW_BUTTON)["enabled"]
        driver.close(title)  # WM_CLOSE to the preview, the first window with the caption
        dialog = zemtest.wait_until(
            lambda: (lambda d: any(c["id"] == ACTION_BUTTON for c in d["controls"]) and d)(
                driver.dump(title)), what="the dialog after the preview")
        assert zemtest.control(dialog, PREVIEW_BUTTON)["enabled"]
        driver.click(title, ACTION_BUTTON)
        assert_reply(run, b"OK\n")


def test_button_text_with_a_variable_ends_with_closed():
    title = zemtest.unique_title("preaction-badbutton")
    with zemtest.start_product(actionui(title, button="Restart {now}")) as run:
        assert_reply(run, b"CLOSED\n")


def test_request_errors():
    title = zemtest.unique_title("preaction-errors")
    # Raw bytes: requests the kit refuses to write.
    cases = [
        (actionui(title).encode().replace(b"ACTIONUI", b"ACTIONUI:AUTOTAKEACTION"),
         b"Error: Bad command\n"),
        (actionui(title, auto=5).encode().replace(b"AUTOTIME:5", b"AUTOTIME:0"),
         b"Error: Bad auto time error\n"),
    ]
    runs = [(zemtest.start_product(request), expected) for request, expected in cases]
    for run, expected in runs:
        with run:
            output, status, _ = run.reply()
            assert (output, status) == (expected, zemtest.ERROR_EXIT_STATUS)
