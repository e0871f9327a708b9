#!/usr/bin/python3
"""Checks the hardening of a built exe that ships (ZemClientUI.exe, zemuictl.exe), read with
pefile (Debian's python3-pefile):

    check-pe.py EXE...

- the DLL characteristics ask for ASLR with a 64-bit address space (DYNAMIC_BASE,
  HIGH_ENTROPY_VA), DEP (NX_COMPAT) and TERMINAL_SERVER_AWARE;
- every imported DLL (delay-loaded ones too) is a KnownDLL, which Windows loads from the system
  only: any other DLL would be searched in the exe's own folder first (DLL planting). comctl32 is
  allowed because the manifest redirects it to the side-by-side common controls; API sets
  (api-ms-win-*) are resolved by the loader itself;
- the stack protector's and the fortify handler's messages are in the file (the static libssp
  is linked in, so no libssp DLL is imported either);
- the size is a multiple of 8 and the PE checksum is valid: a signer then neither pads the file
  nor rewrites the checksum, so removing the signature gives back exactly these bytes. GNU ld
  writes the checksum, and a stripped exe (-s) ends on its 512-byte file alignment.

Prints what is wrong and exits 1, or exits 0 silently.
"""

import sys

import pefile

FLAGS = ("DYNAMIC_BASE", "HIGH_ENTROPY_VA", "NX_COMPAT", "TERMINAL_SERVER_AWARE")

# HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs of Windows 10 and 11 (the WOW64
# and emulation entries left out), with ntdll and kernelbase, which the loader always maps from
# the system.
KNOWN_DLLS = {
    "advapi32", "clbcatq", "combase", "comdlg32", "coml2", "difxapi", "gdi32", "gdiplus",
    "imagehlp", "imm32", "kernel32", "kernelbase", "msctf", "msvcrt", "normaliz", "nsi", "ntdll",
    "ole32", "oleaut32", "psapi", "rpcrt4", "sechost", "setupapi", "shcore", "shell32", "shlwapi",
    "user32", "wldap32", "ws2_32",
}
ALLOWED = {name + ".dll" for name in KNOWN_DLLS | {"comctl32"}}

MESSAGES = (b"stack smashing detected", b"buffer overflow detected")


def problems(path):
    pe = pefile.PE(path, fast_load=True)
    pe.parse_data_directories(directories=[
        pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_IMPORT"],
        pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT"]])
    found = [f"DLL characteristic {flag} is not set" for flag in FLAGS
             if not getattr(pe.OPTIONAL_HEADER, "IMAGE_DLLCHARACTERISTICS_" + flag)]
    imports = [entry.dll.decode("ascii").lower()
               for entry in (getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])
                             + getattr(pe, "DIRECTORY_ENTRY_DELAY_IMPORT", []))]
    if not imports:
        found.append("no imports found: not the product?")
    found += [f"imports {name}, not a KnownDLL: it would be searched in the exe's folder first"
              for name in imports if name not in ALLOWED and not name.startswith("api-ms-win-")]
    with open(path, "rb") as file:
        data = file.read()
    found += [f"no \"{message.decode()}\" in the file: the handler is not linked in"
              for message in MESSAGES if message not in data]
    if len(data) % 8:
        found.append(f"size {len(data)} is not a multiple of 8: signing would pad it")
    if pe.OPTIONAL_HEADER.CheckSum != pe.generate_checksum():
        found.append("the PE checksum is not valid: signing would rewrite it")
    return found


def main():
    if len(sys.argv) < 2:
        raise SystemExit(__doc__)
    failed = False
    for path in sys.argv[1:]:
        for problem in problems(path):
            print(f"{path}: {problem}")
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
