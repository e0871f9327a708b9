"""Reads request bytes exactly as the product reads its standard input, and reports each field as
read, the first problem in words with the reply the product gives, and what it accepts silently.

The product reads through the C runtime's text mode (CR LF arrives as LF, a lone CR stays, a 0x1A
byte ends the input) with fgets into a 16000-byte buffer: trailing blanks, tabs and LFs are
stripped and lines of fewer than two characters skipped. Sized values are read with fread.
"""

import re
from bisect import bisect_right
from dataclasses import dataclass, field
from typing import List, Optional

LINE_BUFFER = 16000
BOM = b"\xef\xbb\xbf"
INT32_MIN, INT32_MAX = -2 ** 31, 2 ** 31 - 1

# Every key a request line can start with; a line starting "KEY:" with one of them is a key line.
KEYS = ("AUTOTIME", "AUTOMESSAGE", "REMINDTIME", "MAXREMINDTIME", "BUTTONTEXT", "TITLE", "MESSAGE",
        "ACTIONPREVIEW", "XLATEPATH", "IMAGEPATH", "ACTIONCOUNT", "ACTIONITEM", "ACTIONID",
        "ACTIONPOSTPONE", "ACTIONITEMMSG", "ACTIONITEMBODY", "ACTIONITEMTITLE")
# A key line as a writer puts it, also when the value before it ends without its LF.
_KEY_LINE = re.compile(
    rb"(?:(?:%s):[ \t]*[+-]?[0-9]+[ \t\r]*(?:\n|$)|ACTIONITEM:(?:RESTART|SHUTDOWN|NONE))"
    % b"|".join(k.encode() for k in KEYS if k != "ACTIONITEM"))


@dataclass
class Field:
    """A request line the reader kept, or a sized value it read (after its count's line)."""
    key: str  # the line's text before its first ':' (the whole line without one); a value's key
    declared: Optional[int]  # the number scanned from the line; a value's count
    taken: Optional[int]  # the bytes a sized read took after text mode; None for a line
    line: int  # 1-based line of the raw bytes where it starts
    offset: int  # raw byte offset where it starts
    action: int  # 1-based REMIND action, 0 outside the actions


@dataclass
class CheckReport:
    ok: bool  # the product accepts the request
    reply: Optional[str]  # the error reply the product gives, or None
    problem: Optional[str]  # the first problem in words, or None
    warnings: List[str] = field(default_factory=list)
    fields: List[Field] = field(default_factory=list)


@dataclass(frozen=True)
class _Text:
    key: str
    bad: Optional[str]
    read_failure: str


TITLE = _Text("TITLE", "Error: Bad title", "Error: failed reading title")
MESSAGE = _Text("MESSAGE", "Error: Bad message", "Error: failed reading message")
AUTO_MESSAGE = _Text("AUTOMESSAGE", "Error: Bad auto message error",
                     "Error: failed reading autoMessage")
BUTTON_TEXT = _Text("BUTTONTEXT", "Error: Bad button text", "Error: failed reading button text")
PREVIEW = _Text("ACTIONPREVIEW", "Error: Bad preview", "Error: failed reading preview")
ACTION_MESSAGE = _Text("ACTIONITEMMSG", "Error: Bad action message",
                       "Error: failed reading message")
ACTION_BODY = _Text("ACTIONITEMBODY", "Error: Bad action body", "Error: failed reading body")
ACTION_TITLE = _Text("ACTIONITEMTITLE", "Error: Bad action title", "Error: failed reading title")
TRANSLATION_PATH = _Text("XLATEPATH", "Error: missing xlatepath",
                         "Error: failed reading translation file path")
IMAGE_PATH = _Text("IMAGEPATH", None, "Error: failed reading image file path")

BAD_COMMAND = "Error: Bad command"
BAD_AUTO_TIME = "Error: Bad auto time error"
BAD_REMIND_TIME = "Error: Bad remind time error"
BAD_MAX_REMIND_TIME = "Error: Bad max remind time error"
BAD_ACTION_ITEM = "Error: Bad action item"

PROGRESS_FLAGS = (":XLATE", ":TASKBAR")
ACTIONUI_FLAGS = (":PREVIEW", ":CANCEL", ":REMIND", ":AUTO", ":XLATE", ":TASKBAR")
# ":AUTOTAKEACTION" first, or ":AUTO" would take its first five characters.
REMIND_FLAGS = (":AUTOTAKEACTION", ":AUTO", ":XLATE", ":TASKBAR")
ITEM_KINDS = (":RESTART", ":SHUTDOWN", ":NONE")
ITEM_OPTIONS = (":PREVIEW", ":CANCEL")


