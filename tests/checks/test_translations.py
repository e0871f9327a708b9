"""The translator's kit: the catalogue agrees with the code, and each shipped translation file,
read as the product reads it, translates every catalogue key with the key's own variables."""

import subprocess
import sys
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parents[2]
TRANSLATIONS = ROOT / "translations"
sys.path.insert(0, str(TRANSLATIONS))
import make_catalogue  # noqa: E402

# Every shipped language: each file of translations/ but the catalogue.
LANGUAGES = sorted(path.stem for path in TRANSLATIONS.glob("*.txt"))


def read_translation(language):
    data = (TRANSLATIONS / f"{language}.txt").read_bytes()
    return data, make_catalogue.parse_translation_file(data)


def test_catalogue_matches_the_sources():
    result = subprocess.run([sys.executable, str(TRANSLATIONS / "make_catalogue.py"), "--check"],
                            capture_output=True, text=True)
    assert result.returncode == 0, result.stderr


@pytest.mark.parametrize("language", LANGUAGES)
def test_translation_has_each_catalogue_key_once(language):
    data, pairs = read_translation(language)
    # A byte-order mark would become part of the first key.
    assert not data.startswith(b"\xef\xbb\xbf")
    data.decode("utf-8")
    keys = [key.decode("utf-8") for key, _ in pairs]
    catalogue = make_catalogue.read_catalogue_keys()
    assert sorted(set(catalogue) - set(keys)) == [], "missing"
    assert sorted(set(keys) - set(catalogue)) == [], "not in the catalogue"
    assert sorted(k for k in set(keys) if keys.count(k) > 1) == [], "given twice"


@pytest.mark.parametrize("language", LANGUAGES)
def test_translation_keeps_each_keys_variables(language):
    _, pairs = read_translation(language)
    wrong = {}
    for key, value in pairs:
        key, value = key.decode("utf-8"), value.decode("utf-8")
        try:
            kept = set(make_catalogue.ordinary_variables(value))
        except ValueError as error:
            kept = str(error)
        if kept != set(make_catalogue.ordinary_variables(key)):
            wrong[key] = kept
    assert wrong == {}
