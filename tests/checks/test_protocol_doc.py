"""docs/protocol.md lists every reply the program can write, and nothing else.

The reply texts are taken from the sources under src/ by where they stand, not from a list kept
here:

- every string literal that begins "Error: ";
- every literal a reply passes through: the texts of ReportAndExit(...) calls, the format string of
  snprintf and the key given to WithNumber (key + signed decimal, written "%d") in src/protocol
  and src/app,
  and the constants named k...Reply;
- in src/protocol, the literals returned as a text (`return "...";`: the request readers' errors,
  such as the bare "bad1", and the replies of the reply builders, *_reply.cpp) or assigned to an
  error (`error = "...";`).

A named constant used in one of these places stands for its literal. The document's reply tables
are the Markdown tables whose header starts with "Reply"; their first cells hold the texts in
backticks and their "Exit code" column the code.
"""

import pathlib
import re

ROOT = pathlib.Path(__file__).resolve().parents[2]
SOURCE_DIR = ROOT / "src"
# The request model and the program's top, which writes the replies.
REPLY_DIRS = (SOURCE_DIR / "protocol", SOURCE_DIR / "app")
DOCUMENT = ROOT / "docs" / "protocol.md"

ERROR_PREFIX = "Error: "
# The helper of the REMIND replies writes its key followed by the number in signed decimal.
NUMBER_HELPER = "WithNumber"

TOKEN = re.compile(
    r"""(?P<comment>//[^\n]*|/\*.*?\*/)
      | (?P<string>(?:u8|u|U|L)?"(?:\\.|[^"\\\n])*")
      | (?P<char>'(?:\\.|[^'\\\n])+')
      | (?P<word>[A-Za-z_][A-Za-z0-9_]*|\d[\w.]*)
      | (?P<space>\s+)
      | (?P<punct>::|->|.)""",
    re.VERBOSE | re.DOTALL,
)
ESCAPES = {"n": "\n", "t": "\t", "r": "\r", "\\": "\\", '"': '"', "'": "'", "0": "\0"}


def tokens(path):
    """(kind, value) pairs of a C++ file: words, punctuation and string literals (decoded, adjacent
    ones joined); comments, character literals and white space dropped."""
    result = []
    for match in TOKEN.finditer(path.read_text(encoding="utf-8")):
        kind = match.lastgroup
        if kind in ("comment", "char", "space"):
            continue
        value = match.group()
        if kind == "string":
            body = value[value.index('"') + 1:-1]
            value = re.sub(r"\\(.)", lambda m: ESCAPES.get(m.group(1), m.group(1)), body)
            if result and result[-1][0] == "string":
                value = result.pop()[1] + value
        result.append((kind, value))
    return result


def call_arguments(toks, start):
    """The tokens between the parenthesis at `start` and its match, split at top-level commas."""
    arguments, current, depth = [], [], 0
    for kind, value in toks[start:]:
        if value in "([{" and kind == "punct":
            depth += 1
            if depth == 1:
                continue
        elif value in ")]}" and kind == "punct":
            depth -= 1
            if depth == 0:
                arguments.append(current)
                return arguments
        elif value == "," and depth == 1:
            arguments.append(current)
            current = []
            continue
        current.append((kind, value))
    raise AssertionError("unbalanced call")


