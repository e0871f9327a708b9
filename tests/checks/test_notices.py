"""THIRD-PARTY-NOTICES.txt names the Debian packages, in their installed versions, that the
static exe's runtime comes from, and holds their copyright files' passages as they are now."""

import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]


def test_notices_match_the_installed_toolchain_packages():
    result = subprocess.run([sys.executable, str(ROOT / "scripts" / "third_party.py"), "--check"],
                            capture_output=True, text=True)
    assert result.returncode == 0, result.stderr
