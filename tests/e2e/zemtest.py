"""Shared helpers for the end-to-end tests: the Wine session and the product."""

import os
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "scripts"))
from wine_harness import WineSession  # noqa: E402

STATE = Path(os.environ.get("ZEM_WINE_STATE", ROOT / "build" / "native" / "wine"))
BIN = Path(os.environ.get("ZEM_WIN_BIN", ROOT / "build" / "native" / "win" / "bin"))
PRODUCT = BIN / "ZemClientUI.exe"

session = WineSession(STATE)


def run_product(request_bytes, timeout=60):
    """Runs the product with the request on stdin (then closed); returns (stdout bytes, status)."""
    proc = session.popen(PRODUCT, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL)
    out, _ = proc.communicate(request_bytes, timeout=timeout)
    return out, proc.returncode
