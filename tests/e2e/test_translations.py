"""The shipped translations end to end: the pre-action dialog shows each language's captions."""

import sys

import pytest

import zemtest
from test_actionui import (ACTION_BUTTON, CANCEL_BUTTON, PREVIEW_BUTTON, REMIND_BUTTON,
                           REMIND_COMBO, actionui, assert_reply)

TRANSLATIONS = zemtest.REPO_ROOT / "translations"
sys.path.insert(0, str(TRANSLATIONS))
import make_catalogue  # noqa: E402

# Control and the English template it shows; the request's button text is a template too.
CAPTIONS = [(CANCEL_BUTTON, "Cancel"), (PREVIEW_BUTTON, "Preview Action..."),
            (REMIND_BUTTON, "Remind Again"), (ACTION_BUTTON, "Restart Now")]
INTERVALS = [" in 1 minute", " in 5 minutes", " in 10 minutes", " in 15 minutes",
             " in 30 minutes", " in 45 minutes", " in 1 hour", " in 2 hours", " in 4 hours",
             " in 6 hours", " in 8 hours", " in 16 hours", " in 1 day", " in 2 days",
             " in 3 days", " in 4 days", " in 5 days"]


def translation(language):
    pairs = make_catalogue.parse_translation_file((TRANSLATIONS / f"{language}.txt").read_bytes())
    return {key.decode(): value.decode() for key, value in pairs}


def as_shown(text):
    """The text as an ANSI window (Western code page) or a wide one holds it: characters the code
    page lacks read back as "?" from an ANSI window."""
    return {text, text.encode("cp1252", "replace").decode("cp1252")}


@pytest.mark.parametrize("language", ["de", "es", "fr", "ja"])
def test_preaction_dialog_shows_the_translation(language):
    values = translation(language)
    title = zemtest.unique_title(f"xlate-{language}")
    driver = zemtest.Driver()
    path = zemtest._windows_path(TRANSLATIONS / f"{language}.txt")
    with zemtest.start_product(actionui(title, ":CANCEL:PREVIEW:REMIND:XLATE", remind=(1800, 3600),
                                        button="Restart Now", preview="p", xlate=path)) as run:
        driver.wait(title)
        dump = driver.dump(title)
        for control_id, english in CAPTIONS:
            shown = zemtest.control(dump, control_id)["wtext"]
            assert shown != english and shown in as_shown(values[english]), english
        entries = zemtest.control(dump, REMIND_COMBO)["wentries"]
        assert len(entries) == len(INTERVALS)
        for shown, english in zip(entries, INTERVALS):
            assert shown != english and shown in as_shown(values[english]), english
        driver.click(title, CANCEL_BUTTON)
        assert_reply(run, b"CANCEL\n")
