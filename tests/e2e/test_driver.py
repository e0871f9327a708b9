"""The test driver itself, checked against floor_dialog.exe (the progress template, nothing else)."""

import struct

import pytest

import zemtest
from zemtest import IDS

# Progress dialog template: client size and control rectangles in dialog units.
PROGRESS_SIZE = (256, 85)
PROGRESS_LAYOUT = {
    IDS["IDC_MESSAGE_LABEL"]: (7, 7, 242, 50),
    IDS["IDC_PROGRESS_MESSAGE"]: (7, 7, 242, 50),
    IDS["IDC_HIDE_BUTTON"]: (159, 64, 90, 14),
}


def test_dump_matches_progress_template():
    title = zemtest.unique_title("floor-dump")
    driver = zemtest.Driver()
    with zemtest.start_floor_dialog(title):
        driver.wait(title)
        dump = driver.dump(title)

        assert dump["caption"] == title
        assert dump["class"] == "#32770"
        for bit in (zemtest.WS_POPUP, zemtest.WS_CAPTION, zemtest.WS_SYSMENU,
                    zemtest.WS_MINIMIZEBOX, zemtest.DS_MODALFRAME, zemtest.DS_SETFONT):
            assert dump["style"] & bit == bit, hex(bit)
        assert dump["exstyle"] & zemtest.WS_EX_APPWINDOW
        assert dump["exstyle"] & zemtest.WS_EX_TOPMOST
        assert dump["owner"] is None

        # Tab order is control order: the message (after its hidden label), then "Hide".
        assert [c["id"] for c in dump["controls"]] == list(PROGRESS_LAYOUT)
        message = zemtest.control(dump, IDS["IDC_PROGRESS_MESSAGE"])
        assert message["class"] == "Edit"
        for bit in (zemtest.ES_MULTILINE, zemtest.ES_READONLY, zemtest.WS_VSCROLL,
                    zemtest.WS_TABSTOP):
            assert message["style"] & bit == bit, hex(bit)
        assert zemtest.has_border(message)
        hide = zemtest.control(dump, IDS["IDC_HIDE_BUTTON"])
        assert (hide["class"], hide["text"]) == ("Button", "Hide")
        assert hide["style"] & zemtest.WS_TABSTOP
        assert not hide["style"] & zemtest.BS_DEFPUSHBUTTON
        assert hide["visible"] and hide["enabled"]

        # The client area has the template's size in the units the controls are laid out in.
        assert zemtest.layout_mismatches(dump, PROGRESS_LAYOUT) == []
        scale_x, scale_y = zemtest.fit_dialog_units(dump, PROGRESS_LAYOUT)
        assert scale_x > 1 and scale_y > 1
        client = dump["clientRect"]
        assert abs(client["right"] - PROGRESS_SIZE[0] * scale_x) <= 2
        assert abs(client["bottom"] - PROGRESS_SIZE[1] * scale_y) <= 2
        screen = dump["clientScreenRect"]
        assert screen["right"] - screen["left"] == client["right"]

        driver.click(title, IDS["IDC_HIDE_BUTTON"])


def test_hide_button_ends_program_with_exit_0():
    title = zemtest.unique_title("floor-hide")
    driver = zemtest.Driver()
    with zemtest.start_floor_dialog(title) as run:
        driver.wait(title)
        assert driver.exists(title)
        assert driver.click(title, IDS["IDC_HIDE_BUTTON"]) == "done"
        driver.wait_gone(title)
        output, status, seconds = run.reply(timeout=30)
        assert (output, status) == (b"", 0)
        assert not driver.exists(title)


def test_click_on_disabled_button_is_ignored():
    title = zemtest.unique_title("floor-disabled")
    driver = zemtest.Driver()
    hide = IDS["IDC_HIDE_BUTTON"]
    with zemtest.start_floor_dialog(title) as run:
        driver.wait(title)
        driver.enable(title, hide, False)
        assert not zemtest.control(driver.dump(title), hide)["enabled"]
        assert driver.click(title, hide) == "ignored"
        assert driver.exists(title) and run.running()
        driver.enable(title, hide, True)
        assert driver.click(title, hide) == "done"
        assert run.reply(timeout=30)[1] == 0


def test_key_goes_to_focused_control():
    title = zemtest.unique_title("floor-key")
    driver = zemtest.Driver()
    with zemtest.start_floor_dialog(title) as run:
        driver.wait(title)
        assert driver.dump(title)["focusId"] == IDS["IDC_PROGRESS_MESSAGE"]
        # A multi-line edit control answers Escape by asking its dialog to close.
        assert driver.key(title, zemtest.VK_ESCAPE) == f"Edit {IDS['IDC_PROGRESS_MESSAGE']}"
        assert run.reply(timeout=30)[1] == 0


def test_close_paths_end_program():
    driver = zemtest.Driver()
    ways = {
        "close": driver.close,
        "syscommand": driver.syscommand_close,
        "close message": lambda t: driver.message(t, zemtest.CLOSE_DIALOG_MESSAGE),
    }
    for name, close in ways.items():
        title = zemtest.unique_title("floor-close")
        with zemtest.start_floor_dialog(title) as run:
            driver.wait(title)
            close(title)
            _, status, _ = run.reply(timeout=30)
            assert status == 0, name


def test_driver_reports_missing_window_and_control():
    driver = zemtest.Driver()
    title = zemtest.unique_title("floor-missing")
    try:
        driver.click(title, IDS["IDC_HIDE_BUTTON"])
    except zemtest.DriverError as error:
        assert "no visible window" in str(error)
    else:
        raise AssertionError("click on a missing window succeeded")
    with zemtest.start_floor_dialog(title):
        driver.wait(title)
        try:
            driver.click(title, IDS["IDC_CANCEL_BUTTON"])
        except zemtest.DriverError as error:
            assert "no control" in str(error)
        else:
            raise AssertionError("click on a missing control succeeded")
        driver.close(title)
        driver.wait_gone(title)


def test_screenshot_is_a_bitmap_of_the_window():
    title = zemtest.unique_title("floor-shot")
    driver = zemtest.Driver()
    out = zemtest.WINE_STATE / f"{title}.bmp"
    with zemtest.start_floor_dialog(title):
        driver.wait(title)
        dump = driver.dump(title)
        width, height = driver.screenshot(title, out)
        driver.close(title)
    try:
        data = out.read_bytes()
    finally:
        out.unlink()
    rect = dump["rect"]
    assert (width, height) == (rect["right"] - rect["left"], rect["bottom"] - rect["top"])
    assert data[:2] == b"BM"
    offset, = struct.unpack_from("<I", data, 10)
    bmp_width, bmp_height, _, bits = struct.unpack_from("<iiHH", data, 18)
    assert (bmp_width, bmp_height, bits) == (width, height, 32)
    pixels = data[offset:]
    assert len(pixels) == width * height * 4
    # A painted dialog is not one flat colour.
    assert len({pixels[i:i + 3] for i in range(0, len(pixels), 4)}) > 2


@pytest.mark.own_session
def test_stop_event_round_trip():
    driver = zemtest.Driver()
    with driver.hold_stop_event(60000):
        assert not driver.stop_event_signalled()
        assert driver.stop_event("signal") == "done"
        assert driver.stop_event_signalled()
        assert driver.stop_event("reset") == "done"
        assert not driver.stop_event_signalled()
    # Once no process holds it the event is gone; a new holder can create it signalled.
    with driver.hold_stop_event(60000, signal=True):
        assert driver.stop_event_signalled()
    assert not driver.stop_event_signalled()