class _Stop(Exception):
    """The reader's answer: the error reply, and the problem in words."""

    def __init__(self, reply, problem):
        super().__init__(reply)
        self.reply = reply
        self.problem = problem


def check(data: bytes) -> CheckReport:
    """Reads the request bytes as the product does; see the module's description."""
    reader = _Reader(bytes(data))
    try:
        _read_request(reader)
    except _Stop as stop:
        return CheckReport(False, stop.reply, stop.problem, reader.warnings, reader.fields)
    return CheckReport(True, None, None, reader.warnings, reader.fields)


def _quote(text):
    return "`" + text.decode("utf-8", "replace") + "`"


def _answers(reply):
    return f"the product answers `{reply}`"


def _parse_flags(text, flags):
    """Prefix matching in the flags' fixed order at each position, as the product does; the
    flags found, or None with the text that matches none."""
    found = set()
    position = 0
    while position < len(text):
        match = next((f for f in flags if text.startswith(f.encode(), position)), None)
        if match is None:
            return None, text[position:]
        found.add(match)
        position += len(match)
    return found, b""


def _scan_number(line, key):
    """"<key>:%d": the exact key and colon, blanks, a sign, digits; None when the scan fails or
    the number leaves the 32-bit range."""
    prefix = (key if isinstance(key, bytes) else key.encode()) + b":"
    if not line.startswith(prefix):
        return None
    match = re.match(rb"[ \t\n\v\f\r]*([+-]?)([0-9]+)", line[len(prefix):])
    if match is None:
        return None
    value = int(match.group(2))
    value = -value if match.group(1) == b"-" else value
    return value if INT32_MIN <= value <= INT32_MAX else None


