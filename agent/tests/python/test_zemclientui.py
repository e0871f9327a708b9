"""The Python kit from the source tree: encoding against the golden fixtures and an independent
builder, refusals, replies, the checker's words and its agreement with the native zemuictl."""

import glob
import itertools
import json
import os
import random
import shutil
import subprocess
import sys
from dataclasses import asdict
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parents[3]
sys.path.insert(0, str(ROOT / "agent" / "python"))
from zemclientui import (Action, ActionUi, EncodeError, Progress, Remind, check,  # noqa: E402
                         parse_reply, run)
from zemclientui.replies import normalize_exit_code  # noqa: E402
from zemclientui.requests import request_from_json  # noqa: E402

FIXTURES = sorted((ROOT / "agent" / "fixtures").glob("*.json"))
EXAMPLES = sorted((ROOT / "examples").glob("*.json"))
ZEMUICTL = Path(os.environ.get("ZEM_UICTL", ROOT / "build" / "native" / "bin" / "zemuictl"))


@pytest.mark.parametrize("model", FIXTURES + EXAMPLES, ids=lambda p: p.name)
def test_golden_requests_encode_byte_for_byte_and_read_clean(model):
    expected = model.with_suffix(".req" if model.parent.name == "fixtures" else ".txt").read_bytes()
    assert request_from_json(json.loads(model.read_text())).encode() == expected
    assert check(expected).ok


# ---- an independent builder of the canonical form ----

def sized(key, value):
    data = value if isinstance(value, bytes) else value.replace("\r\n", "\n").encode()
    return f"{key}:{len(data)}\n".encode() + data + b"\n"


def canonical(command, flags, numbers_and_texts, request):
    out = b"UI 1.2\n" + command.encode() + "".join(
        f":{name}" for name, on in flags if on).encode() + b"\n"
    for key, value in numbers_and_texts:
        out += f"{key}:{value}\n".encode() if isinstance(value, int) else (
            value if key is None else sized(key, value))
    for key, path in (("XLATEPATH", request.translation_path), ("IMAGEPATH", request.image_path)):
        out += sized(key, path) if path is not None else b""
    return out


def independent(r):
    tail = [("XLATE", r.translation_path is not None), ("TASKBAR", r.taskbar)]
    if isinstance(r, Progress):
        return canonical("PROGRESS", tail, [("TITLE", r.title), ("MESSAGE", r.message)], r)
    if isinstance(r, ActionUi):
        fields = [("AUTOTIME", r.auto_seconds), ("AUTOMESSAGE", r.auto_message)] \
            if r.auto_seconds else []
        if r.remind_seconds is not None:
            fields += [("REMINDTIME", r.remind_seconds), ("MAXREMINDTIME", r.max_remind_seconds)]
        fields += [("BUTTONTEXT", r.button_text), ("TITLE", r.title), ("MESSAGE", r.message)]
        fields += [("ACTIONPREVIEW", r.preview_text)] if r.preview_text else []
        return canonical("ACTIONUI", [("PREVIEW", r.preview_text is not None), ("CANCEL", r.cancel),
                                      ("REMIND", r.remind_seconds is not None),
                                      ("AUTO", r.auto_seconds is not None)] + tail, fields, r)
    fields = [("AUTOTIME", r.auto_seconds)] if r.auto_seconds is not None else []
    fields += [("REMINDTIME", r.remind_seconds), ("TITLE", r.title),
               ("ACTIONCOUNT", len(r.actions))]
    for a in r.actions:
        options = (":PREVIEW" if a.preview else "") + (":CANCEL" if a.cancel else "")
        fields += [(None, f"ACTIONITEM:{a.kind}{options}\n".encode()), ("ACTIONID", a.id),
                   ("ACTIONPOSTPONE", a.postpone_seconds), ("ACTIONITEMMSG", a.message),
                   ("ACTIONITEMBODY", a.body), ("ACTIONITEMTITLE", a.title)]
    auto = [("AUTOTAKEACTION", r.auto_take_action), ("AUTO", r.auto_seconds is not None
                                                     and not r.auto_take_action)]
    return canonical("REMIND", auto + tail, fields, r)


