#!/usr/bin/python3
"""Runs the Windows build under Wine: a project-local prefix, a display, exact reply bytes.

    wine_harness.py --state DIR start [--dpi N] [--like DIR2]
                                                 prepare the prefix (once), start Xvfb when DISPLAY
                                                 is unset, start a persistent wineserver; --dpi
                                                 sets the prefix's screen resolution (default 96);
                                                 --like copies the prefix of the running session in
                                                 DIR2 and shares its display: a session of its own
                                                 (its own wineserver, so its own named objects) for
                                                 a second or two instead of a wineboot -i
    wine_harness.py --state DIR stop             stop the wineserver and the Xvfb started by `start`
    wine_harness.py --state DIR exec PROG ARGS   run a Windows program, passing its exit status on
    wine_harness.py --state DIR request EXE FILE run EXE with FILE on standard input; print the
                                                 reply bytes (repr) and the exit status

The state directory holds the prefix (`prefix/`) and `session.json` with the display in use, so
that parallel test processes share one session. Used as a module by the end-to-end tests.
"""

import argparse
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

WINE_ENV_BASE = {
    "WINEDEBUG": "-all",
    # No Mono or Gecko installers: the product uses neither.
    "WINEDLLOVERRIDES": "mscoree,mshtml=,winedbg.exe=d",
}


# Registry values every session's prefix needs: (key, name, type, value, as saved in user.reg).
SETTINGS = [
    # A crashing test program must end, not wait on a crash dialog nobody can see.
    (r"HKCU\Software\Wine\WineDbg", "ShowCrashDialog", "REG_DWORD", "0",
     '"ShowCrashDialog"=dword:00000000'),
    # Without a window manager (Xvfb), Wine waits 2 s on every destroyed managed window for a
    # state change that never comes; unmanaged windows are destroyed at once.
    (r"HKCU\Software\Wine\X11 Driver", "Managed", "REG_SZ", "N", '"Managed"="N"'),
]


def wine_binary():
    for name in ("wine", "wine64"):
        path = shutil.which(name)
        if path:
            return path
    raise RuntimeError("wine is not installed (run scripts/install-deps.sh)")


