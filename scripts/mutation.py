#!/usr/bin/env python3
"""Mutation testing of the portable core and the agent's kit: plants one small fault at a time in a
copy of the tree, rebuilds the native unit tests (ASan+UBSan) there and runs them: the core's for
a fault in src/, the kit's for a fault in agent/kit/. See docs/testing.md.

A mutant is killed when the tests fail or hang, survives when they pass, and is stillborn when it
does not compile. The score is killed / (killed + survived)."""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import threading
import time
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
TEST_BINARY = "tests/zem_unit_tests"
KIT_TEST_BINARY = "agent/tests/zemkit_tests"


@dataclass(frozen=True)
class Mutant:
    path: str  # relative to the tree
    line: int  # 1-based
    column: int  # 1-based, where the replaced text starts
    old: str
    new: str
    kind: str
    text: str = ""  # the line as it was found

    def place(self):
        return f"{self.path}:{self.line}"

    def describe(self):
        return f"{self.path}:{self.line}:{self.column} {self.kind} '{self.old}' -> '{self.new}'"


# --- finding the sites -------------------------------------------------------------------------

def portable_core(root):
    """src/**/*.cpp and *.h, then agent/kit's, that are neither Windows-only nor native-only, in a
    fixed order."""
    files = []
    for path in sorted((root / "src").rglob("*")) + sorted((root / "agent" / "kit").rglob("*")):
        if path.suffix not in (".cpp", ".h"):
            continue
        if re.search(r"_(win|native)$", path.stem):
            continue
        files.append(path.relative_to(root).as_posix())
    return files


def code_only(text):
    """The text with comments, string and character literals blanked to spaces (newlines kept),
    so that positions still match the original."""
    out = list(text)
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            while i < n and text[i] != "\n":
                out[i] = " "
                i += 1
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            for k in range(i, end):
                if text[k] != "\n":
                    out[k] = " "
            i = end
        elif c in "\"'":
            # A digit separator would look like a character literal; the core has none.
            k = i + 1
            while k < n and text[k] != c and text[k] != "\n":
                k += 2 if text[k] == "\\" else 1
            for m in range(i, min(k + 1, n)):
                out[m] = " "
            i = k + 1
        else:
            i += 1
    return "".join(out)


# clang-format puts spaces around binary operators and none inside template brackets, so a
# spaced < or > is a comparison.
COMPARISON = re.compile(r"(?<=\s)(<=|>=|==|!=|<|>)(?=\s)")
COMPARISON_TURNED = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
LOGICAL = re.compile(r"(?<=\s)(&&|\|\|)(?=\s)")
BOOLEAN = re.compile(r"\b(true|false)\b")
INTEGER = re.compile(r"(?<![\w.'])(0[xX][0-9a-fA-F]+|\d+)([uUlL]*)(?![\w.'])")
# Literals worth moving by one: the value of a named constant, and an operand of arithmetic or
# of a comparison.
NAMED_CONSTANT = re.compile(r"^\s*(static\s+)?(constexpr|const)\s+[\w:]+\s+k\w+\s*=\s*"
                            r"[\w:<>()]*?\(?\s*(0[xX][0-9a-fA-F]+|\d+)[uUlL]*\)?\s*;")
OPERAND_BEFORE = re.compile(r"(?:^|\s)(?:[-+*/%]|[<>]=?|[=!]=|\breturn)\s*\(?\s*$")
OPERAND_AFTER = re.compile(r"\s*\)?\s*(?:[-+*/%]|[<>]=?|[=!]=)\s")
SKIPPED_LINE = re.compile(r"^\s*#|\bassert\b|\bstatic_assert\b")


def shifted_literal(digits, delta):
    value = int(digits, 0) + delta
    if value < 0:
        return None
    if digits[:2] in ("0x", "0X"):
        return digits[:2] + format(value, "X" if digits[2:].isupper() else "x")
    return str(value)


def line_mutants(path, number, code):
    found = []
    for m in COMPARISON.finditer(code):
        found.append((m.start(), m.group(1), COMPARISON_TURNED[m.group(1)], "comparison"))
    for m in LOGICAL.finditer(code):
        found.append((m.start(), m.group(1), "||" if m.group(1) == "&&" else "&&", "logical"))
    for m in BOOLEAN.finditer(code):
        found.append((m.start(), m.group(1), "false" if m.group(1) == "true" else "true",
                      "boolean"))
    for m in INTEGER.finditer(code):
        if not (NAMED_CONSTANT.search(code) or
                OPERAND_BEFORE.search(code[:m.start()]) or OPERAND_AFTER.match(code[m.end():])):
            continue  # table data, bit masks, shifts, indices, arguments
        # x + 1 -> x + 0 also stands for dropping the "+ 1".
        for delta, kind in ((1, "literal+1"), (-1, "literal-1")):
            new = shifted_literal(m.group(1), delta)
            if new is not None:
                found.append((m.start(), m.group(1), new, kind))
    return [Mutant(path, number, start + 1, old, new, kind)
            for start, old, new, kind in sorted(found)]


