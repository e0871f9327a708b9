#!/usr/bin/python3
"""Builds translations/catalogue.tsv: every English template the dialogs can show, from the sources.

    translations/make_catalogue.py           rewrite the catalogue
    translations/make_catalogue.py --check   exit 1 unless the catalogue matches the sources

A template's English literal is its translation key, so the keys are taken from the code itself:
- every constant defined in DEFINITION_FILES (a single literal or a table of them); each one must
  either have a context below or be listed in NOT_TRANSLATED, so a new constant cannot slip by;
- every literal written directly inside a caption or template call anywhere in src/ui and
  src/format (SetCaption..., MakeTemplate, Localize).

Catalogue lines are "key <TAB> context <TAB> English text", in the order of the sources, each key
once. A translation file takes the key before the first tab and the value after the last tab, so
the catalogue is itself a valid (English) translation file: copy it, replace the last column.

The module also offers the product's reading of a translation file, for the end-to-end tests. To
check a translation file itself: `zemuictl check-translation FILE`, which uses the product's code.
"""

import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
CATALOGUE = ROOT / "translations" / "catalogue.tsv"
SCANNED_DIRS = ("src/ui", "src/format")

# Files whose constants hold the templates, in catalogue order (dialog by dialog, then formats).
DEFINITION_FILES = (
    "src/ui/preaction/preaction_rules.h",
    "src/ui/shared_captions.h",
    "src/ui/reminder/reminder_choices.h",
    "src/ui/reminder/reminder_messages.cpp",
    "src/ui/remind_intervals.h",
    "src/format/date_time_format.cpp",
    "src/format/number_format.cpp",
    "src/ui/accessible_texts.h",
    "src/format/reading_direction.h",
)

# Constants of DEFINITION_FILES that never reach the user through a template.
NOT_TRANSLATED = {
    "kRemindListLiteral": "names the remind list in failure reports only",
    "kRightToLeftValue": "the value of kReadingDirectionKey that asks for a right-to-left layout",
}

DURATION = ("{x} = the time left: 00:01:30 under a day, else 1 day, 2 days, 1 day, 03:00:00 or "
            "2 days, 03:00:00 (the duration keys)")
CLOCK = ("hours10, hours1, miniutes10, minutes1, seconds10 and seconds1 are single digits (names "
         "as written, 'miniutes10' included)")


def countdown(button):
    return (f"Reminder dialog: countdown line when the countdown presses '{button}'; name the "
            f"button by its translated caption. {DURATION}")


