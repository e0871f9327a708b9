// zemdriver: operates the product's dialogs from a separate process, for the end-to-end tests.
// Each run performs one command on the visible top-level window with the given caption, or, as
// `zemdriver serve`, one command per line of standard input: a test then pays Wine's process
// start-up once instead of once per command.

#include "zemdriver.h"

#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "format/time_units.h"
#include "platform/handles_win.h"
#include "platform/stop_event_win.h"

namespace zemdriver {
namespace {

constexpr DWORD kPollIntervalMs = 20;
constexpr DWORD kDefaultWaitMs = 10000;
// A message whose handler runs a nested loop (the preview window) answers only when that loop
// ends; after this long the command reports "pending" instead of waiting for the answer.
constexpr DWORD kDefaultSendMs = 5000;

const char kUsage[] =
    "usage: zemdriver COMMAND [OPTIONS]\n"
    "  wait --title T [--timeout MS] [--interval MS]\n"
    "                                       wait for a visible window with caption T, looking\n"
    "                                       every MS milliseconds (default 20)\n"
    "  wait-gone --title T [--timeout MS]   wait until no such window is left\n"
    "  dump --title T                       dialog and controls as JSON\n"
    "  click --title T --id N [--announce]  BM_CLICK on control N (\"ignored disabled\" when\n"
    "                                       it is disabled, as for a user's click); --announce\n"
    "                                       prints \"sending\" just before the click\n"
    "  select --title T --id N --index I    choose entry I of combo box N as a user does\n"
    "  close --title T                      WM_CLOSE\n"
    "  syscommand --title T --close         WM_SYSCOMMAND SC_CLOSE (Alt+F4, close box)\n"
    "  key --title T --vk N [--to-dialog | --id N]\n"
    "                                       post WM_KEYDOWN and WM_KEYUP to the focused control\n"
    "                                       (or to the dialog, or to control N)\n"
    "  endsession --title T --value 0|1     WM_ENDSESSION\n"
    "  message --title T --msg N [--wparam W] [--lparam L]\n"
    "  enable --title T --id N --value 0|1  EnableWindow (for the driver's own tests)\n"
    "  pid-of --title T                     Windows process id of the window\n"
    "  roundtrip --title T --count N [--id N] [--gettext] [--pause MS]\n"
    "                                       time N SendMessageTimeoutW(WM_GETTEXTLENGTH, or\n"
    "                                       WM_GETTEXT) to the dialog or its control N, one\n"
    "                                       duration in microseconds a line; between sends a\n"
    "                                       pause of 5 to MS (default 50) milliseconds\n"
    "  gui-resources --title T              GDI and USER object counts of the window's process\n"
    "  screenshot --title T --out FILE.bmp [--method screen|print]\n"
    "                                       32-bit BMP of the window\n"
    "  stop-event signal|reset|state        the agent's named stop event\n"
    "  stop-event hold --ms MS [--signal]   keep the event alive for MS milliseconds\n"
    "  stop-event secure                    create it so that others may only wait on it; then\n"
    "                                       \"signal\" and \"reset\" lines on stdin until EOF\n"
    "  keep-desktop --ready-file PATH       keep the session's desktop up (runs until killed)\n"
    "  serve                                run commands read from stdin, one a line (words as\n"
    "                                       here, \"quoted\" with \\\" and \\\\ if need be); each\n"
    "                                       output is followed by a line break and the line\n"
    "                                       <0x1e>end STATUS [ERROR] (stop-event hold|secure\n"
    "                                       and keep-desktop only run as a process of their own)\n"
    "Message commands accept --timeout MS (default 5000) and print \"done\" or \"pending\".\n"
    "--title-hex HEX gives the caption as hexadecimal bytes instead of --title.\n"
    "--owner-class NAME only matches windows whose owner has that window class.\n";

// Options given as "--name value"; the flags below take no value.
class Options {
  public:
    Options(const std::vector<std::string>& words, size_t first) {
        for (size_t i = first; i < words.size(); ++i) {
            const std::string& name = words[i];
            if (name.rfind("--", 0) != 0) {
                positional_.push_back(name);
            } else if (name == "--signal" || name == "--close" || name == "--to-dialog" ||
                       name == "--announce" || name == "--gettext") {
                values_[name] = "";
            } else if (i + 1 < words.size()) {
                values_[name] = words[++i];
            } else {
                throw DriverError("option " + name + " needs a value");
            }
        }
    }
    bool Has(const std::string& name) const { return values_.count(name) != 0; }
    std::string Text(const std::string& name) const {
        auto found = values_.find(name);
        if (found == values_.end()) throw DriverError("missing option " + name);
        return found->second;
    }
    long long Number(const std::string& name) const {
        std::string text = Text(name);
        char* end = nullptr;
        long long value = std::strtoll(text.c_str(), &end, 0);
        if (text.empty() || *end != '\0') throw DriverError("option " + name + " is not a number");
        return value;
    }
    long long Number(const std::string& name, long long fallback) const {
        return Has(name) ? Number(name) : fallback;
    }
    const std::vector<std::string>& Positional() const { return positional_; }
    std::string Title() const {
        return Has("--title-hex") ? FromHex(Text("--title-hex")) : Text("--title");
    }

