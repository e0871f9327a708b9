// zemuictl encode: a request described in JSON (the Python kit's names) to its exact bytes.

#include <cstdio>

#include "kit/request_encoder.h"
#include "kit/request_json.h"
#include "zemuictl/binary_output.h"
#include "zemuictl/commands.h"

int RunEncodeCommand(const CommandArguments& arguments) {
    if (arguments.size() > 1) {
        std::fputs("usage: zemuictl encode [FILE]   (JSON; standard input when absent or -)\n",
                   stderr);
        return 2;
    }
    const std::string path = arguments.empty() ? "-" : arguments[0];
    std::string json;
    if (!ReadWholeFile(path, json)) {
        std::fprintf(stderr, "zemuictl encode: cannot read %s\n", path.c_str());
        return 2;
    }
    try {
        const std::string bytes = zemkit::Encode(zemkit::RequestFromJsonText(json));
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    } catch (const zemkit::EncodeError& error) {
        std::fprintf(stderr, "zemuictl encode: %s\n", error.what());
    } catch (const zemkit::JsonError& error) {
        std::fprintf(stderr, "zemuictl encode: %s\n", error.what());
    }
    return 1;
}
