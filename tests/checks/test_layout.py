"""The source tree's layout: includes run one way, from the program's top down to the platform
edge, no files include each other in a circle, and no source file outgrows a reader."""

import re
from pathlib import Path

SOURCE_DIR = Path(__file__).resolve().parents[2] / "src"
# Higher rooms may include lower ones and their own level, never a higher one.
ROOM_LEVELS = {"app": 4, "ui": 3, "protocol": 2, "text": 2, "format": 2, "io": 1, "platform": 0}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
MAX_LINES = 300


def sources():
    return sorted(p for p in SOURCE_DIR.rglob("*") if p.suffix in (".cpp", ".h"))


def unit(path):
    """A header and its source file are one unit: "ui/dialog_loop_win"."""
    return str(path.relative_to(SOURCE_DIR).with_suffix(""))


def includes():
    """unit -> the units of src/ it includes (resources and system headers left out)."""
    graph = {}
    for path in sources():
        targets = graph.setdefault(unit(path), set())
        for name in INCLUDE.findall(path.read_text()):
            if (SOURCE_DIR / name).is_file():
                targets.add(str(Path(name).with_suffix("")))
        targets.discard(unit(path))
    return graph


def level(unit_name):
    return ROOM_LEVELS[unit_name.split("/")[0]]


def test_every_include_runs_down_or_stays_on_its_level():
    upward = [f"{source} -> {target}" for source, targets in includes().items()
              for target in targets if level(target) > level(source)]
    assert upward == []


def test_no_files_include_each_other_in_a_circle():
    graph = includes()
    state = {}  # unit -> "open" while on the walk, "done" after

    def walk(node, trail):
        state[node] = "open"
        for target in sorted(graph.get(node, ())):
            if state.get(target) == "open":
                raise AssertionError(" -> ".join(trail[trail.index(target):] + [target]))
            if target not in state:
                walk(target, trail + [target])
        state[node] = "done"

    for node in sorted(graph):
        if node not in state:
            walk(node, [node])


def test_no_source_file_is_longer_than_a_reader_takes_in():
    long_files = {str(p.relative_to(SOURCE_DIR)): n for p in sources()
                  if (n := len(p.read_text().splitlines())) > MAX_LINES}
    assert long_files == {}


def test_the_agents_kit_never_reaches_the_dialogs():
    """The kit may read requests as the product does, never include the dialogs or the program's
    top: an agent links it without the user interface."""
    kit = SOURCE_DIR.parent / "agent"
    reached = {f"{path.relative_to(kit)} -> {name}" for path in sorted(kit.rglob("*"))
               if path.suffix in (".cpp", ".h")
               for name in INCLUDE.findall(path.read_text())
               if name.split("/")[0] in ("ui", "app")}
    assert reached == set()