  private:
    static std::string FromHex(const std::string& hex) {
        if (hex.size() % 2 != 0) throw DriverError("--title-hex needs pairs of hex digits");
        std::string bytes;
        for (size_t i = 0; i < hex.size(); i += 2) {
            bytes += static_cast<char>(std::strtol(hex.substr(i, 2).c_str(), nullptr, 16));
        }
        return bytes;
    }

    std::map<std::string, std::string> values_;
    std::vector<std::string> positional_;
};

// ---- finding the dialog ----

struct CaptionSearch {
    const std::string* caption;
    const std::string* ownerClass;  // empty: any owner
    HWND found;
};

bool OwnerHasClass(HWND window, const std::string& ownerClass) {
    HWND owner = GetWindow(window, GW_OWNER);
    char name[256] = "";
    if (owner != nullptr) GetClassNameA(owner, name, sizeof name);
    return ownerClass == name;
}

BOOL CALLBACK MatchCaption(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<CaptionSearch*>(param);
    if (!IsWindowVisible(window)) return TRUE;
    if (!search->ownerClass->empty() && !OwnerHasClass(window, *search->ownerClass)) return TRUE;
    char text[4096];
    int length = GetWindowTextA(window, text, sizeof text);
    if (length >= 0 && search->caption->compare(0, std::string::npos, text, length) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The product's dialogs and their preview window share a caption; --owner-class tells them apart
// (the dialogs are owned by the hidden top-level window, the preview by its dialog).
HWND FindByCaption(const std::string& caption, const std::string& ownerClass = std::string()) {
    CaptionSearch search{&caption, &ownerClass, nullptr};
    EnumWindows(MatchCaption, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND RequireWindow(const Options& options) {
    std::string title = options.Title();
    const std::string ownerClass =
        options.Has("--owner-class") ? options.Text("--owner-class") : "";
    HWND window = FindByCaption(title, ownerClass);
    if (!window) throw DriverError("no visible window titled \"" + title + "\"");
    return window;
}

HWND RequireControl(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    if (!control) throw DriverError("the dialog has no control " + std::to_string(id));
    return control;
}

// Polls until the window with the caption is present (or gone); false on timeout.
bool PollFor(const std::string& caption, bool present, DWORD timeoutMs,
             DWORD intervalMs = kPollIntervalMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if ((FindByCaption(caption) != nullptr) == present) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(intervalMs);
    }
}

// ---- sending ----

// Sends and reports "done" when the handler answered, "pending" when it is still running.
int SendAndReport(const Options& options, HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    DWORD timeout = static_cast<DWORD>(options.Number("--timeout", kDefaultSendMs));
    SetLastError(0);
    if (SendMessageTimeoutA(target, message, wParam, lParam, SMTO_NORMAL, timeout, &result)) {
        std::printf("done %lld\n", static_cast<long long>(result));
        return 0;
    }
    // Wine may leave the last error unset when the wait times out.
    DWORD error = GetLastError();
    if (error == ERROR_TIMEOUT || error == 0) {
        std::printf("pending\n");
        return 0;
    }
    throw DriverError("sending message " + std::to_string(message) + " failed, error " +
                      std::to_string(error));
}

// Where a keystroke would go: the focused control when it belongs to the dialog.
HWND KeyTarget(HWND dialog, bool toDialog) {
    if (toDialog) return dialog;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) && info.hwndFocus &&
        (info.hwndFocus == dialog || IsChild(dialog, info.hwndFocus))) {
        return info.hwndFocus;
    }
    return dialog;
}

// ---- commands ----

int CommandWait(const Options& options, bool present) {
    DWORD timeout = static_cast<DWORD>(options.Number("--timeout", kDefaultWaitMs));
    DWORD interval = static_cast<DWORD>(options.Number("--interval", kPollIntervalMs));
    std::string title = options.Title();
    if (!PollFor(title, present, timeout, interval)) {
        throw DriverError(
            std::string(present ? "no window titled \"" : "still a window titled \"") + title +
            "\" after " + std::to_string(timeout) + " ms");
    }
    if (present) {
        std::printf("%llu\n", static_cast<unsigned long long>(
                                  reinterpret_cast<uintptr_t>(FindByCaption(title))));
    } else {
        std::printf("gone\n");
    }
    return 0;
}

// Windows ignores BM_CLICK on a disabled button, as a user's click would be; Wine clicks it
// anyway, so the driver makes the check itself.
int CommandClick(const Options& options) {
    HWND control = RequireControl(RequireWindow(options), static_cast<int>(options.Number("--id")));
    if (!IsWindowEnabled(control)) {
        std::printf("ignored disabled\n");
        return 0;
    }
    // The benchmarks time the reply from this line, not from the driver's own start-up.
    if (options.Has("--announce")) {
        std::printf("sending\n");
        std::fflush(stdout);
    }
    return SendAndReport(options, control, BM_CLICK, 0, 0);
}

// Not a user action: lets the driver's own tests give a control the state a dialog would.
int CommandEnable(const Options& options) {
    HWND control = RequireControl(RequireWindow(options), static_cast<int>(options.Number("--id")));
    EnableWindow(control, options.Number("--value") != 0);
    std::printf("done\n");
    return 0;
}

int CommandSelect(const Options& options) {
    HWND dialog = RequireWindow(options);
    int id = static_cast<int>(options.Number("--id"));
    HWND combo = RequireControl(dialog, id);
    WPARAM index = static_cast<WPARAM>(options.Number("--index"));
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(combo, CB_SETCURSEL, index, 0, SMTO_NORMAL, kDefaultSendMs, &result) ||
        static_cast<LRESULT>(result) == CB_ERR) {
        throw DriverError("combo box " + std::to_string(id) + " has no entry " +
                          std::to_string(index));
    }
    return SendAndReport(options, dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(combo));
}

int CommandSysCommand(const Options& options) {
    if (!options.Has("--close")) throw DriverError("syscommand supports only --close");
    return SendAndReport(options, RequireWindow(options), WM_SYSCOMMAND, SC_CLOSE, 0);
}

int CommandKey(const Options& options) {
    HWND dialog = RequireWindow(options);
    HWND target = options.Has("--id")
                      ? RequireControl(dialog, static_cast<int>(options.Number("--id")))
                      : KeyTarget(dialog, options.Has("--to-dialog"));
    UINT vk = static_cast<UINT>(options.Number("--vk"));
    LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16;
    // Repeat count 1; key-up also carries the previous-state and transition bits. The key-down
    // may have closed the window already (Escape): then nobody is left for the key-up.
    if (!PostMessageA(target, WM_KEYDOWN, vk, scan | 1) ||
        (!PostMessageA(target, WM_KEYUP, vk, scan | 1 | (1LL << 30) | (1LL << 31)) &&
         IsWindow(target))) {
        throw DriverError("cannot post the key");
    }
    std::printf("posted to %s %d\n", ReadClassName(target).c_str(), GetDlgCtrlID(target));
    return 0;
}

int CommandMessage(const Options& options) {
    return SendAndReport(options, RequireWindow(options),
                         static_cast<UINT>(options.Number("--msg")),
                         static_cast<WPARAM>(options.Number("--wparam", 0)),
                         static_cast<LPARAM>(options.Number("--lparam", 0)));
}

// What a screen reader does: asks another program's window for its text and waits for the answer.
// The pauses vary (a fixed pseudo-random sequence) so that the sends do not fall into step with a
// target that wakes at a fixed period.
int CommandRoundTrip(const Options& options) {
    HWND target = RequireWindow(options);
    if (options.Has("--id"))
        target = RequireControl(target, static_cast<int>(options.Number("--id")));
    const long long count = options.Number("--count");
    const DWORD longestPause = static_cast<DWORD>(options.Number("--pause", 50));
    constexpr DWORD kShortestPause = 5;
    const bool getText = options.Has("--gettext");
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    unsigned seed = 12345;
    wchar_t text[1024];
    for (long long i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        const DWORD span = longestPause > kShortestPause ? longestPause - kShortestPause + 1 : 1;
        Sleep(kShortestPause + (seed >> 16) % span);
        DWORD_PTR result = 0;
        LARGE_INTEGER before;
        LARGE_INTEGER after;
        QueryPerformanceCounter(&before);
        const LRESULT sent =
            getText ? SendMessageTimeoutW(target, WM_GETTEXT, sizeof text / sizeof text[0],
                                          reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                                          kDefaultSendMs, &result)
                    : SendMessageTimeoutW(target, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL,
                                          kDefaultSendMs, &result);
        QueryPerformanceCounter(&after);
        if (!sent) throw DriverError("no answer within " + std::to_string(kDefaultSendMs) + " ms");
        std::printf("%lld\n", (after.QuadPart - before.QuadPart) * kMicrosecondsPerSecond /
                                  frequency.QuadPart);
    }
    return 0;
}

int CommandPidOf(const Options& options) {
    DWORD processId = 0;
    GetWindowThreadProcessId(RequireWindow(options), &processId);
    std::printf("%lu\n", static_cast<unsigned long>(processId));
    return 0;
}

// What an administrator's task manager does to the process that owns the window.
int CommandKill(const Options& options) {
    DWORD processId = 0;
    GetWindowThreadProcessId(RequireWindow(options), &processId);
    const ScopedKernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    if (!process || !TerminateProcess(process.get(), 1)) {
        throw DriverError("cannot terminate process " + std::to_string(processId));
    }
    return 0;
}

// For the soak benchmark: a leak of GDI or USER objects shows as a rising count over time.
int CommandGuiResources(const Options& options) {
    DWORD processId = 0;
    GetWindowThreadProcessId(RequireWindow(options), &processId);
    const ScopedKernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
    if (!process) {
        throw DriverError("OpenProcess failed, error " + std::to_string(GetLastError()));
    }
    DWORD gdi = GetGuiResources(process.get(), GR_GDIOBJECTS);
    DWORD user = GetGuiResources(process.get(), GR_USEROBJECTS);
    std::printf("gdi %lu user %lu\n", static_cast<unsigned long>(gdi),
                static_cast<unsigned long>(user));
    return 0;
}

// The named event lives only while some process holds a handle to it.
ScopedKernelHandle OpenOrCreateStopEvent() {
    ScopedKernelHandle event(CreateEventA(nullptr, TRUE, FALSE, kStopEventName));
    if (!event) throw DriverError("CreateEventA failed, error " + std::to_string(GetLastError()));
    return event;
}

// The event as a careful agent secures it: everyone may wait on it, only the creator (through the
// handle it got at creation) may signal or reset it.
int HoldSecuredStopEvent() {
    PSECURITY_DESCRIPTOR rawDescriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(
            "D:(A;;0x00100000;;;WD)", SDDL_REVISION_1, &rawDescriptor, nullptr)) {
        throw DriverError("cannot build the security descriptor");
    }
    const ScopedLocalMemory descriptor(rawDescriptor);
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor.get(), FALSE};
    const ScopedKernelHandle event(CreateEventA(&attributes, TRUE, FALSE, kStopEventName));
    const DWORD created = GetLastError();
    if (!event) throw DriverError("CreateEventA failed, error " + std::to_string(created));
    if (created == ERROR_ALREADY_EXISTS) throw DriverError("the stop event already exists");
    std::printf("holding\n");
    std::fflush(stdout);
    char line[64];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        const std::string command(line, std::strcspn(line, "\r\n"));
        const bool done = command == "signal" ? SetEvent(event.get())
                                              : command == "reset" && ResetEvent(event.get());
        std::printf("%s\n", done ? "done" : "failed");
        std::fflush(stdout);
    }
    return 0;
}

