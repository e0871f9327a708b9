"""End-to-end tests of the REMIND request: the reminder dialog under Wine and its replies."""

import contextlib
import time

import pytest

import zemtest
from zemtest import IDS, Driver, control, start_product, unique_title

SUMMARY = IDS["IDC_SUMMARY"]
COUNTDOWN = IDS["IDC_COUNTDOWN"]
REMIND = IDS["IDC_REMIND_BUTTON"]
REMIND_COMBO = IDS["IDC_REMIND_COMBO"]
TAKE_ALL = IDS["IDC_TAKE_ALL_BUTTON"]
MORE_INFO = IDS["IDC_MORE_INFO_BUTTON"]
ACTION_COMBO = IDS["IDC_ACTION_COMBO"]
ACTION_BUTTON = IDS["IDC_ACTION_BUTTON"]
CANCEL = IDS["IDC_CANCEL_BUTTON"]
PREVIEW = IDS["IDC_PREVIEW_BUTTON"]
GROUP = IDS["IDC_ACTION_GROUP"]
MESSAGE = IDS["IDC_ACTION_MESSAGE"]
DEADLINE = IDS["IDC_DEADLINE"]
LOWER_PANEL = (GROUP, ACTION_COMBO, MESSAGE, PREVIEW, CANCEL)
PANEL_MARGIN_PX = 15

INTERVALS = [" in 1 minute", " in 5 minutes", " in 10 minutes", " in 15 minutes",
             " in 30 minutes", " in 45 minutes", " in 1 hour", " in 2 hours", " in 4 hours",
             " in 6 hours", " in 8 hours", " in 16 hours", " in 1 day", " in 2 days",
             " in 3 days", " in 4 days", " in 5 days"]
MONTHS = ["January", "February", "March", "April", "May", "June", "July", "August",
          "September", "October", "November", "December"]


def action(action_id, kind="NONE", options="", postpone=86400, message="msg", body="body",
           title=None):
    return zemtest.Action(action_id, kind, postpone, message, body, title or f"action {action_id}",
                          ":PREVIEW" in options, ":CANCEL" in options)


def remind(title, actions, remind_time=3600, auto=None, take_action=False, **options):
    return zemtest.Remind(title, actions, remind_time, auto, take_action, **options)


def reply_of(run):
    out, status, _ = run.reply()
    return out, status


@contextlib.contextmanager
def dialogs(cases):
    """Starts one product per (title, request), waits for every dialog and yields the driver
    and the runs by title; runs still going at the end are killed."""
    driver = Driver()
    with contextlib.ExitStack() as stack:
        runs = {title: stack.enter_context(start_product(req)) for title, req in cases}
        for title in runs:
            driver.wait(title)
        yield driver, runs


def combo_state(dump, control_id):
    """(entry count, selection, selected text) of a combo box. The entries themselves are not
    compared: across processes Wine hands the driver their UTF-16 form, cut short."""
    combo = control(dump, control_id)
    return len(combo["entries"]), combo["selection"], combo["text"]


def heights(dump):
    rect = dump["rect"]
    return rect["top"], rect["bottom"]


def test_take_and_cancel_follow_the_chosen_action():
    two = [action(11, options=":PREVIEW"), action(22, "RESTART", ":CANCEL")]
    take, cancel = unique_title("remind-take"), unique_title("remind-cancel")
    with dialogs([(take, remind(take, two)), (cancel, remind(cancel, two))]) as (driver, runs):
        # Folded: the lower panel is hidden and the dialog ends below "Take Actions Now".
        folded = driver.dump(take)
        top, bottom = heights(folded)
        assert bottom - control(folded, TAKE_ALL)["rect"]["bottom"] == PANEL_MARGIN_PX
        assert not any(control(folded, c)["visible"] for c in LOWER_PANEL)
        assert control(folded, MORE_INFO)["text"] == "More Info..."

        driver.click(take, MORE_INFO)
        unfolded = driver.dump(take)
        assert heights(unfolded)[0] == top
        assert heights(unfolded)[1] - control(unfolded, GROUP)["rect"]["bottom"] == \
            PANEL_MARGIN_PX
        assert control(unfolded, MORE_INFO)["text"] == "Less Info..."
        # The first action offers a preview but no cancel.
        assert control(unfolded, PREVIEW)["visible"] and not control(unfolded, CANCEL)["visible"]
        assert control(unfolded, GROUP)["text"] == "action 11"
        assert control(unfolded, ACTION_BUTTON)["text"] == "Take Action Now"
        assert combo_state(unfolded, ACTION_COMBO) == (2, 0, " Action 1 of 2")

        driver.select(take, ACTION_COMBO, 1)
        second = driver.dump(take)
        assert control(second, CANCEL)["visible"] and not control(second, PREVIEW)["visible"]
        assert control(second, GROUP)["text"] == "action 22"
        assert control(second, ACTION_BUTTON)["text"] == "Restart Now"
        assert combo_state(second, ACTION_COMBO) == (2, 1, " Action 2 of 2")
        driver.click(take, ACTION_BUTTON)

        driver.click(cancel, MORE_INFO)
        driver.select(cancel, ACTION_COMBO, 1)
        driver.click(cancel, CANCEL)
        assert reply_of(runs[take]) == (b"RUNACTION:22\n", 0)
        assert reply_of(runs[cancel]) == (b"CANCELACTION:22\n", 0)


