"""Every character as written, under the test session's Western code page (1252): request texts
in UTF-8, request texts in the agent's code page, and translated captions, read back through the
wide messages."""

import zemtest
from test_actionui import actionui
from test_remind import action, remind
from zemtest import IDS, Driver, Progress, control, start_product, unique_title

WORLD = "Größe – 日本語 Рус 😀"  # Latin-1, General Punctuation, CJK, Cyrillic, beyond the BMP


def legacy_progress(title, message):
    """Raw bytes: the kit writes UTF-8 only, and these texts are in the agent's code page."""
    return b"UI 1.2\nPROGRESS\nTITLE:%d\n%s\nMESSAGE:%d\n%s\n" % (
        len(title), title, len(message), message)


def read_progress(driver, title):
    dump = driver.dump(title)
    return dump["wcaption"], control(dump, IDS["IDC_PROGRESS_MESSAGE"])["wtext"]


def read_reminder_group(driver, title):
    dump = driver.dump(title)
    return dump["wcaption"], control(dump, IDS["IDC_ACTION_GROUP"])["wtext"]


# (request, what the driver finds the dialog by, how to read it, expected caption and text).
# The driver matches captions as the code page reads them: "?" stands for what it cannot hold.
def cases():
    utf8, cp1252, group = (unique_title(name) for name in ("wide-utf8", "wide-1252", "wide-group"))
    world_title = "Größe 日本語 " + utf8
    legacy = "Grüße " + cp1252
    return {
        "utf-8 title and message": (
            Progress(world_title, WORLD), ("Größe ??? " + utf8).encode("cp1252"), read_progress,
            (world_title, WORLD)),
        "code page 1252 title and message": (
            legacy_progress(legacy.encode("cp1252"), "Fenster – 20 €".encode("cp1252")),
            legacy.encode("cp1252"), read_progress, (legacy, "Fenster – 20 €")),
        "utf-8 action title": (
            remind(group, [action(3, title=WORLD)]), group, read_reminder_group, (group, WORLD)),
    }


def test_request_texts_read_back_as_written():
    table = cases()
    driver = Driver()
    runs = {}
    try:
        for name, (req, find_by, _, _) in table.items():
            runs[name] = start_product(req)
            driver.wait(find_by)
        for name, (_, find_by, read, expected) in table.items():
            assert read(driver, find_by) == expected, name
    finally:
        for run in runs.values():
            run.kill()


def test_caption_translated_to_japanese_reads_back(tmp_path):
    translation = tmp_path / "ja.txt"
    translation.write_bytes("Hide\t隠す\r\n".encode("utf-8"))
    title = unique_title("wide-xlate")
    driver = Driver()
    with start_product(Progress(title, "m", translation_path=zemtest._windows_path(
            translation))) as run:
        driver.wait(title)
        hide = control(driver.dump(title), IDS["IDC_HIDE_BUTTON"])
        assert hide["wtext"] == "隠す"
        driver.click(title, IDS["IDC_HIDE_BUTTON"])
        assert run.reply()[:2] == (b"OK\n", 0)


def test_preview_caption_and_text_read_back():
    uid = unique_title("wide-preview")
    title = "日本語 " + uid
    find_by = ("??? " + uid).encode("cp1252")
    driver = Driver()
    with start_product(actionui(title, preview=WORLD)) as run:
        driver.wait(find_by)
        assert driver.click(find_by, IDS["IDC_PREVIEW_BUTTON"], timeout=0.5) == "pending"
        # The preview, owned by the dialog, is the first window with the caption.
        preview = zemtest.wait_until(
            lambda: (lambda d: d if any(c["id"] == IDS["IDC_PREVIEW_TEXT"]
                                        for c in d["controls"]) else None)(driver.dump(find_by)),
            what="the preview")
        assert (preview["wcaption"], control(preview, IDS["IDC_PREVIEW_TEXT"])["wtext"]) == (
            title, WORLD)
        driver.close(find_by)
        zemtest.wait_until(lambda: driver.dump(find_by)["hwnd"] != preview["hwnd"],
                           what="the dialog again")
        driver.click(find_by, IDS["IDC_ACTION_BUTTON"])
        assert run.reply()[:2] == (b"OK\n", 0)
