"""Runs the program for one request: write it, close standard input, read the one reply line."""

import queue
import subprocess
import threading
import time
from dataclasses import dataclass
from typing import Optional

from .replies import Reply, normalize_exit_code, parse_reply

# After the process ended, how long its reply line may still take to arrive through the pipe.
_DRAIN_SECONDS = 2.0


@dataclass
class Outcome:
    # "replied", "no_reply", "timed_out_killed" or "failed_to_start"; a launcher that closes the
    # dialog at the time-out also reports "timed_out_closed", and "no_user_session".
    status: str
    reply: Optional[Reply] = None
    exit_code: Optional[int] = None  # normalised: -1 however the platform reports it


def run(request, exe, timeout, runner=None) -> Outcome:
    """Starts `exe` (after the command prefix `runner`, e.g. ["wine"]), writes the request (a
    request object or its bytes), closes standard input, reads the one reply line and waits for
    the exit. At `timeout` seconds the process is killed."""
    data = request if isinstance(request, (bytes, bytearray)) else request.encode()
    deadline = time.monotonic() + timeout
    try:
        process = subprocess.Popen([*(runner or []), str(exe)], stdin=subprocess.PIPE,
                                   stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    except OSError:
        return Outcome("failed_to_start")
    # The reader waits for the optional last field until standard input is closed.
    threading.Thread(target=_write_and_close, args=(process.stdin, bytes(data)),
                     daemon=True).start()
    lines = queue.Queue()
    reader = threading.Thread(target=lambda: lines.put(process.stdout.readline()), daemon=True)
    reader.start()
    line = _reply_line(process, lines, deadline)
    try:
        code = process.wait(max(0.0, deadline - time.monotonic()))
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
        return Outcome("timed_out_killed", parse_reply(line) if line else None)
    finally:
        # A reader still blocked holds the stream's lock: closing would wait for it.
        if not reader.is_alive():
            process.stdout.close()
    if not line:
        return Outcome("no_reply", None, normalize_exit_code(code))
    return Outcome("replied", parse_reply(line), normalize_exit_code(code))


def _write_and_close(stdin, data):
    try:
        stdin.write(data)
    except OSError:  # the program stopped reading: its reply says why
        pass
    try:
        stdin.close()
    except OSError:
        pass


def _reply_line(process, lines, deadline):
    """The first line of standard output, or b"" when none came. A process that ended is given a
    moment for its line: under Wine a pipe can stay open after the program is gone."""
    exited_at = None
    while True:
        now = time.monotonic()
        if process.poll() is not None and exited_at is None:
            exited_at = now
        limit = deadline if exited_at is None else min(deadline, exited_at + _DRAIN_SECONDS)
        if now >= limit:
            return b""
        try:
            return lines.get(timeout=min(0.1, limit - now))
        except queue.Empty:
            pass
