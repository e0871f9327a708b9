#!/usr/bin/python3
"""Writes the release zip of the built (or signed) exes, the same bytes for the same exes:

    package_release.py OUTPUT_DIR ZemClientUI.exe [zemuictl.exe]

OUTPUT_DIR/ZemClientUI-<version>-win64.zip holds one folder ZemClientUI-<version>/ with the exes,
translations/ (every translations/*.txt and catalogue.tsv), LICENSE, THIRD-PARTY-NOTICES.txt,
sbom.cdx.json (CycloneDX 1.5) and SHA256SUMS (of every other file, for `sha256sum -c`). The
entries are sorted, dated SOURCE_DATE_EPOCH (the last commit's time when unset) and 0644/0755.
"""

import hashlib
import json
import os
import re
import subprocess
import sys
import time
import uuid
import zipfile
from pathlib import Path

import third_party

ROOT = Path(__file__).resolve().parents[1]


def project_version():
    text = (ROOT / "CMakeLists.txt").read_text(encoding="utf-8")
    return re.search(r"project\(ZemClientUI VERSION (\d+\.\d+\.\d+)", text).group(1)


def source_date_epoch():
    if "SOURCE_DATE_EPOCH" in os.environ:
        return int(os.environ["SOURCE_DATE_EPOCH"])
    return int(subprocess.run(["git", "-C", str(ROOT), "log", "-1", "--format=%ct"],
                              capture_output=True, text=True, check=True).stdout)


def sbom(version, exe_hashes, epoch):
    """The CycloneDX 1.5 document: the product's exe, the kit's command-line tool, and the runtime
    parts linked into both; each exe with the SHA-256 of the bytes shipped (signed, when signed)."""
    exe_sha256 = exe_hashes["ZemClientUI.exe"]
    architectures = {}
    tools = [{
        "type": "application",
        "bom-ref": name.removesuffix(".exe"),
        "name": name.removesuffix(".exe"),
        "version": version,
        "description": f"{name}, the agent kit's command-line tool, statically linked (Windows x64)",
        "licenses": [{"license": {"id": "MIT"}}],
        "hashes": [{"alg": "SHA-256", "content": sha256}],
    } for name, sha256 in sorted(exe_hashes.items()) if name != "ZemClientUI.exe"]
    components = []
    for name, description, package, licence in third_party.PARTS:
        package_version = third_party.installed_version(package)
        if package not in architectures:
            architectures[package] = subprocess.run(
                ["dpkg-query", "-W", "-f=${Architecture}", package],
                capture_output=True, text=True, check=True).stdout
        components.append({
            "type": "library",
            "bom-ref": name,
            "name": name,
            "version": package_version,
            "description": f"{description}; from the Debian package {package}",
            "licenses": [{"expression": licence}],
            "purl": f"pkg:deb/debian/{package}@{package_version.replace('+', '%2B')}"
                    f"?arch={architectures[package]}",
        })
    return {
        "bomFormat": "CycloneDX",
        "specVersion": "1.5",
        "serialNumber": f"urn:uuid:{uuid.uuid5(uuid.NAMESPACE_URL, 'ZemClientUI.exe/' + exe_sha256)}",
        "version": 1,
        "metadata": {
            "timestamp": time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime(epoch)),
            "component": {
                "type": "application",
                "bom-ref": "ZemClientUI",
                "name": "ZemClientUI",
                "version": version,
                "description": "ZemClientUI.exe, statically linked (Windows x64)",
                "licenses": [{"license": {"id": "MIT"}}],
                "hashes": [{"alg": "SHA-256", "content": exe_sha256}],
            },
        },
        "components": tools + components,
        "dependencies": [{"ref": ref, "dependsOn": [c["bom-ref"] for c in components]}
                         for ref in ["ZemClientUI"] + [tool["bom-ref"] for tool in tools]],
    }


def main():
    exes = [Path(name) for name in sys.argv[2:]]
    if not exes or exes[0].name != "ZemClientUI.exe":
        raise SystemExit(__doc__)
    out_dir = Path(sys.argv[1])
    version, epoch = project_version(), source_date_epoch()
    files = {exe.name: exe.read_bytes() for exe in exes}
    files.update({"LICENSE": (ROOT / "LICENSE").read_bytes(),
                  "THIRD-PARTY-NOTICES.txt": (ROOT / "THIRD-PARTY-NOTICES.txt").read_bytes()})
    for path in sorted((ROOT / "translations").glob("*.txt")) + [
            ROOT / "translations" / "catalogue.tsv"]:
        files[f"translations/{path.name}"] = path.read_bytes()
    exe_hashes = {exe.name: hashlib.sha256(files[exe.name]).hexdigest() for exe in exes}
    files["sbom.cdx.json"] = (json.dumps(sbom(version, exe_hashes, epoch), indent=2)
                              + "\n").encode()
    files["SHA256SUMS"] = "".join(f"{hashlib.sha256(data).hexdigest()}  {name}\n"
                                  for name, data in sorted(files.items())).encode()

    folder = f"ZemClientUI-{version}"
    date_time = time.gmtime(max(epoch, 315532800))[:6]  # zip dates start in 1980
    entries = {f"{folder}/": None, f"{folder}/translations/": None}
    entries.update((f"{folder}/{name}", data) for name, data in files.items())
    out_dir.mkdir(parents=True, exist_ok=True)
    target = out_dir / f"{folder}-win64.zip"
    with zipfile.ZipFile(target, "w") as archive:
        for name in sorted(entries):
            info = zipfile.ZipInfo(name, date_time)
            info.create_system = 3  # Unix, so that the permissions below are read
            data = entries[name]
            if data is None:
                info.external_attr = (0o40755 << 16) | 0x10  # directory
                archive.writestr(info, b"")
            else:
                mode = 0o100755 if name.endswith(".exe") else 0o100644
                info.external_attr = mode << 16
                info.compress_type = zipfile.ZIP_DEFLATED
                archive.writestr(info, data, compresslevel=9)
    print(target)


if __name__ == "__main__":
    main()