def test_take_all_remind_again_and_close_box():
    items = [action(1), action(2, "SHUTDOWN")]
    take_all, again, close_box, escape = (unique_title("remind") for _ in range(4))
    with dialogs([
        (take_all, remind(take_all, items)),
        (again, remind(again, items, remind_time=900)),
        (close_box, remind(close_box, items, taskbar=True, remind_time=7200)),
        (escape, remind(escape, items, remind_time=300)),
    ]) as (driver, runs):
        assert not driver.dump(again)["style"] & zemtest.WS_SYSMENU
        assert driver.dump(close_box)["style"] & zemtest.WS_SYSMENU
        # Neither Escape nor Enter on the dialog itself does anything.
        driver.key(escape, zemtest.VK_ESCAPE, to_dialog=True)
        driver.key(escape, zemtest.VK_RETURN, to_dialog=True)
        assert driver.dump(escape)["caption"] == escape and runs[escape].running()

        driver.click(take_all, TAKE_ALL)
        driver.click(again, REMIND)
        driver.syscommand_close(close_box)
        driver.select(escape, REMIND_COMBO, 3)
        driver.click(escape, REMIND)
        assert reply_of(runs[take_all]) == (b"RUNALL\n", 0)
        assert reply_of(runs[again]) == (b"REMIND:900\n", 0)
        assert reply_of(runs[close_box]) == (b"REMIND:7200\n", 0)
        assert reply_of(runs[escape]) == (b"REMIND:900\n", 0)


def test_countdown_reminds_or_takes_all():
    items = [action(5), action(6)]
    plain, take_all = unique_title("remind-auto"), unique_title("remind-autotake")
    started = time.monotonic()
    with start_product(remind(plain, items, auto=2, remind_time=600)) as first, \
            start_product(remind(take_all, items, take_action=True, auto=2)) as second:
        assert reply_of(first) == (b"REMINDAUTO:600\n", 0)
        assert reply_of(second) == (b"RUNALL\n", 0)
        # The line shows 2, 1 and 0 seconds; the third tick activates, then the reply lingers.
        assert time.monotonic() - started >= 3 + zemtest.REPLY_LINGER_SECONDS


def test_countdown_line_names_the_button_it_will_press():
    remind_line = "The 'Remind again' button will automatically activate in 00:00:"
    take_all_line = "The 'Take Actions Now' button will automatically activate in 00:00:"
    plain, take_all = unique_title("remind-line"), unique_title("remind-line-take")
    items = [action(5), action(6)]
    with dialogs([(plain, remind(plain, items, auto=50)),
                  (take_all, remind(take_all, items, take_action=True, auto=50))]) as \
            (driver, runs):
        first = control(driver.dump(plain), COUNTDOWN)
        assert first["visible"] and first["text"].startswith(remind_line)
        assert control(driver.dump(take_all), COUNTDOWN)["text"].startswith(take_all_line)
        # The line counts down once a second.
        zemtest.wait_until(
            lambda: control(driver.dump(plain), COUNTDOWN)["text"] != first["text"],
            what="countdown tick")
        driver.click(plain, REMIND)
        driver.click(take_all, REMIND)
        assert reply_of(runs[plain]) == (b"REMIND:3600\n", 0)
        assert reply_of(runs[take_all]) == (b"REMIND:3600\n", 0)


@pytest.mark.own_session
def test_stop_event_and_session_end_reply_closed():
    items = [action(7)]
    stopped, ended = unique_title("remind-stop"), unique_title("remind-end")
    driver = Driver()
    # Both at once, so that the two lingers overlap; the session end only goes to its own dialog.
    with start_product(remind(ended, items)) as run, \
            start_product(remind(stopped, items)) as stopped_run:
        driver.wait(ended)
        driver.endsession(ended, False)
        assert driver.exists(ended) and run.output == b""
        driver.endsession(ended, True)
        assert reply_of(run) == (b"CLOSED\n", 0)
        driver.wait(stopped)
        with driver.hold_stop_event(20000, signal=True):
            assert reply_of(stopped_run) == (b"CLOSED\n", 0)
            driver.stop_event("reset")


def check_captions(summaries):
    """summaries: name -> (actions, caption of 1021, text of 1029). Takes all in each dialog."""
    titles = {name: unique_title("remind-kinds") for name in summaries}
    with dialogs([(titles[name], remind(titles[name], items))
                  for name, (items, _, _) in summaries.items()]) as (driver, runs):
        for name, (items, take_all, summary) in summaries.items():
            dump = driver.dump(titles[name])
            assert control(dump, TAKE_ALL)["text"] == take_all, name
            assert control(dump, SUMMARY)["text"] == summary, name
            assert not control(dump, COUNTDOWN)["visible"], name
            driver.click(titles[name], TAKE_ALL)
        for name in summaries:
            assert reply_of(runs[titles[name]]) == (b"RUNALL\n", 0), name


