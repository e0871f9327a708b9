"""The PROGRESS request end to end under Wine: the dialog, its outcomes and its layout."""

import struct
import tempfile
import time

import pytest

import zemtest
from icon_files import write_icon
from zemtest import IDS, Driver, Progress, control, start_product, unique_title

HIDE = IDS["IDC_HIDE_BUTTON"]
MESSAGE = IDS["IDC_PROGRESS_MESSAGE"]
OK = (b"OK\n", 0)
REQUEST = Progress("t", "m").encode()


def progress(title, message="Working on it.", **options):
    return Progress(title, message, **options)


def test_hide_replies_ok_and_the_process_lingers():
    title = unique_title("progress")
    driver = Driver()
    # Raw bytes: the kit refuses a lone CR, which the product stores as a line break.
    lone_crs = progress(title, "one two\nthree four").encode().replace(
        b"one two\nthree four", b"one\rtwo\nthree\rfour")
    with start_product(lone_crs) as run:
        driver.wait(title)
        dump = driver.dump(title)
        assert dump["owner"]["class"] == "ZemClientHiddenTopLevelWindowClass"
        assert dump["owner"]["caption"] == "MarlixZemClientHiddenWindow"
        assert dump["exstyle"] & zemtest.WS_EX_TOPMOST
        # Without ":TASKBAR": no taskbar button, no system menu.
        assert not dump["exstyle"] & zemtest.WS_EX_APPWINDOW
        assert not dump["style"] & zemtest.WS_SYSMENU
        # Lone CR and lone LF are stored as CR LF, so the edit control shows four lines.
        assert control(dump, MESSAGE)["text"] == "one\r\ntwo\r\nthree\r\nfour"
        assert control(dump, HIDE)["text"] == "Hide"
        driver.click(title, HIDE)
        out, status, seconds = run.reply()
    assert (out, status) == OK
    assert seconds - run.reply_time >= 1.9  # lingers 2 s after the reply


def test_taskbar_flag_keeps_system_menu_and_close_box_replies_ok():
    title = unique_title("progress")
    driver = Driver()
    with start_product(progress(title, taskbar=True)) as run:
        driver.wait(title)
        dump = driver.dump(title)
        assert dump["exstyle"] & zemtest.WS_EX_APPWINDOW
        assert dump["style"] & zemtest.WS_SYSMENU
        driver.syscommand_close(title)
        assert run.reply()[:2] == OK


def test_session_end_writes_closed_once_and_false_changes_nothing():
    title = unique_title("progress")
    driver = Driver()
    with start_product(progress(title)) as run:
        driver.wait(title)
        driver.endsession(title, False)
        assert driver.exists(title)
        assert run.output == b""
        driver.endsession(title, True)
        out, status, _ = run.reply()
    assert (out, status) == (b"CLOSED\n", 0)


@pytest.mark.own_session
def test_stop_event_closes_the_window_with_ok():
    title = unique_title("progress")
    driver = Driver()
    with start_product(progress(title)) as run:
        driver.wait(title)
        with driver.hold_stop_event(20000, signal=True):
            signalled_at = time.monotonic() - run.started
            out, status, _ = run.reply()
    assert (out, status) == OK
    # The run loop polls the event at least every 100 ms; allow for Wine's own latency.
    assert run.reply_time - signalled_at < 1.0


@pytest.mark.own_session
def test_stop_event_signalled_before_start():
    title = unique_title("progress")
    driver = Driver()
    with driver.hold_stop_event(30000, signal=True):
        with start_product(progress(title)) as run:
            assert run.reply()[:2] == OK


def test_request_errors():
    # Raw bytes: requests the kit refuses to write.
    cases = [
        (REQUEST.replace(b"PROGRESS", b"PROGRESS:CANCEL"), b"Error: Bad command\n"),
        (REQUEST.replace(b"MESSAGE:1\nm\n", b"MESSAGE:0\n"), b"Error: Bad message\n"),
        (REQUEST.replace(b"PROGRESS", b"PROGRESS:XLATE"), b"Error: missing xlatepath\n"),
    ]
    runs = [(start_product(req), expected) for req, expected in cases]
    for run, expected in runs:
        with run:
            assert run.reply()[:2] == (expected, zemtest.ERROR_EXIT_STATUS)