class WineSession:
    def __init__(self, state_dir):
        self.state = Path(state_dir).resolve()
        self.prefix = self.state / "prefix"
        self.session_file = self.state / "session.json"

    # ---- environment ----

    def env(self, display=None):
        env = dict(os.environ)
        env.update(WINE_ENV_BASE)
        env["WINEPREFIX"] = str(self.prefix)
        info = self._read_session()
        if display is None:
            display = info.get("display") or os.environ.get("DISPLAY")
        if display:
            env["DISPLAY"] = display
        return env

    def _read_session(self):
        try:
            return json.loads(self.session_file.read_text())
        except (OSError, ValueError):
            return {}

    # ---- start / stop ----

    def start(self, dpi=None, like=None):
        self.state.mkdir(parents=True, exist_ok=True)
        info = self._read_session()
        if like is not None:
            # The template's Xvfb stays the template's: this session only borrows the display.
            display = like.env()["DISPLAY"]
            info = {"display": display, "copy": True}
            if self.prefix.exists():  # left by a run that did not stop its sessions
                subprocess.run(["wineserver", "-k"], env=self.env(display),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
                shutil.rmtree(self.prefix)
            _copy_prefix(like.prefix, self.prefix)
        elif info.get("xvfb_pid") and _alive(info["xvfb_pid"]):
            display = info["display"]
        elif os.environ.get("DISPLAY"):
            display = os.environ["DISPLAY"]
            info = {"display": display}
        else:
            display, pid = _start_xvfb(self.state)
            info = {"display": display, "xvfb_pid": pid}
        self.session_file.write_text(json.dumps(info))
        env = self.env(display)
        if not (self.prefix / "system.reg").exists():
            self._create_prefix(env)
        # A persistent wineserver spares every test process the server start-up.
        subprocess.Popen(["wineserver", "-p"], env=env, stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL).wait(timeout=60)
        # Start the session's background processes (services, explorer) now, detached from any
        # pipe: started by a test's first program they would inherit its output pipe and keep
        # the test's reader waiting after the program itself has ended.
        subprocess.run(["wineboot"], env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=300, start_new_session=True)
        if dpi is not None:
            self._set_dpi(env, dpi)
        # A copied prefix may miss what its template's wineserver has not written back yet.
        user_reg = _read_text(self.prefix / "user.reg")
        for key, name, kind, value, saved in SETTINGS:
            if saved not in user_reg:
                subprocess.run([wine_binary(), "reg", "add", key, "/v", name, "/t", kind, "/d",
                                value, "/f"], env=env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
        return info

    def _set_dpi(self, env, dpi):
        """The logical DPI every program of this prefix starts with, as the user's display
        settings set it on Windows."""
        current = _read_text(self.prefix / "user.reg")
        if f'"LogPixels"=dword:{dpi:08x}' in current:
            return
        for key in (r"HKCU\Control Panel\Desktop", r"HKCC\Software\Fonts"):
            subprocess.run([wine_binary(), "reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD",
                            "/d", str(dpi), "/f"], env=env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
        # Running programs keep the DPI they started with: restart the session's own.
        subprocess.run(["wineserver", "-k"], env=env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60)
        subprocess.Popen(["wineserver", "-p"], env=env, stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL).wait(timeout=60)
        subprocess.run(["wineboot"], env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=300, start_new_session=True)

    def _create_prefix(self, env):
        for attempt in range(2):
            result = subprocess.run(["wineboot", "-i"], env=env, stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL, timeout=300)
            if result.returncode == 0:
                return
            # A wineserver left over from an earlier prefix at the same place can refuse the new
            # one: stop it, start afresh once.
            subprocess.run(["wineserver", "-k"], env=env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=60)
            shutil.rmtree(self.prefix, ignore_errors=True)
        raise RuntimeError(f"wineboot -i failed ({result.returncode}) for {self.prefix}")

    def stop(self):
        info = self._read_session()
        if self.prefix.exists():
            subprocess.run(["wineserver", "-k"], env=self.env(), stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=60)
        pid = info.get("xvfb_pid")
        if pid and _alive(pid):
            os.kill(pid, signal.SIGTERM)
            for _ in range(50):
                if not _alive(pid):
                    break
                time.sleep(0.1)
        try:
            self.session_file.unlink()
        except OSError:
            pass
        if info.get("copy"):
            # Only once the server has written the registry back and gone.
            subprocess.run(["wineserver", "-w"], env=self.env(), stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=60)
            shutil.rmtree(self.prefix, ignore_errors=True)

    # ---- running programs ----

    def popen(self, program, args=(), **kwargs):
        return subprocess.Popen([wine_binary(), str(program), *args], env=self.env(), **kwargs)

    def runner(self):
        """The command prefix that runs a Windows program in this session, for the kit's run():
        `env` with what the session sets, then wine."""
        base = os.environ
        return ["env", *(f"{key}={value}" for key, value in self.env().items()
                         if base.get(key) != value), wine_binary()]

    def run(self, program, args=(), stdin_bytes=None, timeout=120):
        proc = self.popen(program, args, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL)
        out, _ = proc.communicate(stdin_bytes, timeout=timeout)
        return out, proc.returncode


# What Wine only ever reads in a prepared prefix (program images, national language tables): 665 of
# its 690 MB. A copy shares these files and copies the rest, the registry above all.
SHARED_SUFFIXES = {".dll", ".exe", ".sys", ".drv", ".ocx", ".cpl", ".acm", ".tlb", ".nls"}


def _copy_prefix(source, target):
    for directory, subdirectories, files in os.walk(source):
        into = target / Path(directory).relative_to(source)
        into.mkdir(parents=True, exist_ok=True)
        for name in subdirectories + files:
            origin, copy = Path(directory) / name, into / name
            if origin.is_symlink():
                copy.symlink_to(os.readlink(origin))
            elif name in files and origin.suffix.lower() in SHARED_SUFFIXES:
                os.link(origin, copy)
            elif name in files:
                shutil.copy2(origin, copy)
        # Symbolic links to directories are not walked into.
        subdirectories[:] = [d for d in subdirectories if not (Path(directory) / d).is_symlink()]


def _read_text(path):
    try:
        return path.read_text(errors="replace")
    except OSError:
        return ""


def _alive(pid):
    """Whether the process runs: an ended Xvfb stays a zombie until its foster parent reaps it."""
    try:
        return Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()[0] != "Z"
    except (OSError, IndexError):
        return False


def _start_xvfb(state):
    xvfb = shutil.which("Xvfb")
    if not xvfb:
        raise RuntimeError("Xvfb is not installed (run scripts/install-deps.sh)")
    # -displayfd: Xvfb takes the first free display itself and writes its number once it listens.
    read_end, write_end = os.pipe()
    with open(state / "xvfb.log", "wb") as log:
        proc = subprocess.Popen([xvfb, "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                                 "-nolisten", "tcp"], stdout=log, stderr=log, pass_fds=[write_end],
                                start_new_session=True)
    os.close(write_end)
    with os.fdopen(read_end, "rb") as numbers:
        number = numbers.readline().strip()
    if not number.isdigit():
        proc.kill()
        raise RuntimeError(f"Xvfb did not start (see {state / 'xvfb.log'})")
    return f":{number.decode()}", proc.pid


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--state", required=True, help="state directory (prefix and session)")
    sub = parser.add_subparsers(dest="command", required=True)
    start_parser = sub.add_parser("start")
    start_parser.add_argument("--dpi", type=int, help="logical DPI of the prefix (96 is 100 %%)")
    start_parser.add_argument("--like", help="state directory of a running session to copy")
    sub.add_parser("stop")
    exec_parser = sub.add_parser("exec")
    exec_parser.add_argument("program")
    exec_parser.add_argument("args", nargs=argparse.REMAINDER)
    request_parser = sub.add_parser("request")
    request_parser.add_argument("exe")
    request_parser.add_argument("request_file")
    options = parser.parse_args()

    session = WineSession(options.state)
    if options.command == "start":
        info = session.start(options.dpi, WineSession(options.like) if options.like else None)
        print(f"wine session ready on display {info['display']}")
        return 0
    if options.command == "stop":
        session.stop()
        return 0
    if options.command == "exec":
        # The output goes through a file, not the caller's pipe: a Wine process the program starts
        # on the way (the desktop, when none is running) inherits its handles and would keep the
        # pipe open, and the caller waiting, long after the program has ended.
        with tempfile.TemporaryFile() as output:
            proc = session.popen(options.program, options.args, stdin=subprocess.DEVNULL,
                                 stdout=output, stderr=subprocess.STDOUT, start_new_session=True)
            code = proc.wait()
            output.seek(0)
            sys.stdout.buffer.write(output.read())
        return code
    if options.command == "request":
        data = Path(options.request_file).read_bytes()
        started = time.monotonic()
        out, code = session.run(options.exe, stdin_bytes=data, timeout=3600)
        elapsed = time.monotonic() - started
        print(f"reply: {out!r}")
        print(f"exit status: {code}")
        print(f"process ran {elapsed:.1f} s")
        return 0
    return 2


if __name__ == "__main__":
    sys.exit(main())
