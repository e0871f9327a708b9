"""The sample agent service, installed in Wine's service manager: its prompt is clicked, the
outcome logged; stopping the service closes an open prompt, which is logged as CLOSED."""

import json
import subprocess

import pytest

import zemtest
from zemtest import IDS, WIN_BIN, Driver, session

SERVICE = "ZemAgentSample"
PROMPT_TITLE = "Restart required"
LOG = WIN_BIN / "agent-service.log"


def sc(*arguments):
    result = subprocess.run([zemtest.wine_binary(), "sc", *arguments], env=session().env(),
                            capture_output=True, timeout=60)
    assert result.returncode == 0, result.stdout + result.stderr


def logged():
    """Each logged prompt: (why, outcome)."""
    lines = LOG.read_text().splitlines() if LOG.exists() else []
    return [(line.split(" ", 2)[1], json.loads(line.split(" ", 2)[2])) for line in lines]


@pytest.mark.own_session
def test_the_service_prompts_logs_and_closes_its_prompt_when_stopped():
    driver = Driver()
    LOG.unlink(missing_ok=True)
    sc("create", SERVICE, "binPath=", zemtest._windows_path(WIN_BIN / "zem_agent_service.exe"))
    try:
        sc("start", SERVICE)
        driver.wait(PROMPT_TITLE)
        driver.click(PROMPT_TITLE, IDS["IDC_ACTION_BUTTON"])
        zemtest.wait_until(logged, what="the first outcome logged")
        sc("stop", SERVICE)
        sc("start", SERVICE)
        driver.wait(PROMPT_TITLE)
        sc("stop", SERVICE)
        driver.wait_gone(PROMPT_TITLE)
        zemtest.wait_until(lambda: len(logged()) == 2, what="the second outcome logged")
        assert [(why, o["status"], o["reply"], o["exitCode"]) for why, o in logged()] == [
            ("start", "replied", "OK", 0), ("start", "replied", "CLOSED", 0)]
    finally:
        subprocess.run([zemtest.wine_binary(), "sc", "stop", SERVICE], env=session().env(),
                       capture_output=True, timeout=60)
        sc("delete", SERVICE)