# Context for each constant of DEFINITION_FILES: one text for all of its literals, or a list with
# one text per literal in order.
CONTEXTS = {
    "kCountdownLiteral": f"Pre-action dialog: countdown line above the buttons. {DURATION}",
    "kCancelLiteral": "Button of the pre-action and reminder dialogs: cancels the action",
    "kPreviewLiteral": "Button of the pre-action and reminder dialogs: opens the action's preview",
    "kRemindAgainLiteral": ("Button of the pre-action and reminder dialogs: postpone; the remind "
                            "list beside it continues the phrase (' in 5 minutes')"),
    "kHideLiteral": "Button of the progress window and of the preview window: hides the window",
    "kTakeActionLiteral": "Reminder dialog button: runs the current action (or all, when just one)",
    "kTakeActionsLiteral": "Reminder dialog button: runs all pending actions now",
    "kRestartLiteral": ("Reminder dialog button when the actions restart the computer; also the "
                        "usual button text of restart requests"),
    "kShutdownLiteral": "Reminder dialog button when the actions shut the computer down",
    "kMoreInfoLiteral": "Reminder dialog button: unfolds the panel with each action's details",
    "kLessInfoLiteral": "Reminder dialog button: folds the details panel again",
    "kOneRestartSummaryLiteral": "Reminder dialog summary line: the one pending action restarts",
    "kOneShutdownSummaryLiteral": "Reminder dialog summary line: the one pending action shuts down",
    "kOneActionSummaryLiteral": "Reminder dialog summary line: one pending action of another kind",
    "kRestartCountdown": countdown("Restart Now"),
    "kShutdownCountdown": countdown("Shutdown Now"),
    "kTakeActionCountdown": countdown("Take Action Now"),
    "kTakeActionsCountdown": countdown("Take Actions Now"),
    "kRemindCountdown": countdown("Remind Again"),
    "kRestartSummary": ("Reminder dialog summary, two lines ({_cr}{_lf} breaks them): {x} = "
                        "number of pending actions (2 or more), one of them a restart"),
    "kShutdownSummary": ("Reminder dialog summary, two lines ({_cr}{_lf} breaks them): {x} = "
                         "number of pending actions (2 or more), one of them a shutdown"),
    "kPlainSummary": "Reminder dialog summary: {x} = number of pending actions (2 or more)",
    "kDeadlineLiteral": ("Reminder dialog: latest start of the current action; {month} = month "
                         "name, {day_of_month} and {year} = numbers, {time} = time of day"),
    "kActionLabelLiteral": ("Reminder dialog: entry of the action selector list; {x} = the "
                            "action's number, {y} = number of actions"),
    "kRemindIntervals": ("Remind list entry beside 'Remind Again' (both dialogs); it continues "
                         "the button's phrase, hence the leading blank"),
    "kRemindImmediatelyLiteral": ("Only remind list entry left when no interval fits before the "
                                  "deadline; continues 'Remind Again'"),
    "kMonthNames": "Month name, the {month} of the reminder's deadline line",
    "kTimeOfDayTemplate": ("Time of day (24-hour) in the deadline line: {hour} = 0 to 23, then "
                           "the single digits of minutes and seconds"),
    "kPositiveDuration": [
        f"Duration under a day in countdown lines; {CLOCK}",
        "Duration of exactly one day in countdown lines",
        f"Duration of one day and some hours; {CLOCK}",
        "Duration of 2 or more whole days; {days} = number of days",
        f"Duration of 2 or more days and some hours; {{days}} = number of days; {CLOCK}",
    ],
    "kNegativeDuration": [
        f"Negative duration under a day; {CLOCK}",
        "Negative duration of exactly one day",
        f"Negative duration of one day and some hours; {CLOCK}",
        "Negative duration of 2 or more whole days; {days} = number of days",
        f"Negative duration of 2 or more days and some hours; {{days}} = number of days; {CLOCK}",
    ],
    "kNumberTemplate": ("Every number shown (counts, day, year, hour, single clock digits): {sign}"
                        " then one variable per digit, highest first; unused positions are empty"
                        " but text between them stays, so a separator would show on short"
                        " numbers too"),
    "kMinusSign": "Minus sign of negative numbers",
    "kDigitTexts": "Digit character used in every number, date, time and duration",
    "kMessageLabelLiteral": ("Never shown; read out by screen readers as the name of the message "
                             "box of every dialog"),
    "kRemindListLabelLiteral": ("Never shown; read out by screen readers as the name of the remind "
                                "list beside 'Remind Again'"),
    "kActionListLabelLiteral": ("Never shown; read out by screen readers as the name of the "
                                "reminder's list of pending actions"),
    "kPreviewLabelLiteral": ("Never shown; read out by screen readers as the name of the preview "
                             "window's text"),
    "kReadingDirectionKey": ("Not a text: the direction of the script. Keep 'default:LTR' for a "
                             "language written left to right; write 'default:RTL' for Arabic, "
                             "Hebrew and other right-to-left scripts, which mirrors the dialogs"),
}

# Literals written directly in a caption call; keys already named by a constant need none.
CALL_SITE_CONTEXTS = {}

CALL = re.compile(r"\b(?:SetCaption\w*|MakeTemplate|Localize)\s*\(")
DEFINITION = re.compile(r"\bconstexpr\b[^;={}]*?\b(k\w+)\s*(?:\[[^\]]*\]\s*)*=\s*([^;]*);")
PLACEHOLDER = re.compile(r'"#(\d+)"')
ESCAPES = {"n": "\n", "t": "\t", "r": "\r", "0": "\0", "\\": "\\", '"': '"', "'": "'"}


class CatalogueError(Exception):
    pass


def decode_literal(body):
    return re.sub(r"\\(x[0-9A-Fa-f]+|.)",
                  lambda m: chr(int(m.group(1)[1:], 16)) if m.group(1)[0] == "x"
                  else ESCAPES[m.group(1)], body)


