"""The product's one reply line as a typed value."""

import re
from dataclasses import dataclass
from typing import Optional

# The reply words; those with a number take it after a colon.
_BARE = {"OK", "OKAUTO", "CANCEL", "CLOSED", "RUNALL"}
_SECONDS = {"REMIND", "REMINDAUTO"}
_ACTION_ID = {"RUNACTION", "CANCELACTION"}
_INTEGER = re.compile(r"-?[0-9]{1,18}")


@dataclass
class Reply:
    kind: str  # the reply word, "ERROR" for an error line, "UNKNOWN" for anything else
    seconds: Optional[int] = None  # REMIND, REMINDAUTO
    action_id: Optional[int] = None  # RUNACTION, CANCELACTION
    error: Optional[str] = None  # ERROR and UNKNOWN: the whole line


def parse_reply(line: bytes) -> Reply:
    """Parses one reply line; its LF (or CR LF) is ignored."""
    text = bytes(line).removesuffix(b"\n").removesuffix(b"\r").decode("utf-8", "replace")
    if text.startswith("Error: ") or text == "bad1":
        return Reply("ERROR", error=text)
    word, colon, argument = text.partition(":")
    if word in _BARE and not colon:
        return Reply(word)
    if (word in _SECONDS or word in _ACTION_ID) and colon and _INTEGER.fullmatch(argument):
        if word in _SECONDS:
            return Reply(word, seconds=int(argument))
        return Reply(word, action_id=int(argument))
    return Reply("UNKNOWN", error=text)


def normalize_exit_code(code):
    """Windows reports -1 as 0xFFFFFFFF to an unsigned reader, and Wine as 255 to Unix."""
    return -1 if code in (255, 0xFFFFFFFF) else code