def test_translation_replaces_hide_and_missing_files_change_nothing(tmp_path):
    translation = tmp_path / "de.txt"
    translation.write_bytes(b"hide\tnicht\r\nHide\tAusblenden\r\n")
    translated, plain = unique_title("progress"), unique_title("progress")
    driver = Driver()
    with start_product(progress(translated, translation_path=zemtest._windows_path(
            translation))) as first, \
            start_product(progress(plain, translation_path="Z:\\no\\such\\file.txt",
                                   image_path="Z:\\no\\such\\picture.ico")) as second:
        driver.wait(translated)
        driver.wait(plain)
        assert control(driver.dump(translated), HIDE)["text"] == "Ausblenden"
        plain_dump = driver.dump(plain)
        assert control(plain_dump, HIDE)["text"] == "Hide"
        assert control(plain_dump, MESSAGE)["clientRect"]["left"] < 20
        driver.click(translated, HIDE)
        driver.click(plain, HIDE)
        assert first.reply()[:2] == OK
        assert second.reply()[:2] == OK


def test_picture_moves_the_message_right_and_keeps_its_right_edge(tmp_path):
    icon = write_icon(tmp_path, width=32, height=32)
    with_picture, without = unique_title("progress"), unique_title("progress")
    driver = Driver()
    with start_product(progress(with_picture, image_path=zemtest._windows_path(icon))) as first, \
            start_product(progress(without)) as second:
        driver.wait(with_picture)
        driver.wait(without)
        # The request's icon, at both sizes, is the window's.
        zemtest.wait_until(lambda: zemtest.window_icons(with_picture) == [zemtest.ICONS_96_DPI],
                           what="both icons from the file")
        moved = control(driver.dump(with_picture), MESSAGE)["clientRect"]
        plain = control(driver.dump(without), MESSAGE)["clientRect"]
        margin = plain["left"]
        assert moved["left"] == plain["left"] + 32 + margin
        assert moved["right"] == plain["right"]
        assert (moved["top"], moved["bottom"]) == (plain["top"], plain["bottom"])
        for title in (with_picture, without):
            driver.click(title, HIDE)
        assert first.reply()[:2] == OK
        assert second.reply()[:2] == OK


def test_an_empty_message_hides_the_message_control():
    title = unique_title("progress")
    driver = Driver()
    # Raw bytes: the kit refuses a NUL, which ends the text as the product reads it.
    with start_product(progress(title, "x").encode().replace(b"\nx\n", b"\n\0\n")) as run:
        driver.wait(title)
        assert not control(driver.dump(title), MESSAGE)["visible"]
        driver.click(title, HIDE)
        assert run.reply()[:2] == OK


HIGH_CONTRAST_FACE = (0, 0, 128)


def bitmap_pixel(data, x, y):
    """(r, g, b) of a 32-bit BMP whose rows are stored bottom first."""
    offset, = struct.unpack_from("<I", data, 10)
    width, height = struct.unpack_from("<ii", data, 18)
    at = offset + ((height - 1 - y) * width + x) * 4
    return data[at + 2], data[at + 1], data[at]


@pytest.mark.own_session
def test_picture_margin_takes_the_high_contrast_face():
    """A high-contrast scheme without a visual style: the picture's transparent margin shows the
    scheme's face, not the light one a default scheme would have given it."""
    session = zemtest.session()
    for key, name, value in ((r"HKCU\Control Panel\Colors", "ButtonFace", "0 0 128"),
                             (r"HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager",
                              "ThemeActive", "0")):
        assert session.run("reg", ["add", key, "/v", name, "/d", value, "/f"])[1] == 0
    title = unique_title("progress-contrast")
    driver = Driver()
    inner = range(4, 12)  # opaque blue inside a transparent margin of 4 pixels
    with tempfile.TemporaryDirectory() as directory:
        image = write_icon(directory, width=16, height=16, pixel=lambda x, y: (
            (40, 120, 200, 255) if x in inner and y in inner else (255, 255, 255, 0)))
        with start_product(progress(title, "m", image_path=str(image))) as run:
            driver.wait(title)
            shot = f"{directory}/shot.bmp"

            def margin_beside_the_blue():
                driver.screenshot(title, shot)
                data = open(shot, "rb").read()
                width, height = struct.unpack_from("<ii", data, 18)
                blue = next(((x, y) for y in range(height) for x in range(width)
                             if bitmap_pixel(data, x, y) == (40, 120, 200)), None)
                if blue is None:
                    return "no blue painted"
                x, y = blue
                return bitmap_pixel(data, x - 2, y + 2), bitmap_pixel(data, x + 2, y - 2)

            faces = zemtest.last_sample(margin_beside_the_blue,
                                        lambda found: found == (HIGH_CONTRAST_FACE,) * 2)
            assert faces == (HIGH_CONTRAST_FACE,) * 2
            driver.click(title, HIDE)
            assert run.reply()[:2] == OK
