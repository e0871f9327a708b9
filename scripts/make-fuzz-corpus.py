#!/usr/bin/env python3
"""Writes the small seed corpora of the fuzzers to fuzz/corpus/<target>/: one valid input of each
shape a target knows, plus a few broken ones. Run again after changing it; the files are committed."""

import pathlib
import struct
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests" / "e2e"))
sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "agent" / "python"))
from icon_files import ico_bytes  # noqa: E402
from zemclientui import Action, ActionUi, Progress, Remind  # noqa: E402

ROOT = pathlib.Path(__file__).resolve().parent.parent / "fuzz" / "corpus"


def request_seeds():
    actions = [Action(7, "RESTART", 600, "Restart needed", "Body\r\nline two", "Patch",
                      preview=True, cancel=True),
               Action(8, "NONE", -1, "Restart needed", "Body\r\nline two", "Patch")]
    progress = Progress("Working", "Installing\r\nplease wait", taskbar=True).encode()
    return {
        "progress": progress,
        "progress_xlate": Progress("T", "M", translation_path="/nonexistent/de.txt",
                                   image_path="/nonexistent/a.ico").encode(),
        "actionui": ActionUi("Restart", "The computer restarts.", "Restart Now", cancel=True,
                             preview_text="Details", remind_seconds=1800,
                             max_remind_seconds=3600, auto_seconds=30,
                             auto_message="Starting in {x}").encode(),
        "remind": Remind("Pending", actions, 0, auto_seconds=60, auto_take_action=True).encode(),
        # Raw bytes for what the kit refuses to write: CR LF line ends, a wrong version, a count
        # past the end, a 0x1A byte.
        "crlf": progress.replace(b"\n", b"\r\n"),
        "bad_version": b"UI 0.9\nPROGRESS\n",
        "short_field": b"UI 1.2\r\nPROGRESS\nTITLE:99\nshort",
        "ctrl_z": b"UI 1.2\r\nACTIONUI\nBUTTONTEXT:3\na\x1ab",
        # Counts over the fuzz builds' allocation cap: their allocation-failure replies.
        "huge_title": b"UI 1.2\r\nPROGRESS\nTITLE:2000000000\n",
        "huge_automessage": b"UI 1.2\r\nACTIONUI:AUTO\nAUTOTIME:30\nAUTOMESSAGE:158888888\n",
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
