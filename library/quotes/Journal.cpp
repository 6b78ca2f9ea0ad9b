// The journal: each Protokol call appends "text DD.MM.YY HH:MM:SS " and a
// line end to protokol.dat in the working directory recorded last. Before any
// entry has recorded a directory the process's current directory is used.
// A journal that cannot be opened or written is skipped silently: the call
// never fails.
#include "Journal.h"

#include <cstdio>
#include <string>

#include "frame/Frame.h"
#include "frame/Platform.h"
#include "zentrik/zentrik.h"

namespace zentrik::quotes {

// Full path of the journal file.
std::string JournalPath() {
    std::string directory = RecordedDirectory();
    if (directory.empty()) directory = platform::CurrentDirectory();
    if (directory.empty()) return "protokol.dat";
    const std::string separator = platform::PathSeparator();
    // A root directory such as "/" already ends with the separator.
    if (directory.size() < separator.size() ||
        directory.compare(directory.size() - separator.size(), separator.size(), separator) != 0) {
        directory += separator;
    }
    return directory + "protokol.dat";
}

}  // namespace zentrik::quotes

extern "C" ZENTRIK_API void ZENTRIK_CALL Protokol(const char* text) {
    try {
        const std::string path = zentrik::quotes::JournalPath();
        const zentrik::platform::LocalTime now = zentrik::platform::Now();
        char stamp[64];
        std::snprintf(stamp, sizeof stamp, "%02u.%02u.%02u %02u:%02u:%02u", static_cast<unsigned>(now.day),
                      static_cast<unsigned>(now.month), static_cast<unsigned>(now.year % 100),
                      static_cast<unsigned>(now.hour), static_cast<unsigned>(now.minute),
                      static_cast<unsigned>(now.second));
        // Text mode explicitly ("t"), so that the line end is CR LF on Windows
        // even in a host whose default file mode is binary.
        std::FILE* file = std::fopen(path.c_str(), "at");
        if (file == nullptr) return;
        std::fprintf(file, "%s %s \n", text != nullptr ? text : "", stamp);
        std::fclose(file);
    } catch (...) {
        // An allocation failure only loses the line.
    }
}
