// Subcommands of the `zentrik` tool. Each source in this folder defines one
// or more commands and registers them with a static Registration object:
//
//   static const zentrik::cli::Registration kList{
//       {"list", "list", "Print number and caption of every catalogue entry.", &RunList}};
//
// The dispatcher prints the usage lines of all commands for --help.
#pragma once

#include <string>
#include <vector>

#include "zentrik/zentrik.h"

namespace zentrik::cli {

// Exit codes shared by all commands.
enum ExitCode : int {
    kExitOk = 0,
    kExitUsage = 2,      // bad command line: unknown command or option, bad number
    kExitInput = 3,      // an input file is missing or unreadable
    kExitFailure = 4,    // the library reported a failure
    kExitOutput = 5,     // an output file could not be written
};

struct Command {
    const char* name;   // first word on the command line
    const char* usage;  // synopsis, e.g. "indicator N FILE [--digits D] [--prn]"
    const char* help;   // one or more lines of explanation
    int (*run)(const std::vector<std::string>& args);  // args after the name
};

class Registration {
public:
    explicit Registration(const Command& command);
};

const std::vector<Command>& Commands();

// Prints "zentrik: <message>" to standard error and returns `code`.
int Fail(int code, const std::string& message);

// Parses a whole decimal integer; false for anything else.
bool ParseInt(const std::string& text, int& value);

// Loads the whole quote file (CSV, or PRN when `prn`), growing the buffer
// until the import stops short of its capacity. False, with the message
// printed and exitCode set, when the file cannot be read.
bool LoadQuoteFile(const std::string& file, int digits, bool prn, std::vector<Bar>& bars, int& exitCode);

}  // namespace zentrik::cli