def random_requests():
    """Random requests of every command in every combination of its flags."""
    rng = random.Random(7)

    def text():
        return rng.choice(["a", "Mise à jour", "one\r\ntwo", "再起動\n", " x ", "{x}:7"])

    def number(low=-2 ** 31):
        return rng.choice([n for n in (low, -1, 1, 60, 2 ** 31 - 1) if n >= low])

    def path():
        return rng.choice(["C:\\zem\\de.txt", b"C:\\\xe9t\xe9.ico", "translations/es.txt"])

    requests = []
    for xlate, image, taskbar in itertools.product(*[[False, True]] * 3):
        tail = dict(taskbar=taskbar, translation_path=path() if xlate else None,
                    image_path=path() if image else None)
        requests.append(Progress(text(), text(), **tail))
        for preview, cancel, remind, auto in itertools.product(*[[False, True]] * 4):
            requests.append(ActionUi(
                text(), text(), text(), cancel, text() if preview else None,
                number() if remind else None, number() if remind else None,
                number(1) if auto else None, text() if auto else None, **tail))
        for auto, take in ((None, False), (5, False), (-5, True)):
            actions = [Action(rng.choice([1, -1, 2 ** 31 - 1]), kind, number(), text(), text(),
                              text(), preview, cancel)
                       for kind, preview, cancel in itertools.product(
                           ["RESTART", "SHUTDOWN", "NONE"], [False, True], [False, True])]
            requests.append(Remind(text(), rng.sample(actions, rng.randint(1, 3)), number(),
                                   auto, take, **tail))
    return requests


def test_every_command_and_flag_combination_matches_the_independent_builder():
    for request in random_requests():
        assert request.encode() == independent(request), request


@pytest.mark.skipif(not ZEMUICTL.exists(), reason="the native zemuictl is not built")
def test_the_cpp_kit_writes_the_same_bytes(tmp_path):
    model = tmp_path / "model.json"
    for request in random_requests():
        if isinstance(request.translation_path, bytes) or isinstance(request.image_path, bytes):
            continue  # JSON carries paths as text only
        commands = {Progress: "PROGRESS", ActionUi: "ACTIONUI", Remind: "REMIND"}
        model.write_text(json.dumps({"command": commands[type(request)], **asdict(request)}))
        assert subprocess.run([str(ZEMUICTL), "encode", str(model)], capture_output=True,
                              check=True).stdout == request.encode(), request


# ---- refusals ----

def actionui(**options):
    return ActionUi(**{"title": "t", "message": "m", "button_text": "b", **options})


def remind(actions=None, **options):
    one = Action(1, "NONE", 0, "m", "b", "t")
    return Remind(**{"title": "t", "actions": [one] if actions is None else actions,
                     "remind_seconds": 0, **options})


@pytest.mark.parametrize("request_, field", [
    (Progress("", "m"), "title"),
    (Progress("t", "a\x1ab"), "message"),
    (Progress("t", "a\0b"), "message"),
    (Progress("t", "a\rb"), "message"),
    (Progress("t", b"\xff"), "message"),
    (Progress("t", "\ud800"), "message"),
    (Progress("t", "m", translation_path="C:\\é.txt"), "translation_path"),
    (Progress("t", "m", image_path=""), "image_path"),
    (actionui(preview_text=""), "preview_text"),
    (actionui(auto_seconds=0, auto_message="a"), "auto_seconds"),
    (actionui(auto_seconds=5), "auto_message"),
    (actionui(auto_message="a"), "auto_seconds"),
    (actionui(remind_seconds=5), "max_remind_seconds"),
    (actionui(max_remind_seconds=5), "remind_seconds"),
    (actionui(remind_seconds=2 ** 31, max_remind_seconds=1), "remind_seconds"),
    (actionui(remind_seconds=1, max_remind_seconds=-2 ** 31 - 1), "max_remind_seconds"),
    (remind(auto_seconds=0), "auto_seconds"),
    (remind(auto_take_action=True), "auto_seconds"),
    (remind(actions=[]), "actions"),
    (remind(actions=[Action(0, "NONE", 0, "m", "b", "t")]), "actions[0].id"),
    (remind(actions=[Action(1, "NONE", 0, "m", "b", "t"), Action(2, "BOOT", 0, "m", "b", "t")]),
     "actions[1].kind"),
    (remind(actions=[Action(1, "NONE", 0, "m", "", "t")]), "actions[0].body"),
])
def test_encode_refuses_what_the_product_rejects_or_mangles_by_name(request_, field):
    with pytest.raises(EncodeError) as error:
        request_.encode()
    assert error.value.field == field and isinstance(error.value, ValueError)