// The event's DACL as SDDL, read back as an administrator's process reads it.
int PrintStopEventSecurity() {
    const ScopedKernelHandle event(OpenEventW(READ_CONTROL, FALSE, kStopEventWideName));
    if (!event) throw DriverError("OpenEventW failed, error " + std::to_string(GetLastError()));
    PSECURITY_DESCRIPTOR rawDescriptor = nullptr;
    if (GetSecurityInfo(event.get(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                        nullptr, nullptr, &rawDescriptor) != ERROR_SUCCESS) {
        throw DriverError("GetSecurityInfo failed");
    }
    const ScopedLocalMemory descriptor(rawDescriptor);
    wchar_t* rawText = nullptr;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(
            descriptor.get(), SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &rawText, nullptr)) {
        throw DriverError("cannot convert the security descriptor");
    }
    const ScopedLocalMemory text(rawText);
    std::printf("%ls\n", rawText);
    return 0;
}

int CommandStopEvent(const Options& options) {
    if (options.Positional().size() != 1) throw DriverError("stop-event needs one action");
    const std::string& action = options.Positional()[0];
    if (action == "secure") return HoldSecuredStopEvent();
    if (action == "sddl") return PrintStopEventSecurity();
    const ScopedKernelHandle event = OpenOrCreateStopEvent();
    if (action == "signal") {
        if (!SetEvent(event.get())) throw DriverError("SetEvent failed");
    } else if (action == "reset") {
        if (!ResetEvent(event.get())) throw DriverError("ResetEvent failed");
    } else if (action == "state") {
        bool signalled = WaitForSingleObject(event.get(), 0) == WAIT_OBJECT_0;
        std::printf("%s\n", signalled ? "signalled" : "clear");
        return 0;
    } else if (action == "hold") {
        DWORD ms = static_cast<DWORD>(options.Number("--ms"));
        if (options.Has("--signal") && !SetEvent(event.get())) throw DriverError("SetEvent failed");
        // The caller waits for this line before relying on the event.
        std::printf("holding\n");
        std::fflush(stdout);
        Sleep(ms);
        std::printf("released\n");
        return 0;
    } else {
        throw DriverError("unknown stop-event action " + action);
    }
    std::printf("done\n");
    return 0;
}