class _Reader:
    """The product's framing over the bytes, with a record of what each read met."""

    def __init__(self, raw):
        self.raw = raw
        self.data, self.raw_at, self.ctrl_z = _text_mode(raw)
        self.line_starts = [0] + [i + 1 for i, b in enumerate(raw) if b == 0x0A]
        self.position = 0
        self.ctrl_z_taken = False
        self.fields = []
        self.warnings = []
        self.line = b""
        self.current = None  # the Field of the current line
        self.action = 0
        self.action_count = 0
        self.last_sized = None  # (Field, logical start) of the latest sized value
        self.lines_since_sized = 0

    # ---- text mode and the framing ----

    def raw_line(self, logical):
        offset = self.raw_at[logical]
        if logical == len(self.data) and self.ctrl_z is not None and self.ctrl_z_taken:
            offset += 1  # a read that met the 0x1A took it from the stream
        return bisect_right(self.line_starts, offset), offset

    def next_line(self):
        """ReadRequestLine: the next line of two or more characters, or False at the end."""
        while self.position < len(self.data):
            start = self.position
            end = self.data.find(b"\n", start, start + LINE_BUFFER - 1)
            end = min(start + LINE_BUFFER - 1, len(self.data)) if end < 0 else end + 1
            self.position = end
            self.ctrl_z_taken |= self.data[end - 1:end] != b"\n" and end - start < LINE_BUFFER - 1
            text = self.data[start:end].split(b"\0", 1)[0].rstrip(b" \t\n")
            if len(text) >= 2:
                self.line = text
                number, offset = self.raw_line(start)
                key = text.split(b":", 1)[0]
                self.current = Field(_key_text(key), _scan_number(text, key),
                                     None, number, offset, self.action)
                self.fields.append(self.current)
                self.lines_since_sized += 1
                return True
            if text and self.last_sized is not None and self.lines_since_sized == 0:
                self.warn_left_over(text)
        self.ctrl_z_taken = True
        self.line = b""
        self.current = None
        return False

    def scan(self, key):
        return _scan_number(self.line, key) if self.current else None

    def read_text(self, text_field):
        if not self.next_line():
            if text_field.bad is None:
                return None
            raise self.missing(text_field.bad, f"{text_field.key}:<byte count>")
        return self.read_text_at_line(text_field)

    def read_text_at_line(self, text_field):
        count = self.scan(text_field.key)
        if count is None or count < 1:
            if text_field.bad is None:
                return None
            if count is not None:
                raise _Stop(text_field.bad, f"{self.where()}: {text_field.key} says {count} bytes, "
                            f"but every text needs at least one; {_answers(text_field.bad)}")
            raise self.unexpected(text_field.bad, f"{text_field.key}:<byte count>")
        start = self.position
        value = self.data[start:start + count]
        self.position = start + len(value)
        number, offset = self.raw_line(start)
        self.fields.append(Field(text_field.key, count, len(value), number, offset, self.action))
        self.ctrl_z_taken |= len(value) < count
        if len(value) < count:
            end = ("a 0x1A byte, which ends text-mode input" if self.ctrl_z is not None
                   else "the end of the input")
            raise _Stop(text_field.read_failure,
                        f"{self.where()}: {text_field.key} says {count} bytes, but only "
                        f"{len(value)} come before {end}"
                        f"{self.crlf_note(start, start + len(value))}; "
                        f"{_answers(text_field.read_failure)}")
        self.last_sized = (self.fields[-1], start)
        self.lines_since_sized = 0
        self.warn_about_value(text_field.key, start, value)
        return value

    # ---- words ----

    def where(self):
        place = f"line {self.current.line}" if self.current else "the end of the input"
        if self.action:
            return f"action {self.action} of {self.action_count}, {place}"
        return place

    def missing(self, reply, expected):
        """No line where `expected` should come."""
        diagnosis = self.count_diagnosis(reply)
        if diagnosis:
            return _Stop(reply, diagnosis)
        where = f"action {self.action} of {self.action_count}: " if self.action else ""
        return _Stop(reply, f"{where}the input ends where `{expected}` should come; "
                            f"{_answers(reply)}")

    def unexpected(self, reply, expected):
        """The current line is not what the reader wanted."""
        diagnosis = self.count_diagnosis(reply)
        if diagnosis:
            return _Stop(reply, diagnosis)
        found, wanted = self.current.key, expected.split(":", 1)[0]
        order = ""
        if found in KEYS and found != wanted:
            later = re.search(rb"(?:^|\n)%s:" % wanted.encode(), self.data[self.position:])
            order = (f" ({found} is written before {wanted})" if later
                     else f" ({found} is out of place)")
        return _Stop(reply, f"{self.where()}: `{expected}` should come here, but the line reads "
                            f"{_quote(self.line[:60])}{order}; {_answers(reply)}")

    def count_diagnosis(self, reply):
        """When the line that failed is the first after a sized value whose count disagrees with
        the bytes before the next key line, that count is the fault. A reply of None: the line
        was taken for the optional image path and ignored."""
        if self.last_sized is None or self.lines_since_sized > 1:
            return None
        sized, start = self.last_sized
        span = self.span_to_key_line(start)
        if span == sized.declared:
            return None
        where = f"action {sized.action} of {self.action_count}: " if sized.action else ""
        head = (f"{where}{sized.key} says {sized.declared} bytes"
                f"{self.crlf_note(start, start + span)}, but ")
        if span > sized.declared:
            left = (f"{span} bytes come before the next key line; the {span - sized.declared} "
                    f"left over")
            if reply is None:
                return head + left + (" are taken for the optional IMAGEPATH line and ignored: "
                                      "the text shows without them")
            return head + left + f" make the product answer `{reply}`"
        return head + (f"only {span} bytes come before the next key line; the "
                       f"{sized.declared - span} too many take the start of that line, so "
                       + ("it is ignored" if reply is None else f"the product answers `{reply}`"))

    def span_to_key_line(self, start):
        """From a value's start to just before the LF that precedes the next key line (or to the
        key itself when no LF does, or to the end)."""
        match = _KEY_LINE.search(self.data, start + 1)
        end = len(self.data) if match is None else match.start()
        return end - 1 - start if self.data[end - 1:end] == b"\n" else end - start

    def crlf_note(self, start, end):
        """Says so when a value's raw bytes hold CR LF, which text mode folds before counting."""
        if b"\r\n" not in self.raw[self.raw_at[start]:self.raw_at[end]]:
            return ""
        return " (the value holds CR LF, which text mode delivers as LF: count after folding)"

    def warn_left_over(self, text):
        sized, start = self.last_sized
        span = self.span_to_key_line(start)
        said = f"{sized.key} says {sized.declared} bytes"
        if span != sized.declared:
            said += f", but {span} bytes come before the next key line"
        where = f"action {sized.action} of {self.action_count}: " if sized.action else ""
        self.warnings.append(f"{where}{said}: the left-over {_quote(text)} is skipped as a short "
                             f"line, and the text shows without it")

    def warn_about_value(self, key, start, value):
        where = f"action {self.action} of {self.action_count}: " if self.action else ""
        raw = self.raw[self.raw_at[start]:self.raw_at[start + len(value)]]
        if b"\r\n" in raw:
            self.warnings.append(f"{where}{key} holds CR LF: text mode delivers it as LF and the "
                                 f"count must be of the bytes after folding; write LF")
        if BOM in value:
            self.warnings.append(f"{where}{key} holds a UTF-8 byte-order mark, which shows as a "
                                 f"stray character")
        if key in ("XLATEPATH", "IMAGEPATH") and not value.isascii():
            self.warnings.append(f"{key} holds non-ASCII bytes: the product opens the path with "
                                 f"the ANSI calls, so it must be in the system's ANSI code page")