def test_bytes_paths_are_written_as_given():
    assert Progress("t", "m", image_path=b"C:\\\xe9.ico").encode().endswith(
        b"IMAGEPATH:8\nC:\\\xe9.ico\n")


# ---- replies ----

@pytest.mark.parametrize("line, kind, seconds, action_id, error", [
    (b"OK\n", "OK", None, None, None),
    (b"OKAUTO\r\n", "OKAUTO", None, None, None),
    (b"CANCEL\n", "CANCEL", None, None, None),
    (b"CLOSED", "CLOSED", None, None, None),
    (b"RUNALL\n", "RUNALL", None, None, None),
    (b"REMIND:3600\n", "REMIND", 3600, None, None),
    (b"REMINDAUTO:0\n", "REMINDAUTO", 0, None, None),
    (b"RUNACTION:17\n", "RUNACTION", None, 17, None),
    (b"CANCELACTION:-2\n", "CANCELACTION", None, -2, None),
    (b"Error: Bad title\n", "ERROR", None, None, "Error: Bad title"),
    (b"bad1\n", "ERROR", None, None, "bad1"),
    (b"REMIND\n", "UNKNOWN", None, None, "REMIND"),
    (b"OK:1\n", "UNKNOWN", None, None, "OK:1"),
    (b"RUNACTION:x\n", "UNKNOWN", None, None, "RUNACTION:x"),
    (b"", "UNKNOWN", None, None, ""),
])
def test_parse_reply(line, kind, seconds, action_id, error):
    reply = parse_reply(line)
    assert (reply.kind, reply.seconds, reply.action_id, reply.error) == (
        kind, seconds, action_id, error)


@pytest.mark.parametrize("code, normalised", [(-1, -1), (0xFFFFFFFF, -1), (255, -1), (0, 0),
                                              (254, 254), (1, 1)])
def test_exit_code_is_normalised(code, normalised):
    assert normalize_exit_code(code) == normalised


# ---- the checker ----

THREE = Remind("Pending", [Action(i, "RESTART", 60, f"Message {i}", f"Body text {i} here",
                                  f"Title {i}") for i in (1, 2, 3)], 3600, auto_seconds=60)
FRENCH = Progress("Mise à jour", "m", image_path="C:\\a.ico")


@pytest.mark.parametrize("data, reply, words", [
    (THREE.encode().replace(b"BODY:16\nBody text 2", b"BODY:14\nBody text 2"),
     "Error: Bad action title", "action 2 of 3: ACTIONITEMBODY says 14 bytes, but 16 bytes come "
     "before the next key line; the 2 left over make the product answer `Error: Bad action title`"),
    (THREE.encode().replace(b"MSG:9\nMessage 3", b"MSG:7\nMessage 3"), "Error: Bad action body",
     "action 3 of 3: ACTIONITEMMSG says 7 bytes, but 9"),
    (THREE.encode().replace(b"MSG:9\nMessage 1", b"MSG:11\nMessage 1"), "Error: Bad action body",
     "action 1 of 3: ACTIONITEMMSG says 11 bytes, but only 9"),
    (b"\xef\xbb\xbf" + FRENCH.encode(), "Error: Incompatible version", "byte-order mark"),
    (THREE.encode().replace(b"AUTOTIME:60\nREMINDTIME:3600", b"REMINDTIME:3600\nAUTOTIME:60"),
     "Error: Bad auto time error", "REMINDTIME is written before AUTOTIME"),
    (b"UI 1.2\nPROGRESS\nTITLE:1\nTMESSAGE:23\nInstalling\r\nplease wait", 
     "Error: failed reading message", "MESSAGE says 23 bytes, but only 22 come before the end of "
     "the input (the value holds CR LF"),
    (b"UI 1.2\nACTIONUI\nBUTTONTEXT:3\na\x1ab", "Error: failed reading button text", "0x1A"),
    (b"UI 1.2\nREMIND\n", "bad1", "nothing follows the command line"),
    (b"UI 1.2\nACTIONUI:PREVIEW:AUTOX\n", "Error: Bad command", "the flags `X` match none"),
])
def test_checker_names_the_fault_and_the_reply(data, reply, words):
    report = check(data)
    assert (report.ok, report.reply) == (False, reply)
    assert words in report.problem