// Keeps Wine's desktop process alive for the whole session. Without a program on the desktop it
// exits, and the next program to show a window starts it again; it then inherits that program's
// standard handles and holds the test's output pipe open long after the program has ended.
int CommandKeepDesktop(const Options& options) {
    std::string readyFile = options.Text("--ready-file");
    HWND keeper = CreateWindowExA(0, "Static", "ZemDesktopKeeper", WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!GetDesktopWindow() || !keeper) throw DriverError("cannot reach the desktop");
    std::FILE* ready = std::fopen(readyFile.c_str(), "w");
    if (!ready) throw DriverError("cannot write " + readyFile);
    std::fprintf(ready, "ready\n");
    std::fclose(ready);
    // The hidden window answers broadcasts, so this process must keep pumping.
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}

int CommandServe(const Options& options);

int Run(const std::vector<std::string>& words) {
    if (words.size() < 2) throw DriverError(kUsage);
    using Command = std::function<int(const Options&)>;
    const std::map<std::string, Command> commands = {
        {"wait", [](const Options& o) { return CommandWait(o, true); }},
        {"wait-gone", [](const Options& o) { return CommandWait(o, false); }},
        {"dump", [](const Options& o) { return DumpDialog(RequireWindow(o)), 0; }},
        {"click", CommandClick},
        {"select", CommandSelect},
        {"enable", CommandEnable},
        {"close",
         [](const Options& o) { return SendAndReport(o, RequireWindow(o), WM_CLOSE, 0, 0); }},
        {"syscommand", CommandSysCommand},
        {"key", CommandKey},
        {"endsession",
         [](const Options& o) {
             return SendAndReport(o, RequireWindow(o), WM_ENDSESSION,
                                  static_cast<WPARAM>(o.Number("--value")), 0);
         }},
        {"message", CommandMessage},
        {"pid-of", CommandPidOf},
        {"kill", CommandKill},
        {"roundtrip", CommandRoundTrip},
        {"gui-resources", CommandGuiResources},
        {"screenshot",
         [](const Options& o) {
             std::string method = o.Has("--method") ? o.Text("--method") : "screen";
             if (method != "screen" && method != "print") throw DriverError("unknown --method");
             return SaveScreenshot(RequireWindow(o), o.Text("--out"), method == "screen"), 0;
         }},
        {"stop-event", CommandStopEvent},
        {"keep-desktop", CommandKeepDesktop},
        {"serve", CommandServe},
    };
    auto command = commands.find(words[1]);
    if (command == commands.end()) throw DriverError(std::string("unknown command\n") + kUsage);
    return command->second(Options(words, 2));
}

