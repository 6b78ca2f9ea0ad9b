// Spreadsheet export.
//
// ToExcelFile writes the table as one worksheet "Экспорт данных" of an .xlsx
// workbook (through libxlsxwriter): value [i][j] goes to row i + 1, column
// j + 1. Each value passes through NumberText, and the cell holds the number
// that text reads back as, so the sheet computes with exactly the values the
// user sees; not-a-number and the infinities, which a cell cannot hold as a
// number, are written as the texts "NAN", "INF" and "-INF", and so is the
// text of a value whose 15 digits lie beyond the double range
// ("1.79769313486232E308").
//
// ToExcel writes such a workbook into the working directory recorded last
// and asks the desktop to open it; on Windows it hands the table to the
// spreadsheet application by automation instead.
#include "Spreadsheet.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "NumberText.h"
#include "frame/Frame.h"
#include "frame/Platform.h"
#include "zentrik/zentrik.h"

#if defined(_WIN32)
#include "export/Automation.h"
#else
#include <cerrno>
#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#if defined(ZENTRIK_HAVE_XLSXWRITER)
#include <xlsxwriter.h>
#endif

#if !defined(_WIN32)
extern char** environ;
#endif

namespace zentrik::spreadsheet {

bool WriterAvailable() {
#if defined(ZENTRIK_HAVE_XLSXWRITER)
    return true;
#else
    return false;
#endif
}

std::string ExportFileName(const platform::LocalTime& time, int attempt) {
    char name[96];
    if (attempt <= 1) {
        std::snprintf(name, sizeof name, "zentrik-%04d%02d%02d-%02d%02d%02d.xlsx", time.year, time.month, time.day,
                      time.hour, time.minute, time.second);
    } else {
        std::snprintf(name, sizeof name, "zentrik-%04d%02d%02d-%02d%02d%02d-%d.xlsx", time.year, time.month,
                      time.day, time.hour, time.minute, time.second, attempt);
    }
    return name;
}

std::string ExportDirectory() {
    const std::string recorded = RecordedDirectory();
    if (!recorded.empty()) return recorded;
    const std::string current = platform::CurrentDirectory();
    return current.empty() ? std::string(".") : current;
}

namespace {

// The statuses of ToExcelFile for arguments it refuses before any file is
// created.
std::int32_t CheckTable(const double* const* table, std::int32_t rows, std::int32_t columns, const char* path) {
    if (path == nullptr) return ZENTRIK_EAccessViolation;
    if (table == nullptr && rows > 0) return ZENTRIK_EAccessViolation;
    if (rows < 0 || columns < 0) return ZENTRIK_ERangeError;
    if (rows > kMaxRows || columns > kMaxColumns) return ZENTRIK_ERangeError;
    for (std::int32_t i = 0; i < rows; ++i) {
        if (table[i] == nullptr) return ZENTRIK_EAccessViolation;
    }
    return ZENTRIK_OK;
}

#if defined(ZENTRIK_HAVE_XLSXWRITER)

#if !defined(_WIN32)
bool FileExists(const char* path) {
    struct stat info {};
    return ::stat(path, &info) == 0;
}
#else
bool FileExists(const char* path) {
    if (std::FILE* file = std::fopen(path, "rb")) {
        std::fclose(file);
        return true;
    }
    return false;
}
#endif

// Numbers in the worksheet's XML must have a point as decimal separator;
// libxlsxwriter formats them with the C library, so the calling thread runs
// in the "C" locale while the workbook is written (the caller's locale and
// the other threads' are not touched). The whole "C" locale is used rather
// than the caller's with "C" numbers: it needs no allocation (a locale
// composed from the caller's would leak its name in the C library).
class ClassicNumbers {
public:
    ClassicNumbers() {
#if !defined(_WIN32)
        classic_ = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
        if (classic_ != static_cast<locale_t>(0)) previous_ = uselocale(classic_);
#endif
    }
    ~ClassicNumbers() {
#if !defined(_WIN32)
        if (classic_ != static_cast<locale_t>(0)) {
            uselocale(previous_);
            freelocale(classic_);
        }
#endif
    }
    ClassicNumbers(const ClassicNumbers&) = delete;
    ClassicNumbers& operator=(const ClassicNumbers&) = delete;

private:
#if !defined(_WIN32)
    locale_t classic_ = static_cast<locale_t>(0);
    locale_t previous_ = static_cast<locale_t>(0);
#endif
};

// Frees a workbook that was not closed (nothing is written then).
struct OpenWorkbook {
    lxw_workbook* workbook = nullptr;
    ~OpenWorkbook() {
        if (workbook != nullptr) lxw_workbook_free(workbook);
    }
};

std::int32_t StatusOf(lxw_error error) {
    switch (error) {
        case LXW_NO_ERROR: return ZENTRIK_OK;
        case LXW_ERROR_MEMORY_MALLOC_FAILED: return ZENTRIK_EOutOfMemory;
        case LXW_ERROR_CREATING_XLSX_FILE: return ZENTRIK_EFCreateError;
        default: return ZENTRIK_EWriteError;
    }
}

// Above this many cells the XML of the sheet may pass 4 GB.
constexpr std::int64_t kZip64Cells = 40000000;

std::int32_t WriteCells(const double* const* table, std::int32_t rows, std::int32_t columns, const char* path) {
    ClassicNumbers numbers;
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;  // rows go to a temporary file as they are completed
    options.tmpdir = nullptr;
    options.use_zip64 = std::int64_t{rows} * columns > kZip64Cells ? LXW_TRUE : LXW_FALSE;
    OpenWorkbook open;
    open.workbook = workbook_new_opt(path, &options);
    if (open.workbook == nullptr) return ZENTRIK_EOutOfMemory;
    lxw_worksheet* sheet = workbook_add_worksheet(open.workbook, kSheetName);
    if (sheet == nullptr) return ZENTRIK_EWriteError;
    for (std::int32_t i = 0; i < rows; ++i) {
        const double* row = table[i];
        for (std::int32_t j = 0; j < columns; ++j) {
            const std::string text = NumberText(row[j]);
            double stored = 0.0;
            lxw_error error;
            const auto cellRow = static_cast<lxw_row_t>(i);
            const auto cellColumn = static_cast<lxw_col_t>(j);
            if (ReadNumberText(text, stored) && std::isfinite(stored)) {
                error = worksheet_write_number(sheet, cellRow, cellColumn, stored, nullptr);
            } else {
                error = worksheet_write_string(sheet, cellRow, cellColumn, text.c_str(), nullptr);
            }
            if (error != LXW_NO_ERROR) return StatusOf(error);
        }
    }
    lxw_workbook* workbook = open.workbook;
    open.workbook = nullptr;
    return StatusOf(workbook_close(workbook));  // frees the workbook in any case
}

// Creates the file first, so that an unwritable path is reported without the
// writer's own complaints; a file this call created is removed again when
// the workbook cannot be completed.
std::int32_t WriteWorkbook(const double* const* table, std::int32_t rows, std::int32_t columns, const char* path) {
    const bool existed = FileExists(path);
    std::FILE* probe = std::fopen(path, "ab");
    if (probe == nullptr) return ZENTRIK_EFCreateError;
    std::fclose(probe);
    std::int32_t status = ZENTRIK_OK;
    try {
        status = WriteCells(table, rows, columns, path);
    } catch (const std::bad_alloc&) {
        status = ZENTRIK_EOutOfMemory;
    } catch (...) {
        status = ZENTRIK_EOther;
    }
    if (status != ZENTRIK_OK && !existed) std::remove(path);
    return status;
}

#endif  // ZENTRIK_HAVE_XLSXWRITER

#if !defined(_WIN32)

bool DesktopSessionPresent() {
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (display != nullptr && *display != '\0') || (wayland != nullptr && *wayland != '\0');
}

// Absolute path of an executable program found along $PATH (relative
// entries are skipped), or an empty text.
std::string FindProgram(const char* name) {
    const char* search = std::getenv("PATH");
    const std::string path = search != nullptr && *search != '\0' ? search : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(':', start);
        if (end == std::string::npos) end = path.size();
        const std::string directory = path.substr(start, end - start);
        if (!directory.empty() && directory.front() == '/') {
            const std::string candidate = directory + "/" + name;
            if (::access(candidate.c_str(), X_OK) == 0) return candidate;
        }
        start = end + 1;
    }
    return std::string();
}

// Starts `xdg-open file` in a session of its own and does not wait for it:
// the intermediate child exits at once (and is reaped here), the program
// itself is left to init. No shell is involved; the file is one argument.
void OpenDetached(const std::string& file) {
    std::string program = FindProgram("xdg-open");
    if (program.empty()) return;
    std::string argument = file;
    char* argv[] = {program.data(), argument.data(), nullptr};
    const pid_t child = ::fork();
    if (child < 0) return;
    if (child == 0) {
        ::setsid();
        if (::fork() == 0) {
            const int devnull = ::open("/dev/null", O_RDWR);
            if (devnull >= 0) {
                ::dup2(devnull, 0);
                ::dup2(devnull, 1);
                ::dup2(devnull, 2);
                if (devnull > 2) ::close(devnull);
            }
            ::execve(argv[0], argv, environ);
            ::_exit(127);
        }
        ::_exit(0);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

// Reserves a new file name in `directory` (created empty, never an existing
// file overwritten) and returns its path, or an empty text.
std::string ReserveExportPath(const std::string& directory) {
    const platform::LocalTime now = platform::Now();
    std::string prefix = directory;
    if (prefix.back() != '/') prefix += '/';
    for (int attempt = 1; attempt <= 1000; ++attempt) {
        const std::string path = prefix + ExportFileName(now, attempt);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST) break;
    }
    return std::string();
}

void ExportAndOpen(const double* const* table, std::int32_t rows, std::int32_t columns) {
    if (CheckTable(table, rows, columns, "") != ZENTRIK_OK || !WriterAvailable()) return;
    const std::string path = ReserveExportPath(ExportDirectory());
    if (path.empty()) return;
    if (ToExcelFile(table, rows, columns, path.c_str()) != ZENTRIK_OK) {
        std::remove(path.c_str());
        return;
    }
    if (DesktopSessionPresent()) OpenDetached(path);
}

#endif  // !_WIN32

}  // namespace
}  // namespace zentrik::spreadsheet

extern "C" {

ZENTRIK_API int32_t ZENTRIK_CALL ToExcelFile(const double* const* table, int32_t rows, int32_t columns,
                                             const char* path) {
    using namespace zentrik::spreadsheet;
    if (const std::int32_t status = CheckTable(table, rows, columns, path); status != ZENTRIK_OK) return status;
#if defined(ZENTRIK_HAVE_XLSXWRITER)
    zentrik::platform::FloatingPointScope floatingPoint;
    return WriteWorkbook(table, rows, columns, path);
#else
    return ZENTRIK_EClassNotFound;
#endif
}

ZENTRIK_API void ZENTRIK_CALL ToExcel(const double* const* table, int32_t rows, int32_t columns) {
    zentrik::platform::FloatingPointScope floatingPoint;
    try {
#if defined(_WIN32)
        (void)zentrik::AutomateSpreadsheet(table, rows, columns);
#else
        zentrik::spreadsheet::ExportAndOpen(table, rows, columns);
#endif
    } catch (...) {
        // The export never fails its caller.
    }
}

}  // extern "C"
