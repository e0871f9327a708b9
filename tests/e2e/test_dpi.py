"""The dialogs at 144 DPI (150 %): the templates keep their dialog-unit layout, the pixel numbers
the code holds (the picture, the reminder's bottom margin, the preview's offset) grow by half,
and no control is clipped by the dialog or overlaps another."""

import struct
import tempfile

import pytest

import zemtest
from test_actionui import PICTURE_RGB, actionui, icon_file
from test_remind import action, remind
from zemtest import IDS, Driver, Progress, control, start_product, unique_title

DPI = 144
# The logical DPI is per Wine prefix: this module runs in a Wine session of its own.
pytestmark = pytest.mark.wine_dpi(DPI)


def at_dpi(pixels):
    """Pixels at 96 DPI at this session's DPI, halves rounded up as the product does."""
    return (pixels * DPI + 48) // 96

PICTURE_PX = 32  # icon_file's size at 96 DPI
ICONS = [(at_dpi(32),) * 2, (at_dpi(16),) * 2]  # big and small, for the resource and the file
PREVIEW_OFFSET_PX = 180
PANEL_MARGIN_PX = 15

# Template rectangles in dialog units; None leaves out a drop-down list's height.
PROGRESS_LAYOUT = {IDS["IDC_PROGRESS_MESSAGE"]: (7, 7, 242, 50),
                   IDS["IDC_HIDE_BUTTON"]: (159, 64, 90, 14)}
PREACTION_LAYOUT = {IDS["IDC_ACTION_MESSAGE"]: (7, 7, 296, 50),
                    IDS["IDC_PREVIEW_BUTTON"]: (7, 61, 90, 14),
                    IDS["IDC_CANCEL_BUTTON"]: (213, 61, 90, 14),
                    IDS["IDC_COUNTDOWN"]: (7, 87, 296, 8),
                    IDS["IDC_REMIND_BUTTON"]: (7, 107, 90, 14),
                    IDS["IDC_REMIND_COMBO"]: (106, 108, 80, None),
                    IDS["IDC_ACTION_BUTTON"]: (213, 107, 90, 14)}
REMINDER_LAYOUT = {IDS["IDC_SUMMARY"]: (7, 10, 186, 30),
                   IDS["IDC_MORE_INFO_BUTTON"]: (213, 7, 90, 14),
                   IDS["IDC_REMIND_BUTTON"]: (7, 73, 90, 14),
                   IDS["IDC_REMIND_COMBO"]: (106, 74, 80, None),
                   IDS["IDC_TAKE_ALL_BUTTON"]: (213, 73, 90, 14),
                   IDS["IDC_ACTION_GROUP"]: (7, 97, 296, 116),
                   IDS["IDC_ACTION_COMBO"]: (16, 112, 90, None),
                   IDS["IDC_DEADLINE"]: (117, 112, 175, 12),
                   IDS["IDC_ACTION_MESSAGE"]: (16, 132, 276, 50),
                   IDS["IDC_PREVIEW_BUTTON"]: (16, 190, 90, 14),
                   IDS["IDC_CANCEL_BUTTON"]: (109, 190, 90, 14),
                   IDS["IDC_ACTION_BUTTON"]: (202, 190, 90, 14)}


def visible_rects(dump):
    return {c["id"]: c["clientRect"] for c in dump["controls"] if c["visible"]}


def layout_faults(dump, layout):
    """What breaks the rules: template mismatches, a scale not grown for 144 DPI, a visible
    control reaching out of the client area, two visible controls overlapping (a group box
    holds its members)."""
    faults = zemtest.layout_mismatches(dump, layout)
    client = dump["clientRect"]
    rects = visible_rects(dump)
    for control_id, rect in rects.items():
        if rect["left"] < 0 or rect["top"] < 0 or rect["right"] > client["right"] \
                or rect["bottom"] > client["bottom"]:
            faults.append(("clipped", control_id, rect))
    boxes = [(i, r) for i, r in rects.items() if i != IDS["IDC_ACTION_GROUP"]]
    for index, (first, a) in enumerate(boxes):
        for second, b in boxes[index + 1:]:
            if a["left"] < b["right"] and b["left"] < a["right"] and \
                    a["top"] < b["bottom"] and b["top"] < a["bottom"]:
                faults.append(("overlap", first, second))
    return faults