// The words of one serve line: blank-separated, a word in double quotes may hold blanks.
std::vector<std::string> SplitWords(const std::string& line) {
    std::vector<std::string> words{"zemdriver"};
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        std::string word;
        if (line[i] != '"') {
            size_t end = line.find_first_of(" \t", i);
            if (end == std::string::npos) end = line.size();
            word = line.substr(i, end - i);
            i = end;
        } else {
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] == '\\' && i + 1 < line.size()) ++i;
                word += line[i];
            }
            if (i == line.size()) throw DriverError("unterminated quote");
            ++i;
        }
        words.push_back(word);
    }
    return words;
}

// Commands that block for long or read standard input themselves.
bool RunsAlone(const std::vector<std::string>& words) {
    auto has = [&words](const char* word) {
        return std::find(words.begin(), words.end(), word) != words.end();
    };
    return words[1] == "serve" || words[1] == "keep-desktop" ||
           (words[1] == "stop-event" && (has("hold") || has("secure")));
}

bool ReadLine(std::string& line) {
    line.clear();
    char chunk[1024];
    while (std::fgets(chunk, sizeof chunk, stdin) != nullptr) {
        line += chunk;
        if (!line.empty() && line.back() == '\n') break;
    }
    if (line.empty()) return false;
    line.erase(line.find_last_not_of("\r\n") + 1);
    return true;
}

// The end line starts with a byte no command prints, after a line break of its own: the output
// before it is exactly what the command printed, whether or not that ended in a line break.
int CommandServe(const Options&) {
    std::string line;
    while (ReadLine(line)) {
        int status = 1;
        std::string error;
        try {
            std::vector<std::string> words = SplitWords(line);
            if (words.size() > 1 && RunsAlone(words)) {
                throw DriverError(words[1] + " runs only as a process of its own");
            }
            status = Run(words);
        } catch (const std::exception& failure) {
            error = failure.what();
            std::replace(error.begin(), error.end(), '\n', ' ');
        }
        std::fflush(stdout);
        std::printf(
            "\n\x1e"
            "end %d%s%s\n",
            status, error.empty() ? "" : " ", error.c_str());
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace
}  // namespace zemdriver

int main(int argc, char** argv) {
    try {
        int status = zemdriver::Run(std::vector<std::string>(argv, argv + argc));
        std::fflush(stdout);
        return status;
    } catch (const std::exception& error) {
        std::fflush(stdout);
        std::fprintf(stderr, "zemdriver: %s\n", error.what());
        return 1;
    }
}
