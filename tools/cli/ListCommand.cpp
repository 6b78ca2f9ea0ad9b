// `zentrik list`: prints every catalogue number with the caption that the
// viewer's chooser shows for it, one per line ("<number>\t<caption>").
#include <cstdio>
#include <string>
#include <vector>

#include "Command.h"
#include "IndicatorList.h"

namespace zentrik::cli {
namespace {

int RunList(const std::vector<std::string>& args) {
    if (!args.empty()) return Fail(kExitUsage, "list takes no arguments, got '" + args.front() + "'");
    for (int number = 0; number < viewer::kIndicatorCount; ++number) {
        if (std::printf("%d\t%s\n", number, viewer::IndicatorCaption(number)) < 0) {
            return Fail(kExitOutput, "cannot write to standard output");
        }
    }
    if (std::fflush(stdout) != 0) return Fail(kExitOutput, "cannot write to standard output");
    return kExitOk;
}

const Registration kList{
    {"list", "list", "Print number and caption of every catalogue entry, one per line.", &RunList}};

}  // namespace
}  // namespace zentrik::cli
