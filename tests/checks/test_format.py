"""Every C++ file of the tree is as clang-format writes it with the repository's .clang-format."""

import re
import shutil
import subprocess
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parents[2]


def cpp_files():
    """The tracked C++ files and the new ones git does not ignore (build trees are ignored)."""
    listed = subprocess.run(
        ["git", "ls-files", "--cached", "--others", "--exclude-standard", "-z", "--", "*.cpp",
         "*.h"], cwd=ROOT, capture_output=True, check=True).stdout.decode()
    return [name for name in listed.split("\0") if name and (ROOT / name).exists()]


# The quick native loop may run without it; CI installs it.
@pytest.mark.skipif(shutil.which("clang-format") is None, reason="clang-format is not installed")
def test_every_cpp_file_is_clang_formatted():
    files = cpp_files()
    assert files
    result = subprocess.run(["clang-format", "--dry-run", "--Werror", *files], cwd=ROOT,
                            capture_output=True, text=True)
    unformatted = sorted(set(re.findall(r"^(.+?):\d+:\d+: error:", result.stderr, re.MULTILINE)))
    assert result.returncode == 0, (
        "not clang-formatted (run clang-format -i on them):\n" + "\n".join(unformatted)
        if unformatted else result.stderr)
