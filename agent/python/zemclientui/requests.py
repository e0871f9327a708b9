"""The three requests as typed values, each encoding to the one canonical form of its bytes.

The canonical form: the version line, the command word with its flags in the order the product
tries them, the fields in the order it reads them, every line and every sized value ended by one
LF, and each count the number of bytes the product receives once its text-mode input has folded
CR LF to LF. What the product would reject or show mangled is refused with an EncodeError that
names the field as the model does ("title", "actions[1].body").
"""

from dataclasses import dataclass
from typing import List, Optional, Union

VERSION_LINE = b"UI 1.2"
ACTION_KINDS = ("RESTART", "SHUTDOWN", "NONE")
INT32_MIN, INT32_MAX = -2 ** 31, 2 ** 31 - 1

Path = Union[str, bytes]


class EncodeError(ValueError):
    """A request the product would reject or mangle; `field` names the model's field."""

    def __init__(self, field_name, why):
        super().__init__(f"{field_name}: {why}")
        self.field = field_name


@dataclass
class Progress:
    title: str
    message: str
    taskbar: bool = False
    translation_path: Optional[Path] = None
    image_path: Optional[Path] = None

    def encode(self) -> bytes:
        writer = _Writer(b"PROGRESS" + _tail_flags(self))
        writer.text(b"TITLE", self.title, "title")
        writer.text(b"MESSAGE", self.message, "message")
        return writer.finish(self)


@dataclass
class ActionUi:
    title: str
    message: str
    button_text: str
    cancel: bool = False
    preview_text: Optional[str] = None
    remind_seconds: Optional[int] = None
    max_remind_seconds: Optional[int] = None
    auto_seconds: Optional[int] = None
    auto_message: Optional[str] = None
    taskbar: bool = False
    translation_path: Optional[Path] = None
    image_path: Optional[Path] = None

    def encode(self) -> bytes:
        _require_pair(self, "auto_seconds", "auto_message")
        _require_pair(self, "remind_seconds", "max_remind_seconds")
        has_auto = self.auto_seconds is not None
        has_remind = self.remind_seconds is not None
        if has_auto and _integer(self.auto_seconds, "auto_seconds") < 1:
            raise EncodeError("auto_seconds", "must be at least 1")
        command = b"ACTIONUI"
        command += b":PREVIEW" if self.preview_text is not None else b""
        command += b":CANCEL" if self.cancel else b""
        command += b":REMIND" if has_remind else b""
        command += b":AUTO" if has_auto else b""
        writer = _Writer(command + _tail_flags(self))
        if has_auto:
            writer.number(b"AUTOTIME", self.auto_seconds, "auto_seconds")
            writer.text(b"AUTOMESSAGE", self.auto_message, "auto_message")
        if has_remind:
            writer.number(b"REMINDTIME", self.remind_seconds, "remind_seconds")
            writer.number(b"MAXREMINDTIME", self.max_remind_seconds, "max_remind_seconds")
        writer.text(b"BUTTONTEXT", self.button_text, "button_text")
        writer.text(b"TITLE", self.title, "title")
        writer.text(b"MESSAGE", self.message, "message")
        if self.preview_text is not None:
            writer.text(b"ACTIONPREVIEW", self.preview_text, "preview_text")
        return writer.finish(self)


@dataclass
class Action:
    id: int
    kind: str
    postpone_seconds: int
    message: str
    body: str
    title: str
    preview: bool = False
    cancel: bool = False

    def write(self, writer, name):
        if _integer(self.id, name + "id") == 0:
            raise EncodeError(name + "id", "must not be 0")
        if self.kind not in ACTION_KINDS:
            raise EncodeError(name + "kind", f"must be one of {', '.join(ACTION_KINDS)}")
        item = b"ACTIONITEM:" + self.kind.encode("ascii")
        item += b":PREVIEW" if self.preview else b""
        item += b":CANCEL" if self.cancel else b""
        writer.line(item)
        writer.number(b"ACTIONID", self.id, name + "id")
        writer.number(b"ACTIONPOSTPONE", self.postpone_seconds, name + "postpone_seconds")
        writer.text(b"ACTIONITEMMSG", self.message, name + "message")
        writer.text(b"ACTIONITEMBODY", self.body, name + "body")
        writer.text(b"ACTIONITEMTITLE", self.title, name + "title")


