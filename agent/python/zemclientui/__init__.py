"""The agent's side of ZemClientUI: typed requests that encode to the canonical bytes, the typed
reply, a checker that reads request bytes as the product does and says what is wrong, and `run`,
which starts the program, sends one request and reads its one reply line.

    request = ActionUi(title="Restart required", message="...", button_text="Restart Now")
    outcome = run(request, "ZemClientUI.exe", timeout=3600)
    if outcome.status == "replied" and outcome.reply.kind == "OK": ...
"""

from .checker import CheckReport, Field, check
from .replies import Reply, parse_reply
from .requests import Action, ActionUi, EncodeError, Progress, Remind
from .runner import Outcome, run

__all__ = ["Action", "ActionUi", "CheckReport", "EncodeError", "Field", "Outcome", "Progress",
           "Remind", "Reply", "check", "parse_reply", "run"]