def find_mutants(root, files):
    mutants = []
    for path in files:
        text = (root / path).read_text()
        for number, (code, original) in enumerate(
                zip(code_only(text).split("\n"), text.split("\n")), 1):
            if SKIPPED_LINE.search(original):
                continue
            mutants.extend(Mutant(m.path, m.line, m.column, m.old, m.new, m.kind, original.strip())
                           for m in line_mutants(path, number, code))
    return mutants


def apply(text, mutant):
    lines = text.split("\n")
    line = lines[mutant.line - 1]
    at = mutant.column - 1
    assert line[at:at + len(mutant.old)] == mutant.old, mutant.describe()
    lines[mutant.line - 1] = line[:at] + mutant.new + line[at + len(mutant.old):]
    return "\n".join(lines)


# --- running -----------------------------------------------------------------------------------

def run(command, cwd, timeout, log=None):
    """(exit code, output); None as the code when the time ran out (the whole group is killed)."""
    process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                               start_new_session=True)
    try:
        output, _ = process.communicate(timeout=timeout)
        return process.returncode, output.decode(errors="replace")
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.communicate()
        return None, ""


def suites_of(test_file):
    suites = re.findall(r"^(?:TEST|TEST_F|TEST_P|TYPED_TEST|TYPED_TEST_P)\(\s*(\w+)",
                        test_file.read_text(), re.M)
    return sorted(set(suites))


def first_filter(root, path):
    """A gtest filter for the tests of the mutated file's own test files, run first because they
    kill most mutants in a fraction of the whole run; None when it has none."""
    stem = Path(path).stem
    suites = []
    for name in (f"{stem}_test.cpp", f"{stem}_native_test.cpp"):
        test_file = root / "tests" / "unit" / name
        if test_file.exists():
            suites += suites_of(test_file)
    return ":".join(f"*{s}.*" for s in sorted(set(suites))) or None


def sync_tree(source, target):
    """Makes `target` a copy of the working tree without the build and git folders. Only files
    whose bytes differ are written, so that the reused build directory recompiles just those:
    copied modification times could be older than an object built from a mutant."""
    wanted = set()
    for path in sorted(source.rglob("*")):
        relative = path.relative_to(source)
        if relative.parts[0] in ("build", ".git") or "__pycache__" in relative.parts:
            continue
        wanted.add(relative)
        copy = target / relative
        if path.is_dir():
            copy.mkdir(parents=True, exist_ok=True)
        elif not copy.is_file() or copy.read_bytes() != path.read_bytes():
            copy.parent.mkdir(parents=True, exist_ok=True)
            copy.write_bytes(path.read_bytes())
            shutil.copymode(path, copy)
    for path in sorted(target.rglob("*"), reverse=True):
        if path.relative_to(target) not in wanted:
            shutil.rmtree(path) if path.is_dir() else path.unlink()


