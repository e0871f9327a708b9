"""The translator's kit: the catalogue agrees with the code, and every translation file shipped
(each translations/*.txt) passes `zemuictl check-translation`, which reads and formats it as the
product does; a seeded file shows each fault the checker flags."""

import os
import subprocess
import sys
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parents[2]
TRANSLATIONS = ROOT / "translations"
# The native build's checker; CTest names the one it built.
ZEMUICTL = os.environ.get("ZEMUICTL", str(ROOT / "build" / "native" / "bin" / "zemuictl"))

LANGUAGES = sorted(path.stem for path in TRANSLATIONS.glob("*.txt"))


def check_translation(path, *options):
    return subprocess.run([ZEMUICTL, "check-translation", str(path), *options],
                          capture_output=True, text=True, encoding="utf-8")


def test_catalogue_matches_the_sources():
    result = subprocess.run([sys.executable, str(TRANSLATIONS / "make_catalogue.py"), "--check"],
                            capture_output=True, text=True)
    assert result.returncode == 0, result.stderr


@pytest.mark.parametrize("language", LANGUAGES)
def test_shipped_translation_passes_the_checker_with_every_key_once(language):
    result = check_translation(TRANSLATIONS / f"{language}.txt")  # catalogue.tsv beside it
    assert result.returncode == 0, result.stdout + result.stderr
    for section in ("keys not in the catalogue", "catalogue keys missing", "more than once"):
        assert section not in result.stdout


# A seeded file (one fault each), what the report says, and the exit status.
SEEDED = [
    ("\ufeffCancel\tAbbrechen\n", "byte-order mark", 1),
    ("Cancel   Abbrechen\n", "line 1: Cancel   Abbrechen", 1),
    ("Cancel\tAbbrechen\nCancle\tAbbrechen\n", "never looked up) (1):\n  Cancle\n", 0),
    ("Cancel\tAbbrechen\n", "catalogue keys missing (shown in English)", 0),
    (" Action {x} of {y}\t Aktion {x}\n", " Action {x} of {y}: drops {y}", 1),
    ("Cancel\tAbbrechen {z}\n", "Cancel: invents {z}", 1),
    ("Cancel\tAbbrechen {z}\n", "Cancel: unknown variable", 1),
    ("Cancel\t{_tabulator}\n", "Cancel: unknown variable", 1),
    ("Cancel\tAbbrechen {\n", "Cancel: unclosed brace", 1),
    ("Cancel\tAbbrechen\n", "reading direction: left to right", 0),
    ("default:LTR\tdefault:RTL\n", "reading direction: right to left", 0),
]


@pytest.mark.parametrize("content, reported, status", SEEDED)
def test_checker_flags_a_seeded_fault(tmp_path, content, reported, status):
    path = tmp_path / "seeded.txt"
    path.write_bytes(content.encode("utf-8"))
    result = check_translation(path, "--catalogue", str(TRANSLATIONS / "catalogue.tsv"))
    assert reported in result.stdout
    assert result.returncode == status, result.stdout