def code_replies():
    """{reply text: set of exit codes} as the code writes them. A text given to ReportAndExit with
    a literal code gets that code. Otherwise "Error: " texts and the readers' errors go with -1
    (their handlers end with ReportAndExit(-1, error)); the other texts of the reply builders and
    of k...Reply constants with 0 (their handlers end with ReportAndExit(0, reply))."""
    replies = {}

    def add(text, code):
        replies.setdefault(text, set()).add(code)

    def default_code(text, is_result):
        return 0 if is_result and not text.startswith(ERROR_PREFIX) else -1

    files = sorted(SOURCE_DIR.rglob("*.cpp")) + sorted(SOURCE_DIR.rglob("*.h"))
    file_tokens = {path: tokens(path) for path in files}
    constants = {}
    for toks in file_tokens.values():
        for i, (kind, name) in enumerate(toks[:-4]):
            if kind != "word":
                continue
            rest = [value for _, value in toks[i + 1:i + 5]]
            if rest[:3] == ["[", "]", "="] and toks[i + 4][0] == "string":
                constants[name] = toks[i + 4][1]
            elif rest[0] == "=" and toks[i + 2][0] == "string" and rest[2] == ";":
                constants[name] = toks[i + 2][1]

    def literals(group):
        """The literals in a token group, a named constant standing for its literal."""
        return [value if kind == "string" else constants[value]
                for kind, value in group
                if kind == "string" or (kind == "word" and value in constants)]

    for name, text in constants.items():
        if re.fullmatch(r"k\w*Reply", name):
            add(text.rstrip("\n"), default_code(text, True))

    for path, toks in file_tokens.items():
        in_protocol = any(directory in path.parents for directory in REPLY_DIRS)
        builds_replies = path.name.endswith("_reply.cpp")
        for i, (kind, value) in enumerate(toks):
            if kind == "string" and value.startswith(ERROR_PREFIX):
                add(value, -1)
            if kind != "word" or i + 3 >= len(toks):
                continue
            following = toks[i + 1][1]
            if value == "ReportAndExit" and following == "(":
                arguments = call_arguments(toks, i + 1)
                code_text = "".join(v for _, v in arguments[0])
                for text in literals(arguments[1]):
                    add(text, int(code_text) if re.fullmatch(r"-?\d+", code_text)
                        else default_code(text, False))
            elif not in_protocol:
                continue
            elif value == "snprintf" and following == "(":
                for text in literals(call_arguments(toks, i + 1)[2]):
                    add(text, 0)
            elif value == NUMBER_HELPER and following == "(":
                for text in literals(call_arguments(toks, i + 1)[0]):
                    add(text + "%d", 0)
            elif (value == "return" or (value == "error" and following == "=")):
                position = i + 1 if value == "return" else i + 2
                group = toks[position:position + 1]
                if toks[position + 1][1] == ";":
                    for text in literals(group):
                        add(text, default_code(text, value == "return" and builds_replies))
    return replies


def document_replies():
    """[(reply text, exit code cell or None)] from the document's reply tables, in order."""
    rows = []
    table = None  # None outside tables; else (is a reply table, index of the exit code column)
    for line in DOCUMENT.read_text(encoding="utf-8").splitlines():
        if not line.startswith("|"):
            table = None
            continue
        cells = [cell.strip() for cell in line.strip().strip("|").split("|")]
        if table is None:
            exit_column = cells.index("Exit code") if "Exit code" in cells else None
            table = (cells[0] == "Reply", exit_column)
            continue
        if not table[0] or set(cells[0]) <= set("-: "):
            continue
        match = re.fullmatch(r"`([^`]+)`", cells[0])
        assert match, f"reply table row without one backticked text first: {line}"
        rows.append((match.group(1), cells[table[1]] if table[1] is not None else None))
    return rows


def test_every_reply_in_the_code_is_in_a_reply_table():
    documented = {text for text, _ in document_replies()}
    missing = sorted(set(code_replies()) - documented)
    assert not missing, f"replies written by the code but not in {DOCUMENT.name}: {missing}"


def test_every_reply_in_the_tables_is_written_by_the_code():
    replies = code_replies()
    # The extraction must see the replies of every stage, or the check above proves nothing.
    assert {"Error: No version", "bad1", "OK", "CLOSED", "REMIND:%u"} <= set(replies)
    unknown = sorted({text for text, _ in document_replies()} - set(replies))
    assert not unknown, f"texts in {DOCUMENT.name}'s reply tables the code never writes: {unknown}"


def test_documented_exit_codes_match_the_code():
    replies = code_replies()
    wrong = [(text, cell, sorted(replies[text]))
             for text, cell in document_replies()
             if text in replies and (cell is None or {cell} != {str(c) for c in replies[text]})]
    assert not wrong, f"(reply, documented exit code, the code's exit codes): {wrong}"
