"""THIRD-PARTY-NOTICES.txt names the Debian packages, in their installed versions, that the
static exe's runtime comes from, and holds their copyright files' passages as they are now."""

import shutil
import subprocess
import sys
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parents[2]


# The packages are those of the Windows build, which the quick native loop goes without.
@pytest.mark.skipif(shutil.which("x86_64-w64-mingw32-g++") is None or
                    shutil.which("dpkg-query") is None,
                    reason="no Windows toolchain from Debian packages")
def test_notices_match_the_installed_toolchain_packages():
    result = subprocess.run([sys.executable, str(ROOT / "scripts" / "third_party.py"), "--check"],
                            capture_output=True, text=True)
    assert result.returncode == 0, result.stderr