@pytest.mark.parametrize("data, words", [
    (FRENCH.encode().replace(b"TITLE:12", b"TITLE:11"),
     "TITLE says 11 bytes, but 12 bytes come before the next key line: the left-over `r`"),
    (Progress("t", "a\nb").encode().replace(b"a\nb", b"a\r\nb"), "MESSAGE holds CR LF"),
    (Progress("t", "\ufeffm", image_path=b"\xe9").encode(), "MESSAGE holds a UTF-8 byte-order"),
    (Progress("t", "m", image_path=b"\xe9").encode(), "IMAGEPATH holds non-ASCII bytes"),
    (Progress("t", "m").encode(), "waits until standard input is closed"),
])
def test_checker_warns_about_what_the_product_accepts_silently(data, words):
    report = check(data)
    assert report.ok and any(words in warning for warning in report.warnings), report.warnings


def test_checker_reports_each_field_where_it_starts():
    data = b"UI 1.2\r\nREMIND\nREMINDTIME:0\nTITLE:3\na\r\nbACTIONCOUNT:1\n\nACTIONITEM:NONE\n"
    fields = [(f.key, f.declared, f.taken, f.line, f.offset, f.action) for f in check(data).fields]
    assert fields == [("UI 1.2", None, None, 1, 0, 0), ("REMIND", None, None, 2, 8, 0),
                      ("REMINDTIME", 0, None, 3, 15, 0), ("TITLE", 3, None, 4, 28, 0),
                      ("TITLE", 3, 3, 5, 36, 0), ("ACTIONCOUNT", 1, None, 6, 40, 0),
                      ("ACTIONITEM", None, None, 8, 55, 1)]


@pytest.mark.skipif(not ZEMUICTL.exists(), reason="the native zemuictl is not built")
@pytest.mark.parametrize("path", sorted(glob.glob(str(ROOT / "fuzz/corpus/request_fuzzer/*"))),
                         ids=os.path.basename)
def test_checker_agrees_with_the_native_one(path):
    native = json.loads(subprocess.run([str(ZEMUICTL), "check", "--json", path],
                                       capture_output=True, check=False).stdout)
    report = check(Path(path).read_bytes())
    assert (report.ok, report.reply) == (native["ok"], native["reply"])
    assert [f.__dict__ for f in report.fields] == native["fields"]


# ---- running and installing ----

def test_run_closes_standard_input_and_reads_one_typed_reply(tmp_path):
    program = tmp_path / "product.py"
    program.write_text("import sys\nrequest = sys.stdin.buffer.read()\n"
                       "sys.stdout.write('RUNACTION:%d\\n' % len(request))\nsys.exit(-1)\n")
    outcome = run(FRENCH, program, timeout=60, runner=[sys.executable])
    assert (outcome.status, outcome.reply.kind, outcome.reply.action_id, outcome.exit_code) == (
        "replied", "RUNACTION", len(FRENCH.encode()), -1)
    assert run(FRENCH, tmp_path / "missing", timeout=60).status == "failed_to_start"


def test_installs_into_a_venv_with_system_site_packages(tmp_path):
    subprocess.run([sys.executable, "-m", "venv", "--system-site-packages", "V"], check=True,
                   cwd=tmp_path)
    # From a copy: setuptools builds in the folder it installs from.
    shutil.copytree(ROOT / "agent" / "python", tmp_path / "python",
                    ignore=shutil.ignore_patterns("__pycache__"))
    subprocess.run(["V/bin/pip", "install", "-q", "--no-build-isolation", "./python"],
                   check=True, cwd=tmp_path)
    where = "import zemclientui; print(zemclientui.__file__)"
    shown = subprocess.run(["V/bin/python", "-c", where], capture_output=True, text=True,
                           check=True, cwd=tmp_path).stdout
    assert shown.startswith(str(tmp_path))
