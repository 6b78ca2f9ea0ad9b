#include <cerrno>
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
