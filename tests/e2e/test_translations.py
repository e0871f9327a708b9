"""The shipped translations end to end: each language changes the captions of all three dialogs,
shown exactly as the translator wrote them."""

import contextlib
import sys

import pytest

import zemtest
from test_actionui import (ACTION_BUTTON, CANCEL_BUTTON, MESSAGE_BOX, PREVIEW_BUTTON, REMIND_BUTTON,
                           REMIND_COMBO, actionui)
from test_remind import INTERVALS, action, remind
from zemtest import IDS, Progress, start_product, unique_title

TRANSLATIONS = zemtest.REPO_ROOT / "translations"
sys.path.insert(0, str(TRANSLATIONS))
import make_catalogue  # noqa: E402

# Per dialog: its request and the captions (control, English template) it must show translated.
# The maximum remind time outlasts the longest interval, so no tick trims the list being read.
# The pre-action dialog's button text comes from the request and is a template too.
DIALOGS = {
    "PROGRESS": (lambda title, xlate: Progress(title, "m", translation_path=xlate),
        [(IDS["IDC_HIDE_BUTTON"], "Hide")]),
    "ACTIONUI": (lambda title, xlate: actionui(
        title, cancel=True, remind=(1800, 500000), button="Restart Now",
        preview="p", xlate=xlate),
        [(CANCEL_BUTTON, "Cancel"), (PREVIEW_BUTTON, "Preview Action..."),
         (REMIND_BUTTON, "Remind Again"), (IDS["IDC_ACTION_BUTTON"], "Restart Now")]),
    "REMIND": (lambda title, xlate: remind(
        title, [action(1, "RESTART")], translation_path=xlate),
        [(IDS["IDC_MORE_INFO_BUTTON"], "More Info..."), (REMIND_BUTTON, "Remind Again"),
         (IDS["IDC_TAKE_ALL_BUTTON"], "Restart Now")]),
}


# Every language shipped: each file of translations/ but the catalogue.
LANGUAGES = sorted(path.stem for path in TRANSLATIONS.glob("*.txt"))


def translation(language):
    pairs = make_catalogue.parse_translation_file((TRANSLATIONS / f"{language}.txt").read_bytes())
    return {key.decode(): value.decode() for key, value in pairs}


@pytest.mark.parametrize("language", LANGUAGES)
def test_every_dialog_shows_the_translation(language):
    values = translation(language)
    xlate = zemtest._windows_path(TRANSLATIONS / f"{language}.txt").encode()
    titles = {name: unique_title(f"xlate-{language}-{name.lower()}") for name in DIALOGS}
    driver = zemtest.Driver()
    with contextlib.ExitStack() as stack:
        for name, (build, _) in DIALOGS.items():
            stack.enter_context(start_product(build(titles[name], xlate)))
        for name, (_, captions) in DIALOGS.items():
            driver.wait(titles[name])
            dump = driver.dump(titles[name])
            shown = [zemtest.control(dump, control_id)["wtext"] for control_id, _ in captions]
            assert shown == [values[english] for _, english in captions], name
            if name == "ACTIONUI":
                entries = zemtest.control(dump, REMIND_COMBO)["wentries"]
                assert entries == [values[english] for english in INTERVALS]


WS_EX_LAYOUTRTL = 0x400000
WS_EX_RTLREADING = 0x2000


def test_right_to_left_translation_mirrors_the_dialog_and_keeps_the_reply():
    title = unique_title("xlate-rtl")
    xlate = zemtest._windows_path(TRANSLATIONS / "ar.txt").encode()
    driver = zemtest.Driver()
    with start_product(DIALOGS["ACTIONUI"][0](title, xlate)) as run:
        driver.wait(title)
        dump = driver.dump(title)
        assert dump["exstyle"] & WS_EX_LAYOUTRTL
        assert zemtest.control(dump, MESSAGE_BOX)["exstyle"] & WS_EX_RTLREADING
        remind_again, take_action = (zemtest.control(dump, control_id)["rect"]
                                     for control_id in (REMIND_BUTTON, ACTION_BUTTON))
        assert remind_again["left"] >= take_action["right"]
        driver.click(title, REMIND_BUTTON)
        assert run.reply()[:2] == (b"REMIND:1800\n", 0)
