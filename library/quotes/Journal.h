// The journal file written by Protokol.
#pragma once

#include <string>

namespace zentrik::quotes {

// protokol.dat in the directory recorded last, or in the process's current
// directory when none has been recorded yet.
std::string JournalPath();

}  // namespace zentrik::quotes
