#!/usr/bin/python3
"""Lists the pytest cases of a directory for CTest, as pytest itself collects them.

    collect_cases.py DIR

prints one line per test function (its parametrized cases run together), in collection order:

    <file>::<function> <own|shared> <dpi>

own marks a function with a case that needs a Wine session of its own (marker `own_session`); dpi
is the screen DPI of the Wine session its module runs in (marker `wine_dpi`), 0 for the default.
pytest's own output goes to standard error. Importing the test modules needs neither a build nor
Wine.
"""

import contextlib
import re
import sys
from pathlib import Path

import pytest


class Cases:
    """A pytest plugin that keeps the collected functions and their markers."""

    def __init__(self, directory):
        self.directory = directory
        self.functions = {}  # node -> (own, set of dpi); dicts keep the collection order

    def pytest_collection_finish(self, session):
        for item in session.items:
            function = re.sub(r"\[.*\]$", "", item.nodeid.split("::", 1)[1])
            node = f"{Path(item.path).relative_to(self.directory)}::{function}"
            dpi = item.get_closest_marker("wine_dpi")
            own, dpis = self.functions.setdefault(node, (False, set()))
            self.functions[node] = (own or item.get_closest_marker("own_session") is not None,
                                    dpis | {dpi.args[0] if dpi else 0})

    def lines(self):
        for node, (own, dpis) in self.functions.items():
            if len(dpis) != 1:
                raise SystemExit(f"{node}: its cases ask for different DPIs {sorted(dpis)}")
            yield f"{node} {'own' if own else 'shared'} {dpis.pop()}"


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    directory = Path(sys.argv[1]).resolve()
    cases = Cases(directory)
    with contextlib.redirect_stdout(sys.stderr):
        status = pytest.main(["--collect-only", "-q", "-p", "no:cacheprovider", str(directory)],
                             plugins=[cases])
    if status not in (pytest.ExitCode.OK, pytest.ExitCode.NO_TESTS_COLLECTED):
        raise SystemExit(f"pytest could not collect the cases of {directory} (status {status})")
    for line in cases.lines():
        print(line)


if __name__ == "__main__":
    main()