def picture_pixels(driver, title, directory):
    """Pixels of the picture's colour in a screenshot of the dialog."""
    path = f"{directory}/shot.bmp"
    driver.screenshot(title, path)
    data = open(path, "rb").read()
    offset, = struct.unpack_from("<I", data, 10)
    colour = bytes((PICTURE_RGB[2], PICTURE_RGB[1], PICTURE_RGB[0]))
    return sum(1 for at in range(offset, len(data), 4) if data[at:at + 3] == colour)


def test_progress_with_a_picture():
    title = unique_title("dpi-progress")
    driver = Driver()
    with tempfile.TemporaryDirectory() as directory:
        image = icon_file(directory)
        with start_product(Progress(title, "m", image_path=image)) as run:
            driver.wait(title)
            zemtest.wait_until(lambda: zemtest.window_icons(title) == [ICONS], what="icons")
            dump = driver.dump(title)
            hide = {IDS["IDC_HIDE_BUTTON"]: PROGRESS_LAYOUT[IDS["IDC_HIDE_BUTTON"]]}
            assert layout_faults(dump, hide) == []
            scale_x, _ = zemtest.fit_dialog_units(dump, hide)
            assert scale_x > 2.0  # about 1.7 at 96 DPI
            box = control(dump, IDS["IDC_PROGRESS_MESSAGE"])["clientRect"]
            margin = 7 * scale_x
            shown = at_dpi(PICTURE_PX)
            assert abs(box["left"] - (margin + shown + margin)) <= 2
            assert abs(box["right"] - (7 + 242) * scale_x) <= 2
            # Drawn at its size for the DPI, smoothed only at its edges.
            expected = range((shown - 2) ** 2, shown ** 2 + 1)
            pixels = zemtest.last_sample(lambda: picture_pixels(driver, title, directory),
                                         lambda count: count in expected)
            assert pixels in expected
            driver.click(title, IDS["IDC_HIDE_BUTTON"])
            assert run.reply()[:2] == (b"OK\n", 0)


def test_preaction_and_its_preview():
    title = unique_title("dpi-preaction")
    driver = Driver()
    with start_product(actionui(title, cancel=True, auto=300,
                                remind=(1800, 3600), preview="details")) as run:
        driver.wait(title)
        dialog = driver.dump(title)
        assert layout_faults(dialog, PREACTION_LAYOUT) == []
        assert driver.click(title, IDS["IDC_PREVIEW_BUTTON"], timeout=0.5) == "pending"
        preview = zemtest.wait_until(
            lambda: (lambda d: d if d["hwnd"] != dialog["hwnd"] else None)(driver.dump(title)),
            what="the preview")
        offset = dialog["rect"]["top"] - preview["rect"]["top"]
        assert offset == at_dpi(PREVIEW_OFFSET_PX)
        zemtest.wait_until(lambda: zemtest.window_icons(title) == [ICONS] * 2, what="icons")
        driver.close(title)  # the preview
        zemtest.wait_until(lambda: driver.dump(title)["hwnd"] == dialog["hwnd"],
                           what="the dialog again")
        driver.click(title, IDS["IDC_ACTION_BUTTON"])
        assert run.reply()[:2] == (b"OK\n", 0)


def test_reminder_folded_and_unfolded():
    title = unique_title("dpi-reminder")
    driver = Driver()
    margin = at_dpi(PANEL_MARGIN_PX)
    with start_product(remind(title, [action(1, "RESTART", ":PREVIEW:CANCEL"), action(2)])) as run:
        driver.wait(title)
        zemtest.wait_until(lambda: zemtest.window_icons(title) == [ICONS], what="icons")
        folded = driver.dump(title)
        take_all = control(folded, IDS["IDC_TAKE_ALL_BUTTON"])["rect"]
        assert folded["rect"]["bottom"] == take_all["bottom"] + margin
        driver.click(title, IDS["IDC_MORE_INFO_BUTTON"])
        unfolded = driver.dump(title)
        assert layout_faults(unfolded, REMINDER_LAYOUT) == []
        group = control(unfolded, IDS["IDC_ACTION_GROUP"])["rect"]
        assert unfolded["rect"]["bottom"] == group["bottom"] + margin
        driver.click(title, IDS["IDC_TAKE_ALL_BUTTON"])
        assert run.reply()[:2] == (b"RUNALL\n", 0)
