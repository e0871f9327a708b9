"""docs/integrating.md shows its examples exactly as the tests compile and run them."""

import re
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
GUIDE = ROOT / "docs" / "integrating.md"
# A fenced block whose first line names the file it shows.
BLOCK = re.compile(r"^```\w+\n(?://|#) (agent/examples/\S+)\n(.*?)^```$", re.MULTILINE | re.DOTALL)


def test_each_example_in_the_guide_is_the_file_the_tests_run():
    shown = {name: text for name, text in BLOCK.findall(GUIDE.read_text())}
    assert sorted(shown) == ["agent/examples/prompt_request.cpp", "agent/examples/prompt_request.py"]
    for name, text in shown.items():
        assert (ROOT / name).read_text() == text, name


def test_the_python_example_runs():
    result = subprocess.run([sys.executable, str(ROOT / "agent/examples/prompt_request.py")],
                            env={"PYTHONPATH": str(ROOT / "agent" / "python")},
                            capture_output=True, text=True, timeout=60)
    assert result.returncode == 0, result.stderr
    assert re.fullmatch(r"\d+ bytes; reply REMIND after 1800 s\n", result.stdout)
