#!/usr/bin/env python3
"""Writes the small seed corpora of the fuzzers to fuzz/corpus/<target>/: one valid input of each
shape a target knows, plus a few broken ones. Run again after changing it; the files are committed."""

import pathlib
import struct
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests" / "e2e"))
from icon_files import ico_bytes  # noqa: E402

ROOT = pathlib.Path(__file__).resolve().parent.parent / "fuzz" / "corpus"


def field(key, text):
    return b"%s:%d\n%s" % (key, len(text), text)


def remind_item(kind, action_id, postpone):
    return (b"ACTIONITEM%s\nACTIONID:%d\nACTIONPOSTPONE:%d\n" % (kind, action_id, postpone)
            + field(b"ACTIONITEMMSG", b"Restart needed")
            + field(b"ACTIONITEMBODY", b"Body\r\nline two")
            + field(b"ACTIONITEMTITLE", b"Patch"))


def request_seeds():
    head = b"UI 1.2\r\n"
    return {
        "progress": head + b"PROGRESS:TASKBAR\n" + field(b"TITLE", b"Working")
        + field(b"MESSAGE", b"Installing\r\nplease wait"),
        "progress_xlate": head + b"PROGRESS:XLATE\n" + field(b"TITLE", b"T")
        + field(b"MESSAGE", b"M") + field(b"XLATEPATH", b"/nonexistent/de.txt")
        + field(b"IMAGEPATH", b"/nonexistent/a.ico"),
        "actionui": head + b"ACTIONUI:CANCEL:REMIND:PREVIEW:AUTO\nAUTOTIME:30\n"
        + field(b"AUTOMESSAGE", b"Starting in {x}") + b"REMINDTIME:1800\nMAXREMINDTIME:3600\n"
        + field(b"BUTTONTEXT", b"Restart Now") + field(b"TITLE", b"Restart")
        + field(b"MESSAGE", b"The computer restarts.") + field(b"PREVIEW", b"Details"),
        "remind": head + b"REMIND:AUTOTAKEACTION\nAUTOTIME:60\nREMINDTIME:0\n"
        + field(b"TITLE", b"Pending") + b"ACTIONCOUNT:2\n"
        + remind_item(b":CANCEL:PREVIEW:RESTART", 7, 600) + remind_item(b":NONE", 8, -1),
        "bad_version": b"UI 0.9\nPROGRESS\n",
        "short_field": head + b"PROGRESS\nTITLE:99\nshort",
        "ctrl_z": head + b"ACTIONUI\n" + field(b"BUTTONTEXT", b"a\x1ab"),
        # Counts over the fuzz builds' allocation cap: their allocation-failure replies.
        "huge_title": head + b"PROGRESS\nTITLE:2000000000\n",
        "huge_automessage": head + b"ACTIONUI:AUTO\nAUTOTIME:30\nAUTOMESSAGE:158888888\n",
    }


def localize_seeds():
    # Bytes as FuzzedDataProvider takes them: random-length strings end at a lone backslash, the
    # bool and the argument count come from the end of the input.
    def text(value):
        return value.replace(b"\\", b"\\\\") + b"\\ "
    return {
        "two_arguments": text(b" Action {x} of {y}") + text(b" Aktion {x} von {y}")
        + text(b"3") + text(b"7") + b"\x02\x01",
        "brace_tab_crlf_variables": text(b"{_obrace}x{_cbrace}{_tab}{_crlf}") + text(b"") + b"\x00\x00",
        "unclosed": text(b"Start by {month} {day") + text(b"{x}") + text(b"May") + b"\x01\x01",
        "bad_name": text(b"{a-b}") + text(b"{}") + b"\x00\x01",
    }


def translation_seeds():
    return {
        "captions": b"Cancel\tAbbrechen\r\nRemind Again\tnote\tErneut erinnern\r\n"
        b"\tno key\r\nno tab\r\n\r\nCancel\tAaa\r\n",
        "bom_and_empty_value": b"\xef\xbb\xbfFirst\tErste\nEmpty\t\nkey \tblank\rlast\tend",
        "digits": b"".join(b"%d\t%c\n" % (d, 0x30 + (9 - d)) for d in range(10)),
    }


def utf8_seeds():
    return {
        "ascii": b"\x03\x00Take Action Now",
        "mixed": b"\x07\x00Gr\xc3\xbc\xc3\x9fe \xe2\x82\xac \xf0\x9f\x98\x80 \xe4\xb8\xad",
        "surrogate": b"\x01\x00\xed\xa0\x80",
        "overlong_and_truncated": b"\x02\x00\xc0\x80\xe2\x82",
    }


def icon_seeds():
    return {
        "icon_16": ico_bytes(16, 16),
        "icon_64": ico_bytes(64, 64, lambda x, y: (x * 4, y * 4, 0, 128)),
        "icon_1x3": ico_bytes(1, 3),
        "not_an_icon": b"\x00\x00\x02\x00\x01\x00" + bytes(16),
    }


def calendar_seeds():
    def seed(year, month, day, day_number, duration):
        return struct.pack("<qqBBI", duration, day_number, day, month, year)
    return {
        "epoch": seed(1970, 1, 1, 719528, 0),
        "leap_day": seed(2000, 2, 29, -1, 90061000000),
        "extremes": seed(0xFFFFFFFF, 12, 31, -(2 ** 63), -(2 ** 63)),
    }


def main():
    targets = {
        "request_fuzzer": request_seeds(),
        "localize_fuzzer": localize_seeds(),
        "translation_fuzzer": translation_seeds(),
        "utf8_fuzzer": utf8_seeds(),
        "icon_fuzzer": icon_seeds(),
        "calendar_fuzzer": calendar_seeds(),
    }
    for target, seeds in targets.items():
        directory = ROOT / target
        directory.mkdir(parents=True, exist_ok=True)
        for name, data in seeds.items():
            (directory / name).write_bytes(data)


if __name__ == "__main__":
    main()