def _key_text(key):
    """The key as text; when it is no valid UTF-8, every byte above ASCII reads as U+FFFD."""
    try:
        return key.decode("utf-8")
    except UnicodeDecodeError:
        return "".join(chr(b) if b < 0x80 else "\ufffd" for b in key)


def _text_mode(raw):
    """The bytes as text mode delivers them, the raw offset of each (and of the end), and where a
    0x1A byte ended the input."""
    data = bytearray()
    raw_at = []
    i = 0
    while i < len(raw):
        byte = raw[i]
        if byte == 0x1A:
            raw_at.append(i)
            return bytes(data), raw_at, i
        raw_at.append(i)
        if byte == 0x0D and raw[i + 1:i + 2] == b"\n":
            data.append(0x0A)
            i += 2
            continue
        data.append(byte)
        i += 1
    raw_at.append(len(raw))
    return bytes(data), raw_at, None


# ---- the readers of the request start and the three commands ----

def _read_request(reader):
    if not reader.next_line():
        raise _Stop("Error: No version", "the input is empty; " + _answers("Error: No version"))
    if not reader.line.startswith(b"UI 1.2"):
        reply = "Error: Incompatible version"
        if reader.raw.startswith(BOM):
            raise _Stop(reply, "the request starts with a UTF-8 byte-order mark (EF BB BF); "
                               f"write UTF-8 without it; {_answers(reply)}")
        raise _Stop(reply, f"line 1: the version line must start with `UI 1.2`, but reads "
                           f"{_quote(reader.line[:60])}; {_answers(reply)}")
    if not reader.next_line():
        raise _Stop(BAD_COMMAND, "the input ends after the version line; " + _answers(BAD_COMMAND))
    for word, command in ((b"PROGRESS", _read_progress), (b"ACTIONUI", _read_actionui),
                          (b"REMIND", _read_remind)):
        if reader.line.startswith(word):
            return command(reader, reader.line[len(word):])
    raise _Stop(BAD_COMMAND, f"line {reader.current.line}: {_quote(reader.line[:60])} is no "
                             f"command (PROGRESS, ACTIONUI or REMIND); {_answers(BAD_COMMAND)}")


def _flags(reader, text, flags):
    found, rest = _parse_flags(text, flags)
    if found is None:
        raise _Stop(BAD_COMMAND, f"line {reader.current.line}: the flags {_quote(rest)} match "
                                 f"none of {''.join(flags)}; {_answers(BAD_COMMAND)}")
    return found


def _read_tail(reader, translate):
    if translate:
        reader.read_text(TRANSLATION_PATH)
    image = reader.read_text(IMAGE_PATH)
    if image is not None:
        return
    if reader.current is None:
        reader.warnings.append(
            "nothing follows the last field: the product reads on for the optional IMAGEPATH "
            "line and waits until standard input is closed; close it after writing the request")
        return
    ignored = (f"line {reader.current.line} ({_quote(reader.line[:60])}) is no IMAGEPATH line: the "
               f"product ignores it and what follows, and shows no image")
    reader.warnings.append(reader.count_diagnosis(None) or ignored)


def _read_progress(reader, flag_text):
    flags = _flags(reader, flag_text, PROGRESS_FLAGS)
    reader.read_text(TITLE)
    reader.read_text(MESSAGE)
    _read_tail(reader, ":XLATE" in flags)