def mask_source(text):
    """Drops comments and replaces each string literal (adjacent ones joined) by "#n"."""
    literals = []
    token = re.compile(r'//[^\n]*|/\*.*?\*/|\'(?:\\.|[^\\\'])*\'|(L|u8|u|U)?"((?:\\.|[^\\"])*)"',
                       re.S)

    def replace(match):
        if match.group(0).startswith("/"):
            return " "
        if not match.group(0).endswith('"') or match.group(1):
            return match.group(0) if match.group(0).startswith("'") else '""'  # wide: not ours
        literals.append(decode_literal(match.group(2)))
        return f'"#{len(literals) - 1}"'

    masked = token.sub(replace, text)
    # "a" "b" is one literal in C++.
    joined = re.compile(r'"#(\d+)"\s*"#(\d+)"')
    while (m := joined.search(masked)):
        literals[int(m.group(1))] += literals[int(m.group(2))]
        masked = masked[:m.start()] + f'"#{m.group(1)}"' + masked[m.end():]
    return masked, literals


def call_site_literals(masked, literals):
    for match in CALL.finditer(masked):
        depth, end = 1, match.end()
        while depth and end < len(masked):
            depth += {"(": 1, ")": -1}.get(masked[end], 0)
            end += 1
        for index in PLACEHOLDER.findall(masked[match.end():end]):
            yield literals[int(index)]


def definitions(masked, literals):
    for match in DEFINITION.finditer(masked):
        values = [literals[int(i)] for i in PLACEHOLDER.findall(match.group(2))]
        if values:
            yield match.group(1), values


def scanned_files():
    listed = [ROOT / name for name in DEFINITION_FILES]
    others = sorted(p for d in SCANNED_DIRS for p in (ROOT / d).rglob("*")
                    if p.suffix in (".cpp", ".h") and p not in listed)
    return listed + others


def collect_entries():
    """[(key, context)] in catalogue order; raises CatalogueError listing every problem."""
    entries, problems, used = {}, [], set()
    for path in scanned_files():
        masked, literals = mask_source(path.read_text(encoding="utf-8"))
        if path in [ROOT / name for name in DEFINITION_FILES]:
            for name, values in definitions(masked, literals):
                if name in NOT_TRANSLATED:
                    continue
                used.add(name)
                context = CONTEXTS.get(name)
                if context is None:
                    problems.append(f"{path.relative_to(ROOT)}: {name} has no context")
                    continue
                contexts = [context] * len(values) if isinstance(context, str) else context
                if len(contexts) != len(values):
                    problems.append(f"{name}: {len(contexts)} contexts for {len(values)} literals")
                    continue
                for key, text in zip(values, contexts):
                    entries.setdefault(key, text)
        for key in call_site_literals(masked, literals):
            if key not in entries:
                if key not in CALL_SITE_CONTEXTS:
                    problems.append(f"{path.relative_to(ROOT)}: {key!r} has no context")
                    continue
                entries[key] = CALL_SITE_CONTEXTS[key]
            used.add(key)
    problems += [f"context for {name!r} matches nothing in the sources"
                 for name in set(CONTEXTS) | set(CALL_SITE_CONTEXTS) if name not in used]
    problems += [f"{key!r} holds a tab or line break: no translation file line can name it"
                 for key in entries if re.search(r"[\t\r\n]", key)]
    if problems:
        raise CatalogueError("\n".join(problems))
    return list(entries.items())


def render(entries):
    return "".join(f"{key}\t{context}\t{key}\n" for key, context in entries)


def parse_translation_file(data):
    """(key, value) pairs as the product reads a translation file's bytes, in file order.

    CR and LF each end a line; the key runs to the first tab, the value from the last tab; lines
    without a tab or starting with one are ignored. Nothing is trimmed or decoded.
    """
    pairs = []
    for line in re.split(rb"[\r\n]", data):
        if b"\t" in line and not line.startswith(b"\t"):
            pairs.append((line.split(b"\t", 1)[0], line.rsplit(b"\t", 1)[1]))
    return pairs


def main(argv):
    try:
        text = render(collect_entries())
    except CatalogueError as error:
        print(error, file=sys.stderr)
        return 1
    if "--check" in argv:
        if not CATALOGUE.exists() or CATALOGUE.read_text(encoding="utf-8") != text:
            print(f"{CATALOGUE.relative_to(ROOT)} is out of date: run {Path(__file__).name}",
                  file=sys.stderr)
            return 1
        return 0
    CATALOGUE.write_text(text, encoding="utf-8")
    print(f"{CATALOGUE.relative_to(ROOT)}: {text.count(chr(10))} keys")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
