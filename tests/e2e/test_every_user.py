"""Every user: the names a screen reader gives the boxes and lists, where the keyboard starts,
that Escape in a message does nothing, and that Tab walks the pre-action dialog in order."""

import pytest

import zemtest
from test_actionui import actionui
from test_remind import action, remind
from zemtest import IDS, Progress

MESSAGE = IDS["IDC_ACTION_MESSAGE"]
PROGRESS_MESSAGE = IDS["IDC_PROGRESS_MESSAGE"]
PREVIEW_TEXT = IDS["IDC_PREVIEW_TEXT"]
REMIND_COMBO = IDS["IDC_REMIND_COMBO"]
# Texts that change while the dialog shows: a reader must not take them as a control's name.
CHANGING_TEXTS = {IDS["IDC_COUNTDOWN"], IDS["IDC_SUMMARY"], IDS["IDC_DEADLINE"]}
VK_TAB = 9
# The preview is the window with the caption whose owner is a dialog.
PREVIEW_OWNER = "#32770"

# Per dialog: its request, the controls a reader must name, where the focus starts and the box
# Escape is tried in. The pre-action dialog counts down, so its countdown precedes the message.
DIALOGS = {
    "ACTIONUI": (lambda title: actionui(title, cancel=True, auto=900,
                                        remind=(1800, 500000), button="Restart Now",
                                        preview="details"),
                 (REMIND_COMBO, MESSAGE), MESSAGE),
    "REMIND": (lambda title: remind(title, [action(1, "RESTART"), action(2, "SHUTDOWN")]),
               (REMIND_COMBO, IDS["IDC_ACTION_COMBO"], MESSAGE), REMIND_COMBO),
    "PROGRESS": (lambda title: Progress(title, "m"),
                 (PROGRESS_MESSAGE,), PROGRESS_MESSAGE),
}
# The pre-action dialog's tab order: the buttons keep theirs, the message comes last.
PREACTION_TAB_ORDER = [REMIND_COMBO, IDS["IDC_ACTION_BUTTON"], IDS["IDC_PREVIEW_BUTTON"],
                       IDS["IDC_CANCEL_BUTTON"], IDS["IDC_REMIND_BUTTON"], MESSAGE]


def accessible_name(dump, control_id):
    """The text a reader names the control by: the nearest earlier static in z-order, the walk
    stopping at a control that takes the focus."""
    controls = dump["controls"]
    index = next(i for i, c in enumerate(controls) if c["id"] == control_id)
    for earlier in reversed(controls[:index]):
        if earlier["class"].lower() == "static":
            return earlier
        if earlier["style"] & zemtest.WS_TABSTOP:
            return None
    return None


def check_names_and_focus(dump, named, focus):
    for control_id in named:
        label = accessible_name(dump, control_id)
        assert label is not None and label["wtext"], control_id
        assert label["id"] not in CHANGING_TEXTS, control_id
    if focus is not None:
        assert dump["focusId"] == focus


def focus_after_tab(driver, title, before, owner=None):
    driver.key(title, VK_TAB, owner_class=owner)
    return zemtest.wait_until(
        lambda: (lambda f: f != before and f)(driver.dump(title, owner)["focusId"]),
        what="the focus to move")


def escape_is_ignored(driver, title, box, focus, owner=None):
    """Escape posted to the message box, then Tab: once the focus has moved, the Escape before
    it was handled too, so the window that had it is still open."""
    driver.key(title, zemtest.VK_ESCAPE, control_id=box, owner_class=owner)
    return focus_after_tab(driver, title, focus, owner)


def countdown_text(driver, title):
    dialog = driver.dump(title, "ZemClientHiddenTopLevelWindowClass")
    return zemtest.control(dialog, IDS["IDC_COUNTDOWN"])["wtext"]


def preview_dump(driver, title):
    try:
        return driver.dump(title, PREVIEW_OWNER)
    except zemtest.DriverError:
        return None


@pytest.mark.parametrize("name", DIALOGS)
def test_names_focus_and_escape(name):
    build, named, focus = DIALOGS[name]
    box = focus if name != "REMIND" else MESSAGE  # folded, the reminder's message is hidden
    title = zemtest.unique_title(f"every-user-{name.lower()}")
    driver = zemtest.Driver()
    with zemtest.start_product(build(title)) as run:
        driver.wait(title)
        zemtest.wait_until(lambda: zemtest.window_icons(title) == [zemtest.ICONS_96_DPI],
                           what="both icons at their sizes")
        check_names_and_focus(driver.dump(title), named, focus)
        moved = escape_is_ignored(driver, title, box, focus)
        if name == "ACTIONUI":
            order = [moved]
            while order[-1] != MESSAGE and len(order) < len(PREACTION_TAB_ORDER):
                order.append(focus_after_tab(driver, title, order[-1]))
            assert order == PREACTION_TAB_ORDER
        driver.message(title, zemtest.CLOSE_DIALOG_MESSAGE)
        assert run.reply()[:2] == ({"ACTIONUI": b"CLOSED\n", "REMIND": b"REMIND:3600\n",
                                    "PROGRESS": b"OK\n"}[name], 0)


def test_preview_names_its_text_and_starts_on_it():
    title = zemtest.unique_title("every-user-preview")
    driver = zemtest.Driver()
    with zemtest.start_product(DIALOGS["ACTIONUI"][0](title)) as run:
        driver.wait(title)
        assert driver.click(title, IDS["IDC_PREVIEW_BUTTON"], timeout=0.5) == "pending"
        preview = zemtest.wait_until(lambda: preview_dump(driver, title), what="the preview")
        zemtest.wait_until(lambda: zemtest.window_icons(title) == [zemtest.ICONS_96_DPI] * 2,
                           what="the dialog's icons on the preview too")
        # Unlike the dialogs, the preview takes the activation, and with it the focus; in a session
        # shared with other cases another program's window may take both at any time, so the
        # focus itself is not asserted here.
        check_names_and_focus(preview, (PREVIEW_TEXT,), None)
        countdown = countdown_text(driver, title)
        driver.key(title, zemtest.VK_ESCAPE, control_id=PREVIEW_TEXT, owner_class=PREVIEW_OWNER)
        # A timer tick comes only when no posted message waits: once the countdown has moved,
        # the Escape was handled, and so was a close it might have posted.
        zemtest.wait_until(lambda: countdown_text(driver, title) != countdown,
                           what="the next tick")
        assert preview_dump(driver, title)
        driver.message(title, zemtest.CLOSE_DIALOG_MESSAGE,
                       owner_class="ZemClientHiddenTopLevelWindowClass")
        assert run.reply()[:2] == (b"CLOSED\n", 0)
