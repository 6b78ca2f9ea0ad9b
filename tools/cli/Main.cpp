#include <cerrno>
#include <cstdint>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Command.h"

namespace zentrik::cli {
namespace {
std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}

void PrintHelp(std::FILE* out) {
    std::fprintf(out, "usage: zentrik COMMAND [ARGS]\n\ncommands:\n");
    for (const Command& command : Registry()) {
        std::fprintf(out, "  zentrik %s\n", command.usage);
        std::fprintf(out, "      %s\n", command.help);
    }
    std::fprintf(out,
                 "\nexit codes:\n"
                 "  0  success\n"
                 "  2  bad command line (unknown command or option, bad number)\n"
                 "  3  an input file is missing or unreadable\n"
                 "  4  the library reported a failure\n"
                 "  5  an output file could not be written\n");
}
}  // namespace

Registration::Registration(const Command& command) { Registry().push_back(command); }

const std::vector<Command>& Commands() { return Registry(); }

int Fail(int code, const std::string& message) {
    std::fprintf(stderr, "zentrik: %s\n", message.c_str());
    return code;
}

bool ParseInt(const std::string& text, int& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0' || parsed < INT_MIN || parsed > INT_MAX) return false;
    value = static_cast<int>(parsed);
    return true;
}

bool LoadQuoteFile(const std::string& file, int digits, bool prn, std::vector<Bar>& bars, int& exitCode) {
    std::int32_t capacity = 4096;
    for (;;) {
        bars.assign(static_cast<std::size_t>(capacity), Bar{});
        const std::int32_t stored = prn ? HistoryKotPRNEx(file.c_str(), digits, bars.data(), capacity)
                                        : HistoryKotCSVEx(file.c_str(), digits, bars.data(), capacity);
        if (stored < 0) {
            exitCode = Fail(kExitInput, "cannot read quote file '" + file + "'");
            return false;
        }
        if (stored < capacity || capacity == INT32_MAX) {
            bars.resize(static_cast<std::size_t>(stored));
            return true;
        }
        capacity = capacity > INT32_MAX / 4 ? INT32_MAX : capacity * 4;
    }
}

}  // namespace zentrik::cli

int main(int argc, char** argv) {
    using namespace zentrik::cli;
    if (argc < 2) {
        PrintHelp(stderr);
        return kExitUsage;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintHelp(stdout);
        return kExitOk;
    }
    for (const Command& command : Commands()) {
        if (name == command.name) {
            return command.run(std::vector<std::string>(argv + 2, argv + argc));
        }
    }
    PrintHelp(stderr);
    return Fail(kExitUsage, "unknown command '" + name + "'");
}