@dataclass
class Remind:
    title: str
    actions: List[Action]
    remind_seconds: int
    auto_seconds: Optional[int] = None
    auto_take_action: bool = False
    taskbar: bool = False
    translation_path: Optional[Path] = None
    image_path: Optional[Path] = None

    def encode(self) -> bytes:
        has_auto = self.auto_seconds is not None
        if self.auto_take_action and not has_auto:
            raise EncodeError("auto_seconds", "is required with auto_take_action")
        if has_auto and _integer(self.auto_seconds, "auto_seconds") == 0:
            raise EncodeError("auto_seconds", "must not be 0")
        if not self.actions:
            raise EncodeError("actions", "must hold at least one action")
        command = b"REMIND"
        if has_auto:
            command += b":AUTOTAKEACTION" if self.auto_take_action else b":AUTO"
        writer = _Writer(command + _tail_flags(self))
        if has_auto:
            writer.number(b"AUTOTIME", self.auto_seconds, "auto_seconds")
        writer.number(b"REMINDTIME", self.remind_seconds, "remind_seconds")
        writer.text(b"TITLE", self.title, "title")
        writer.number(b"ACTIONCOUNT", len(self.actions), "actions")
        for index, action in enumerate(self.actions):
            action.write(writer, f"actions[{index}].")
        return writer.finish(self)


COMMANDS = {"PROGRESS": Progress, "ACTIONUI": ActionUi, "REMIND": Remind}


def request_from_json(description):
    """The request a JSON description gives, as `zemuictl encode` reads it: the argument names,
    "command" ("PROGRESS", "ACTIONUI" or "REMIND") and "actions" as a list of objects."""
    arguments = dict(description)
    command = arguments.pop("command", None)
    if command not in COMMANDS:
        raise EncodeError("command", f"must be one of {', '.join(COMMANDS)}")
    if "actions" in arguments:
        arguments["actions"] = [Action(**action) for action in arguments["actions"]]
    return COMMANDS[command](**arguments)


def _tail_flags(request):
    return ((b":XLATE" if request.translation_path is not None else b"")
            + (b":TASKBAR" if request.taskbar else b""))


def _require_pair(request, first, second):
    """Both or neither: names the one missing."""
    has_first = getattr(request, first) is not None
    has_second = getattr(request, second) is not None
    if has_first and not has_second:
        raise EncodeError(second, f"is required with {first}")
    if has_second and not has_first:
        raise EncodeError(first, f"is required with {second}")


def _integer(value, name):
    if isinstance(value, bool) or not isinstance(value, int):
        raise EncodeError(name, "must be an integer")
    if not INT32_MIN <= value <= INT32_MAX:
        raise EncodeError(name, "must fit in a signed 32-bit number")
    return value


def fold_value(value, name, utf8=True):
    """The value's bytes as the product receives them (CR LF as LF); refuses what it would
    reject or mangle."""
    if isinstance(value, str):
        try:
            data = value.encode("utf-8")
        except UnicodeEncodeError:
            raise EncodeError(name, "cannot be written as UTF-8") from None
    elif isinstance(value, (bytes, bytearray)):
        data = bytes(value)
        if utf8:
            try:
                data.decode("utf-8")
            except UnicodeDecodeError:
                raise EncodeError(name, "is not valid UTF-8") from None
    else:
        raise EncodeError(name, "must be text")
    data = data.replace(b"\r\n", b"\n")
    if not data:
        raise EncodeError(name, "must not be empty")
    for byte, what in ((b"\x00", "a NUL"), (b"\x1a", "a 0x1A byte, which ends text-mode input"),
                       (b"\r", "a CR without LF, which would show as a stray character")):
        if byte in data:
            raise EncodeError(name, f"holds {what}")
    return data


def _path_bytes(path, name):
    """A path is opened with the ANSI calls: text must be ASCII, anything else comes as bytes the
    caller encoded in the target's ANSI code page, written as given."""
    if isinstance(path, str) and not path.isascii():
        raise EncodeError(name, "is not ASCII: give it as bytes in the ANSI code page")
    return fold_value(path, name, utf8=isinstance(path, str))


class _Writer:
    def __init__(self, command_line):
        self.out = bytearray(VERSION_LINE + b"\n")
        self.line(command_line)

    def line(self, text):
        self.out += text + b"\n"

    def number(self, key, value, name):
        self.out += b"%s:%d\n" % (key, _integer(value, name))

    def sized(self, key, data):
        self.out += b"%s:%d\n%s\n" % (key, len(data), data)

    def text(self, key, value, name):
        self.sized(key, fold_value(value, name))

    def finish(self, request):
        if request.translation_path is not None:
            self.sized(b"XLATEPATH", _path_bytes(request.translation_path, "translation_path"))
        if request.image_path is not None:
            self.sized(b"IMAGEPATH", _path_bytes(request.image_path, "image_path"))
        return bytes(self.out)