def _read_actionui(reader, flag_text):
    flags = _flags(reader, flag_text, ACTIONUI_FLAGS)
    auto, remind = ":AUTO" in flags, ":REMIND" in flags
    if not reader.next_line():
        first = ((BAD_AUTO_TIME, "AUTOTIME:<seconds>") if auto
                 else (BAD_REMIND_TIME, "REMINDTIME:<seconds>") if remind
                 else (TITLE.bad, "BUTTONTEXT:<byte count>"))
        raise reader.missing(*first)
    if auto:
        seconds = reader.scan("AUTOTIME")
        if seconds is None:
            raise reader.unexpected(BAD_AUTO_TIME, "AUTOTIME:<seconds>")
        if seconds < 1:
            raise _Stop(BAD_AUTO_TIME, f"{reader.where()}: AUTOTIME is {seconds}, but the "
                                       f"countdown needs at least 1; {_answers(BAD_AUTO_TIME)}")
        if not reader.next_line():
            raise reader.missing(TITLE.bad, "AUTOMESSAGE:<byte count>")
        reader.read_text_at_line(AUTO_MESSAGE)
        if not reader.next_line():
            raise reader.missing(*((BAD_REMIND_TIME, "REMINDTIME:<seconds>") if remind
                                   else (TITLE.bad, "BUTTONTEXT:<byte count>")))
    if remind:
        if reader.scan("REMINDTIME") is None:
            raise reader.unexpected(BAD_REMIND_TIME, "REMINDTIME:<seconds>")
        if not reader.next_line():
            raise reader.missing(BAD_MAX_REMIND_TIME, "MAXREMINDTIME:<seconds>")
        if reader.scan("MAXREMINDTIME") is None:
            raise reader.unexpected(BAD_MAX_REMIND_TIME, "MAXREMINDTIME:<seconds>")
        if not reader.next_line():
            raise reader.missing(TITLE.bad, "BUTTONTEXT:<byte count>")
    reader.read_text_at_line(BUTTON_TEXT)
    reader.read_text(TITLE)
    reader.read_text(MESSAGE)
    if ":PREVIEW" in flags:
        reader.read_text(PREVIEW)
    _read_tail(reader, ":XLATE" in flags)


def _read_remind(reader, flag_text):
    flags = _flags(reader, flag_text, REMIND_FLAGS)
    if not reader.next_line():
        raise _Stop("bad1", "nothing follows the command line; " + _answers("bad1"))
    if ":AUTO" in flags or ":AUTOTAKEACTION" in flags:
        seconds = reader.scan("AUTOTIME")
        if seconds is None:
            raise reader.unexpected(BAD_AUTO_TIME, "AUTOTIME:<seconds>")
        if seconds == 0:
            raise _Stop(BAD_AUTO_TIME, f"{reader.where()}: AUTOTIME is 0, which the reminder "
                                       f"refuses; {_answers(BAD_AUTO_TIME)}")
        if not reader.next_line():
            raise reader.missing(BAD_REMIND_TIME, "REMINDTIME:<seconds>")
    if reader.scan("REMINDTIME") is None:
        raise reader.unexpected(BAD_REMIND_TIME, "REMINDTIME:<seconds>")
    reader.read_text(TITLE)
    reply = "Error: Bad action count"
    if not reader.next_line():
        raise reader.missing(reply, "ACTIONCOUNT:<number>")
    count = reader.scan("ACTIONCOUNT")
    if count is None:
        raise reader.unexpected(reply, "ACTIONCOUNT:<number>")
    if count == 0:
        raise _Stop(reply, f"{reader.where()}: ACTIONCOUNT is 0; {_answers(reply)}")
    # A negative count reads as a huge one: the request then ends at its first missing item.
    reader.action_count = count & 0xFFFFFFFF
    for number in range(1, reader.action_count + 1):
        reader.action = number
        _read_action(reader)
    reader.action = 0
    _read_tail(reader, ":XLATE" in flags)


def _read_action(reader):
    if not reader.next_line():
        raise reader.missing(BAD_ACTION_ITEM, "ACTIONITEM:<kind>")
    if not _parse_item_line(reader.line):
        raise reader.unexpected(BAD_ACTION_ITEM, "ACTIONITEM:RESTART|SHUTDOWN|NONE[:PREVIEW]"
                                                 "[:CANCEL]")
    for key, reply in (("ACTIONID", "Error: Bad action id"),
                       ("ACTIONPOSTPONE", "Error: Bad action postpone")):
        if not reader.next_line():
            raise reader.missing(reply, f"{key}:<number>")
        value = reader.scan(key)
        if value is None:
            raise reader.unexpected(reply, f"{key}:<number>")
        if key == "ACTIONID" and value == 0:
            raise _Stop(reply, f"{reader.where()}: ACTIONID is 0, which no action may have; "
                               f"{_answers(reply)}")
    for text in (ACTION_MESSAGE, ACTION_BODY, ACTION_TITLE):
        reader.read_text(text)


def _parse_item_line(line):
    if not line.startswith(b"ACTIONITEM"):
        return False
    rest = line[len(b"ACTIONITEM"):]
    for kind in ITEM_KINDS:
        if rest.startswith(kind.encode()):
            return _parse_flags(rest[len(kind):], ITEM_OPTIONS)[0] is not None
    return False
