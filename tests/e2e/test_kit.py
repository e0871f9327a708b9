"""The agent's kit driving the product under Wine: what zemclientui.run makes of each way a run
ends, as typed outcomes."""

import json
import threading

import pytest

import zemtest
from zemclientui import run
from zemclientui.requests import request_from_json
from zemtest import Driver, Progress, unique_title

# As scripts/run-example.sh ends a headless run: the agent's stop, a while after the dialog shows.
STOP_AFTER_SHOWN_S = 4
# Each example with the reply the stop gives.
EXAMPLES = {"progress": "OK", "actionui": "CLOSED", "remind": "CLOSED"}


def run_in_background(request, timeout):
    """Starts zemclientui.run in a thread; the returned function waits for its Outcome."""
    outcome = []
    thread = threading.Thread(target=lambda: outcome.append(run(
        request, zemtest.PRODUCT, timeout, runner=zemtest.session().runner())), daemon=True)
    thread.start()

    def result():
        thread.join(timeout + 30)
        return outcome[0]
    return result


def example(name):
    return request_from_json(json.loads((zemtest.REPO_ROOT / "examples" / f"{name}.json")
                                        .read_text()))


@pytest.mark.own_session
def test_examples_stopped_after_they_show_reply_as_typed_outcomes():
    driver = Driver()
    requests = {name: example(name) for name in EXAMPLES}
    results = {name: run_in_background(request, 120) for name, request in requests.items()}
    for request in requests.values():
        driver.wait(request.title, timeout=60)
    with driver.hold_stop_event(60000):
        try:
            threading.Event().wait(STOP_AFTER_SHOWN_S)
            driver.stop_event("signal")
            outcomes = {name: result() for name, result in results.items()}
        finally:
            driver.stop_event("reset")
    assert {name: (outcome.status, outcome.reply.kind, outcome.exit_code)
            for name, outcome in outcomes.items()} == {
        name: ("replied", kind, 0) for name, kind in EXAMPLES.items()}


def test_a_process_killed_from_outside_gives_no_reply():
    title = unique_title("kit-killed")
    driver = Driver()
    result = run_in_background(Progress(title, "m"), 120)
    driver.wait(title, timeout=60)
    zemtest.session().run("taskkill", ["/F", "/PID", str(driver.pid_of(title))])
    outcome = result()
    assert (outcome.status, outcome.reply) == ("no_reply", None)


def test_a_dialog_left_alone_past_the_timeout_is_killed():
    title = unique_title("kit-timeout")
    driver = Driver()
    result = run_in_background(Progress(title, "m"), 40)
    driver.wait(title, timeout=35)
    outcome = result()
    assert (outcome.status, outcome.reply, outcome.exit_code) == ("timed_out_killed", None, None)
    driver.wait_gone(title)