def test_captions_for_one_action_of_each_kind():
    check_captions({
        "none": ([action(1)], "Take Action Now", "There is currently 1 pending action."),
        "restart": ([action(1, "RESTART")], "Restart Now",
                    "There is currently a pending restart action."),
        "shutdown": ([action(1, "SHUTDOWN")], "Shutdown Now",
                     "There is currently a pending shutdown action."),
    })


def test_captions_for_mixed_actions():
    check_captions({
        "two shutdowns": ([action(1, "SHUTDOWN"), action(2, "SHUTDOWN")], "Shutdown Now",
                          " There are currently 2 pending actions,\r\n"
                          " including a SHUTDOWN action."),
        "restart and shutdown": ([action(1, "SHUTDOWN"), action(2, "RESTART")], "Restart Now",
                                 " There are currently 2 pending actions,\r\n"
                                 " including a RESTART action."),
        "restart and none": ([action(1, "RESTART"), action(2)], "Take Actions Now",
                             " There are currently 2 pending actions,\r\n"
                             " including a RESTART action."),
        "three none": ([action(1), action(2), action(3)], "Take Actions Now",
                       " There are currently 3 pending actions."),
    })


def expected_deadline(seconds_since_epoch):
    local = time.localtime(seconds_since_epoch)
    return (f"Start by {MONTHS[local.tm_mon - 1]} {local.tm_mday}, {local.tm_year} "
            f"{local.tm_hour}:{local.tm_min:02d}:{local.tm_sec:02d}")


def test_deadline_and_remind_list_trimming():
    postpone = 600
    trimmed, immediate, untrimmed = (unique_title("remind-list") for _ in range(3))
    before = time.time()
    with dialogs([
        (trimmed, remind(trimmed, [action(1, postpone=postpone)], remind_time=3600)),
        (immediate, remind(immediate, [action(1, postpone=60)])),
        (untrimmed, remind(untrimmed, [action(1, postpone=-1)], remind_time=0)),
    ]) as (driver, runs):
        after = time.time()
        dump = driver.dump(trimmed)
        assert combo_state(dump, REMIND_COMBO) == (2, 1, INTERVALS[1])
        # The deadline counts from the moment the request was read, somewhere in between.
        assert control(dump, DEADLINE)["text"] in {
            expected_deadline(start + postpone) for start in range(int(before), int(after) + 1)}

        assert combo_state(driver.dump(immediate), REMIND_COMBO) == (1, 0, " immediately")
        assert combo_state(driver.dump(untrimmed), REMIND_COMBO) == (17, 6, INTERVALS[6])

        for title in (trimmed, immediate, untrimmed):
            driver.click(title, REMIND)
        assert reply_of(runs[trimmed]) == (b"REMIND:300\n", 0)
        assert reply_of(runs[immediate]) == (b"REMIND:0\n", 0)
        assert reply_of(runs[untrimmed]) == (b"REMIND:3600\n", 0)


def translated(title, path, items=(action(1), action(2))):
    return remind(title, list(items), translation_path=zemtest._windows_path(path))


def test_translation_replaces_captions_and_broken_ones_close(tmp_path):
    good, broken = tmp_path / "de.txt", tmp_path / "broken.txt"
    good.write_bytes(b"Take Actions Now\tAlle jetzt\r\nRemind Again\tSpaeter\r\n")
    # An override that is no valid template fails where the caption is first needed.
    broken.write_bytes(b"Less Info...\t{\r\n")
    fine, unfold = unique_title("remind-xlate"), unique_title("remind-broken")
    with dialogs([(fine, translated(fine, good)), (unfold, translated(unfold, broken))]) as \
            (driver, runs):
        dump = driver.dump(fine)
        assert control(dump, TAKE_ALL)["text"] == "Alle jetzt"
        assert control(dump, REMIND)["text"] == "Spaeter"
        assert control(dump, MORE_INFO)["text"] == "More Info..."
        driver.click(fine, TAKE_ALL)
        # Unfolding ends the run without any choice made.
        driver.click(unfold, MORE_INFO)
        assert reply_of(runs[fine]) == (b"RUNALL\n", 0)
        assert reply_of(runs[unfold]) == (b"CLOSED\n", 0)


def test_caption_failing_at_start_shows_no_dialog(tmp_path):
    broken = tmp_path / "broken.txt"
    broken.write_bytes(b"Cancel\t{\r\n")
    title = unique_title("remind-broken-start")
    with start_product(translated(title, broken)) as run:
        assert reply_of(run) == (b"CLOSED\n", 0)
        assert not Driver().exists(title)


def test_request_errors():
    # Raw bytes: requests the kit refuses to write.
    cases = [
        (b"UI 1.2\nREMIND\n", b"bad1\n"),
        (remind("t", [action(1)]).encode().replace(b"ACTIONCOUNT:1", b"ACTIONCOUNT:2"),
         b"Error: Bad action item\n"),
    ]
    runs = [(start_product(req), expected) for req, expected in cases]
    for run, expected in runs:
        with run:
            assert reply_of(run) == (expected, zemtest.ERROR_EXIT_STATUS)
