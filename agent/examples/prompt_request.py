# Builds a restart prompt, checks its bytes as ZemClientUI will read them, and reads a reply.
from zemclientui import ActionUi, check, parse_reply

prompt = ActionUi(title="Mise à jour",  # text is str; the kit counts the UTF-8 bytes
                  message="Save your work.\r\nThe computer restarts at the end.",
                  button_text="Restart Now", cancel=True,
                  remind_seconds=1800, max_remind_seconds=86400)
data = prompt.encode()  # bytes; raises EncodeError, naming the field

report = check(data)
assert report.ok, report.problem

reply = parse_reply(b"REMIND:1800\n")
print(f"{len(data)} bytes; reply {reply.kind} after {reply.seconds} s")
