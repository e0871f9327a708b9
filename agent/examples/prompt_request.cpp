// Builds a restart prompt, checks its bytes as ZemClientUI will read them, and reads a reply.
#include <cstdio>

#include "kit/reply.h"
#include "kit/request_checker.h"
#include "kit/request_encoder.h"

int main() {
    zemkit::ActionUi prompt;
    prompt.title = "Mise à jour";  // UTF-8: the kit counts the bytes, not the characters
    prompt.message =
        "Save your work.\r\nThe computer restarts at the end.";  // CR LF is written as LF
    prompt.buttonText = "Restart Now";
    prompt.cancel = true;
    prompt.remindSeconds = 1800;
    prompt.maxRemindSeconds = 86400;
    const std::string bytes = zemkit::Encode(prompt);  // throws EncodeError, naming the field

    const zemkit::CheckReport report = zemkit::CheckRequest(bytes);
    if (!report.ok) return std::printf("%s\n", report.problem->c_str()), 1;

    const zemkit::Reply reply = zemkit::ParseReply("REMIND:1800\n");
    std::printf("%zu bytes; reply %s after %lld s\n", bytes.size(), reply.kind.c_str(),
                static_cast<long long>(*reply.seconds));
    return 0;
}