class Worker:
    def __init__(self, number, work, jobs, timeout):
        self.tree = work / f"worker{number}" / "tree"
        self.build = work / f"worker{number}" / "build"
        self.jobs = jobs
        self.timeout = timeout

    def prepare(self, fresh):
        if fresh and self.tree.parent.exists():
            shutil.rmtree(self.tree.parent)
        sync_tree(ROOT, self.tree)
        if not (self.build / "build.ninja").exists():
            command = ["cmake", "-S", str(self.tree), "-B", str(self.build), "-G", "Ninja",
                       "-DZEM_WITH_WINDOWS=OFF", "-DZEM_SANITIZE=ON"]
            if shutil.which("ld.lld"):
                command.append("-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld")  # each mutant relinks
            code, output = run(command, ROOT, 600)
            if code != 0:
                sys.exit(f"configure failed:\n{output}")
        code, output = self.compile(3600)
        if code != 0:
            sys.exit(f"the unmutated tree does not build:\n{output}")
        started = time.monotonic()
        code, output = run([str(self.build / TEST_BINARY), "--gtest_brief=1"], self.build, 600)
        if code != 0:
            sys.exit(f"the unit tests fail without a mutant:\n{output[-3000:]}")
        return time.monotonic() - started

    def compile(self, timeout):
        return run(["ninja", "-C", str(self.build), f"-j{self.jobs}", "zem_unit_tests",
                    "zemkit_tests"], ROOT, timeout)

    def tests_pass(self, filter_text, binary=TEST_BINARY):
        command = [str(self.build / binary), "--gtest_brief=1", "--gtest_fail_fast"]
        if filter_text:
            command.append(f"--gtest_filter={filter_text}")
        code, _ = run(command, self.build, self.timeout)
        return code == 0  # a hang (None) counts as a failure

    def try_mutant(self, mutant):
        source = self.tree / mutant.path
        original = source.read_text()
        try:
            source.write_text(apply(original, mutant))
            code, _ = self.compile(1200)
            if code != 0:
                return "stillborn"
            if mutant.path.startswith("agent/"):
                return "killed" if not self.tests_pass(None, KIT_TEST_BINARY) else "survived"
            first = first_filter(self.tree, mutant.path)
            if first is not None and not self.tests_pass(first):
                return "killed"
            # The kit's tests read requests and translations with the core too.
            survived = (self.tests_pass(f"-{first}" if first else None)
                        and self.tests_pass(None, KIT_TEST_BINARY))
            return "survived" if survived else "killed"
        finally:
            source.write_text(original)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--file", action="append", default=[],
                        help="only sources whose path contains this text (repeatable)")
    parser.add_argument("--limit", type=int, help="only the first N mutants of the list")
    parser.add_argument("--ids", help="only these mutant numbers, e.g. 3,17,40-52")
    parser.add_argument("--list", action="store_true", help="print the mutants and stop")
    parser.add_argument("--workers", type=int, default=1,
                        help="mutants built and tested side by side (each with its own copy)")
    parser.add_argument("--timeout", type=float, default=0,
                        help="seconds for one test run (default: 5 times the clean run, >= 30)")
    parser.add_argument("--work", type=Path, default=Path("/tmp/zem-mutation"),
                        help="scratch directory: the copies and their build directories")
    parser.add_argument("--fresh", action="store_true", help="configure the scratch builds anew")
    parser.add_argument("--results", type=Path, help="also append one line per mutant here")
    args = parser.parse_args()

    files = [f for f in portable_core(ROOT) if not args.file or any(s in f for s in args.file)]
    mutants = list(enumerate(find_mutants(ROOT, files), 1))
    if args.ids:
        wanted = set()
        for part in args.ids.split(","):
            low, _, high = part.partition("-")
            wanted.update(range(int(low), int(high or low) + 1))
        mutants = [(i, m) for i, m in mutants if i in wanted]
    if args.limit:
        mutants = mutants[:args.limit]
    if args.list:
        for number, mutant in mutants:
            print(f"#{number} {mutant.describe()}")
        print(f"{len(mutants)} mutants in {len(files)} files")
        return 0

    # Two cores at most: one worker builds with both, two build with one each.
    workers = [Worker(k, args.work, 2 if args.workers == 1 else 1, args.timeout)
               for k in range(args.workers)]
    def prepare(worker):
        clean = worker.prepare(args.fresh)
        worker.timeout = args.timeout or max(30.0, 5 * clean)

    preparing = [threading.Thread(target=prepare, args=(w,)) for w in workers]
    for thread in preparing:
        thread.start()
    for thread in preparing:
        thread.join()
    if any(w.timeout == 0 for w in workers):
        return 1
    print(f"{len(mutants)} mutants in {len(files)} files; test time-out "
          f"{workers[0].timeout:.0f} s", flush=True)

    # Whole files go to one worker, so a file is compiled again only when a worker moves on.
    by_file = {}
    for number, mutant in mutants:
        by_file.setdefault(mutant.path, []).append((number, mutant))
    # Headers first: each of their mutants recompiles many files, so they should not be left
    # for the end, when only one worker might still be busy.
    queue = sorted(by_file.values(), key=lambda g: (not g[0][1].path.endswith(".h"), -len(g)))
    lock = threading.Lock()
    outcomes = {}
    results = args.results.open("a") if args.results else None

    def work(worker):
        while True:
            with lock:
                if not queue:
                    return
                group = queue.pop(0)
            for number, mutant in group:
                started = time.monotonic()
                outcome = worker.try_mutant(mutant)
                with lock:
                    outcomes[number] = (outcome, mutant)
                    line = (f"{outcome:9} #{number} {mutant.describe()} "
                            f"({time.monotonic() - started:.0f} s, {len(outcomes)}/{len(mutants)})")
                    print(line, flush=True)
                    if results:
                        results.write(line + "\n")
                        results.flush()

    threads = [threading.Thread(target=work, args=(w,)) for w in workers]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()

    counts = {k: sum(1 for o, _ in outcomes.values() if o == k)
              for k in ("killed", "survived", "stillborn")}
    print("\nSurvivors:")
    for number in sorted(outcomes):
        outcome, mutant = outcomes[number]
        if outcome == "survived":
            print(f"  #{number} {mutant.describe()}\n      {mutant.text}")
    tested = counts["killed"] + counts["survived"]
    score = 100.0 * counts["killed"] / tested if tested else 0.0
    print(f"\nkilled {counts['killed']}, survived {counts['survived']}, "
          f"stillborn {counts['stillborn']}; score {score:.1f}% "
          f"({counts['killed']}/{tested})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
