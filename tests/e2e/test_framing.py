"""The start of a request and the one reply path, end to end under Wine: exact bytes, exit status."""

import pytest

import zemtest

ERROR_EXIT = 255  # -1 as Linux sees a Windows exit code


def run(request_bytes):
    """Returns (reply bytes, exit status, seconds from start to exit)."""
    with zemtest.start_product(request_bytes) as product:
        return product.reply(60)


def test_empty_input_has_no_version():
    out, code, seconds = run(b"")
    assert out == b"Error: No version\n"
    assert code == ERROR_EXIT
    # The reply is written at once; the process then lingers about 2 s before it exits.
    assert 1.9 <= seconds < 10


def test_older_version_is_incompatible():
    assert run(b"UI 1.1\nPROGRESS\n")[:2] == (b"Error: Incompatible version\n", ERROR_EXIT)


def test_version_is_a_prefix_check():
    out, code, _ = run(b"UI 1.25\nNOSUCHCOMMAND\n")
    assert (out, code) == (b"Error: Bad command\n", ERROR_EXIT)


def test_short_lines_before_the_version_are_skipped_and_crlf_accepted():
    out, code, _ = run(b"\n   \nx\n\t\nUI 1.2\r\nBOGUS\r\n")
    assert (out, code) == (b"Error: Bad command\n", ERROR_EXIT)


BAD_COMMANDS = [b"REMINDER", b"ACTIONUI :CANCEL", b"PROGRESS:CANCEL", b"progress",
                b"ACTIONUI:AUTOTAKEACTION"]


def bad_command_request(command):
    return b"UI 1.2\n" + command + b"\nTITLE:1\nT"


@pytest.mark.parametrize("command", BAD_COMMANDS)
def test_unknown_command_or_flag_is_a_bad_command(command):
    with zemtest.start_product_early(bad_command_request(command),
                                     [bad_command_request(c) for c in BAD_COMMANDS]) as product:
        out, code, _ = product.reply(60)
    assert (out, code) == (b"Error: Bad command\n", ERROR_EXIT)


def test_missing_command_line_is_a_bad_command():
    assert run(b"UI 1.2\n")[:2] == (b"Error: Bad command\n", ERROR_EXIT)


def test_field_errors_reach_the_agent_as_one_lf_terminated_line():
    out, code, _ = run(b"UI 1.2\r\nPROGRESS\r\nTITLE:5\r\nab")
    assert (out, code) == (b"Error: failed reading title\n", ERROR_EXIT)
    assert b"\r" not in out and out.count(b"\n") == 1


def test_ctrl_z_inside_a_field_ends_the_input():
    out, code, _ = run(b"UI 1.2\nPROGRESS\nTITLE:5\nab\x1acd")
    assert (out, code) == (b"Error: failed reading title\n", ERROR_EXIT)
