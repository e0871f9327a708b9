#!/usr/bin/python3
"""The runtime parts that the static ZemClientUI.exe contains, the Debian packages they come from,
and THIRD-PARTY-NOTICES.txt, made of those packages' copyright files.

    scripts/third_party.py           # rewrite THIRD-PARTY-NOTICES.txt from the installed packages
    scripts/third_party.py --check   # fails when the file and the installed packages disagree

tests/checks/test_notices.py runs the check; scripts/package_release.py takes the parts for the
SBOM from here.
"""

import re
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
NOTICES = ROOT / "THIRD-PARTY-NOTICES.txt"

GCC = "gcc-mingw-w64-x86-64-posix"
GXX = "g++-mingw-w64-x86-64-posix"
MINGW = "mingw-w64-x86-64-dev"
GCC_LICENCE = "GPL-3.0-or-later WITH GCC-exception-3.1"

# (name, what it is, Debian package, SPDX licence): what the linker takes from the toolchain.
PARTS = [
    ("libstdc++", "GNU C++ standard library (static)", GXX, GCC_LICENCE),
    ("libgcc", "GCC runtime support and unwinder, libgcc and libgcc_eh (static)", GCC,
     GCC_LICENCE),
    ("libssp", "GCC stack protector and fortified string functions (static)", GCC, GCC_LICENCE),
    ("winpthreads", "POSIX threads for Windows, libwinpthread (static)", MINGW, "MIT"),
    ("mingw-w64-runtime", "mingw-w64 start-up code and C runtime extensions (libmingw32, "
     "libmingwex, import libraries)", MINGW, "ZPL-2.1"),
]

# (heading, packages, [(first lines, last line)]): the passages of each package's copyright file
# (/usr/share/doc/PACKAGE/copyright, the first package's) that cover what the exe contains. A
# passage runs from the first place where its first lines stand to the next line that is its last.
SECTIONS = [
    ("libstdc++, libgcc and libssp: GPL 3 or later with the GCC Runtime Library Exception 3.1",
     [GXX, GCC], [
         ("GCC is Copyright (C) 1986, 1987, 1988, 1989, 1990, 1991, 1992, 1993, 1994,",
          " - libvtv"),
         ("GCC RUNTIME LIBRARY EXCEPTION", "requirements of the license of GCC."),
     ]),
    ("winpthreads: MIT (expat)", [MINGW], [
        ("Files: mingw-w64-libraries/winpthreads/*", "License: expat"),
        ("Files: mingw-w64-libraries/winpthreads/include/pthread.h",
         " POSSIBILITY OF SUCH DAMAGE."),
        ("License: expat\n Permission is hereby granted, free of charge, to any person obtaining",
         " SOFTWARE."),
    ]),
    ("mingw-w64 runtime (start-up code, libmingwex with its printf and gdtoa)", [MINGW], [
        ("Files: *", " EVEN IF ADVISED OF THE POSSIBILITY OF SUCH DAMAGE."),
        ("Files: mingw-w64-crt/gdtoa/*", " THIS SOFTWARE."),
        ("Files: mingw-w64-crt/gdtoa/qnan.c", " OF THIS SOFTWARE."),
        ("Files: mingw-w64-crt/misc/basename.c",
         " however caused, resulting from the use of this software."),
    ]),
]

HEADER = """\
Third-party notices for ZemClientUI.exe

ZemClientUI itself is under the MIT licence (LICENSE). ZemClientUI.exe is linked statically and
so contains parts of the runtime libraries of the toolchain that built it, Debian's mingw-w64
cross compiler. Their notices follow, taken from the copyright files
(/usr/share/doc/<package>/copyright) of the Debian packages, in the versions named here, that
supplied them. scripts/third_party.py writes this file.

"""
PACKAGE_LINE = "Debian package: {} {}"


def installed_version(package):
    """The installed version of a Debian package; None when it is not installed."""
    result = subprocess.run(["dpkg-query", "-W", "-f=${Status}\t${Version}", package],
                            capture_output=True, text=True)
    status, _, version = result.stdout.partition("\t")
    return version if result.returncode == 0 and status == "install ok installed" else None


def installed_versions():
    """{package: installed version or None} of every package the notices come from."""
    return {package: installed_version(package)
            for _, packages, _ in SECTIONS for package in packages}


def named_versions(text):
    """{package: version} as the notices text names them."""
    return dict(re.findall(r"^Debian package: (\S+) (\S+)$", text, re.MULTILINE))


def passage(lines, first, last):
    """The lines from where `first` (one or more lines) stands to the next line `last`."""
    first = first.split("\n")
    starts = [i for i in range(len(lines)) if lines[i:i + len(first)] == first]
    if not starts:
        raise SystemExit(f"a copyright file no longer has the passage {first!r}")
    return lines[starts[0]:lines.index(last, starts[0]) + 1]


def render():
    """The notices as the installed packages give them."""
    out = [HEADER]
    for number, (heading, packages, passages) in enumerate(SECTIONS, 1):
        out.append(("\n" if number > 1 else "") + "=" * 99 + "\n")
        out.append(f"{number}. {heading}\n\n")
        for package in packages:
            version = installed_version(package)
            if version is None:
                raise SystemExit(f"{package} is not installed (scripts/install-deps.sh)")
            out.append(PACKAGE_LINE.format(package, version) + "\n")
        source = Path("/usr/share/doc") / packages[0] / "copyright"
        out.append(f"From: {source}\n")
        lines = source.read_text(encoding="utf-8").splitlines()
        for first, last in passages:
            out.append("\n" + "\n".join(passage(lines, first, last)) + "\n")
    return "".join(out)


def main():
    if sys.argv[1:] == ["--check"]:
        named, installed = named_versions(NOTICES.read_text(encoding="utf-8")), installed_versions()
        if named != installed:
            raise SystemExit(f"{NOTICES.name} names {named}, installed are {installed}: "
                             "run scripts/third_party.py and review the changes")
        if NOTICES.read_text(encoding="utf-8") != render():
            raise SystemExit(f"{NOTICES.name} differs from the packages' copyright files: "
                             "run scripts/third_party.py")
    elif sys.argv[1:]:
        raise SystemExit(__doc__)
    else:
        NOTICES.write_text(render(), encoding="utf-8")


if __name__ == "__main__":
    main()
