// Spreadsheet export: workbooks written by ToExcelFile and ToExcel, read
// back with python3's openpyxl (the tests that need it skip without it).
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "export/NumberText.h"
#include "export/Spreadsheet.h"
#include "frame/Frame.h"
#include "zentrik/zentrik.h"

namespace zentrik::spreadsheet {
namespace {

namespace fs = std::filesystem;

struct Cell {
    int row;
    int column;
    std::string type;  // "float", "int" or "str"
    std::string value;
};

struct Workbook {
    std::vector<std::string> sheets;
    std::vector<Cell> cells;  // the cells that hold a value
};

// A python3 that has openpyxl, or nothing.
const std::optional<std::string>& PythonWithOpenpyxl() {
    static const std::optional<std::string> python = []() -> std::optional<std::string> {
        for (const char* candidate : {"/usr/bin/python3", "python3"}) {
            const std::string probe = std::string(candidate) + " -c 'import openpyxl' >/dev/null 2>&1";
            if (std::system(probe.c_str()) == 0) return std::string(candidate);
        }
        return std::nullopt;
    }();
    return python;
}

const char* const kReader = R"(import sys, openpyxl
book = openpyxl.load_workbook(sys.argv[1])
with open(sys.argv[2], 'w', encoding='utf-8') as out:
    for sheet in book.worksheets:
        out.write('sheet\t%s\n' % sheet.title)
    for sheet in book.worksheets:
        for row in sheet.iter_rows():
            for cell in row:
                if cell.value is not None:
                    value = repr(cell.value) if isinstance(cell.value, float) else str(cell.value)
                    out.write('%d\t%d\t%s\t%s\n' % (cell.row, cell.column, type(cell.value).__name__, value))
)";

class Spreadsheet : public ::testing::Test {
protected:
    void SetUp() override {
        if (!WriterAvailable()) GTEST_SKIP() << "built without a workbook writer";
        std::string pattern = (fs::temp_directory_path() / "zentrik-spreadsheet-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        if (!dir_.empty()) {
            std::error_code ignored;
            fs::remove_all(dir_, ignored);
        }
    }

    std::string PathOf(const std::string& name) const { return (fs::path(dir_) / name).string(); }

    // Reads a workbook back; false (with the test skipped) without openpyxl.
    bool Read(const std::string& xlsx, Workbook& book) {
        const auto& python = PythonWithOpenpyxl();
        if (!python) return false;
        const std::string script = PathOf("read.py");
        const std::string listing = PathOf("cells.txt");
        std::ofstream(script) << kReader;
        const std::string command = *python + " '" + script + "' '" + xlsx + "' '" + listing + "'";
        if (std::system(command.c_str()) != 0) {
            ADD_FAILURE() << "openpyxl cannot read " << xlsx;
            return false;
        }
        std::ifstream in(listing);
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream fields(line);
            std::string first;
            std::getline(fields, first, '\t');
            if (first == "sheet") {
                std::string title;
                std::getline(fields, title);
                book.sheets.push_back(title);
                continue;
            }
            Cell cell{};
            cell.row = std::stoi(first);
            std::string column;
            std::getline(fields, column, '\t');
            cell.column = std::stoi(column);
            std::getline(fields, cell.type, '\t');
            std::getline(fields, cell.value);
            book.cells.push_back(cell);
        }
        return true;
    }

    std::string dir_;
};

// Row pointers over a table held row by row.
std::vector<const double*> RowPointers(const std::vector<std::vector<double>>& rows) {
    std::vector<const double*> pointers;
    for (const auto& row : rows) pointers.push_back(row.data());
    return pointers;
}

TEST_F(Spreadsheet, WritesEachValueAtItsCell) {
    const std::vector<std::vector<double>> values = {
        {90.125, 0.1, 0.000001},
        {-2.5, 123.456789012345678, 2.0 / 3.0},
        {std::nan(""), HUGE_VAL, 0.0},
        {-HUGE_VAL, 1e300, -1e-300},
        {std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min(), -1e15},
    };
    const auto table = RowPointers(values);
    const std::string path = PathOf("table.xlsx");
    ASSERT_EQ(ToExcelFile(table.data(), 5, 3, path.c_str()), ZENTRIK_OK);
    ASSERT_TRUE(fs::exists(path));

    Workbook book;
    if (!Read(path, book)) GTEST_SKIP() << "python3 with openpyxl is not available";
    ASSERT_EQ(book.sheets, std::vector<std::string>{"Экспорт данных"});
    ASSERT_EQ(book.cells.size(), 15u);
    for (const Cell& cell : book.cells) {
        ASSERT_GE(cell.row, 1);
        ASSERT_LE(cell.row, 5);
        ASSERT_GE(cell.column, 1);
        ASSERT_LE(cell.column, 3);
        const double value = values[std::size_t(cell.row - 1)][std::size_t(cell.column - 1)];
        const std::string text = NumberText(value);
        double expected = 0.0;
        ASSERT_TRUE(ReadNumberText(text, expected));
        if (!std::isfinite(expected)) {
            EXPECT_EQ(cell.type, "str");
            EXPECT_EQ(cell.value, text);
            continue;
        }
        EXPECT_TRUE(cell.type == "float" || cell.type == "int") << cell.type;
        EXPECT_EQ(std::strtod(cell.value.c_str(), nullptr), expected) << "row " << cell.row << " column "
                                                                      << cell.column << ": " << cell.value;
    }
    // The cell of 2/3 holds the value of its 15-digit text, not 2/3 itself.
    for (const Cell& cell : book.cells) {
        if (cell.row == 2 && cell.column == 3) {
            EXPECT_EQ(cell.value, "0.666666666666667");
        }
        if (cell.row == 1 && cell.column == 1) {
            EXPECT_EQ(cell.value, "90.125");
        }
    }
}

// Under a locale with decimal commas the cells still hold the same numbers.
TEST_F(Spreadsheet, NumbersDoNotDependOnTheLocale) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    const char* chosen = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "ru_RU.UTF-8", "ru_RU.utf8", "fr_FR.UTF-8"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            chosen = name;
            break;
        }
    }
    if (chosen == nullptr) GTEST_SKIP() << "no locale with a decimal comma is installed";
    const std::vector<std::vector<double>> values = {{90.125, -0.5, 2.0 / 3.0, 1e-6}};
    const auto table = RowPointers(values);
    const std::string path = PathOf("locale.xlsx");
    const std::int32_t status = ToExcelFile(table.data(), 1, 4, path.c_str());
    std::setlocale(LC_NUMERIC, previous.c_str());
    ASSERT_EQ(status, ZENTRIK_OK);
    Workbook book;
    if (!Read(path, book)) GTEST_SKIP() << "python3 with openpyxl is not available";
    ASSERT_EQ(book.cells.size(), 4u);
    for (const Cell& cell : book.cells) {
        double expected = 0.0;
        ASSERT_TRUE(ReadNumberText(NumberText(values[0][std::size_t(cell.column - 1)]), expected));
        EXPECT_EQ(std::strtod(cell.value.c_str(), nullptr), expected) << cell.value;
    }
}

TEST_F(Spreadsheet, ATableWithoutCellsStillNamesTheSheet) {
    const std::string empty = PathOf("empty.xlsx");
    ASSERT_EQ(ToExcelFile(nullptr, 0, 3, empty.c_str()), ZENTRIK_OK);
    const std::vector<std::vector<double>> values = {{1.0}, {2.0}};
    const auto table = RowPointers(values);
    const std::string narrow = PathOf("narrow.xlsx");
    ASSERT_EQ(ToExcelFile(table.data(), 2, 0, narrow.c_str()), ZENTRIK_OK);
    for (const std::string& path : {empty, narrow}) {
        ASSERT_TRUE(fs::exists(path));
        Workbook book;
        if (!Read(path, book)) GTEST_SKIP() << "python3 with openpyxl is not available";
        EXPECT_EQ(book.sheets, std::vector<std::string>{"Экспорт данных"});
        EXPECT_TRUE(book.cells.empty());
    }
}

TEST_F(Spreadsheet, RefusedCallsCreateNoFile) {
    const std::vector<std::vector<double>> values = {{1.0, 2.0}, {3.0, 4.0}};
    const auto table = RowPointers(values);
    std::vector<const double*> withNull = table;
    withNull[1] = nullptr;
    const std::string path = PathOf("refused.xlsx");
    struct Case {
        const double* const* table;
        int32_t rows, columns;
        const char* path;
        int32_t status;
    };
    const Case cases[] = {
        {table.data(), 2, 2, nullptr, ZENTRIK_EAccessViolation},
        {nullptr, 2, 2, path.c_str(), ZENTRIK_EAccessViolation},
        {withNull.data(), 2, 2, path.c_str(), ZENTRIK_EAccessViolation},
        {withNull.data(), 2, 0, path.c_str(), ZENTRIK_EAccessViolation},
        {table.data(), -1, 2, path.c_str(), ZENTRIK_ERangeError},
        {table.data(), 2, -1, path.c_str(), ZENTRIK_ERangeError},
        {nullptr, -1, 2, path.c_str(), ZENTRIK_ERangeError},
        {table.data(), 2, kMaxColumns + 1, path.c_str(), ZENTRIK_ERangeError},
        {table.data(), kMaxRows + 1, 2, path.c_str(), ZENTRIK_ERangeError},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToExcelFile(c.table, c.rows, c.columns, c.path), c.status)
            << "rows " << c.rows << " columns " << c.columns;
        EXPECT_FALSE(fs::exists(path));
    }
}

TEST_F(Spreadsheet, AnUnwritablePathIsACreateError) {
    const std::vector<std::vector<double>> values = {{1.0}};
    const auto table = RowPointers(values);
    const std::string missing = PathOf("no-such-folder/out.xlsx");
    EXPECT_EQ(ToExcelFile(table.data(), 1, 1, missing.c_str()), ZENTRIK_EFCreateError);
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_EQ(ToExcelFile(table.data(), 1, 1, dir_.c_str()), ZENTRIK_EFCreateError);  // a folder
    EXPECT_EQ(ToExcelFile(table.data(), 1, 1, ""), ZENTRIK_EFCreateError);
}

TEST_F(Spreadsheet, AnExistingFileIsReplaced) {
    const std::string path = PathOf("again.xlsx");
    std::ofstream(path) << "old contents";
    const std::vector<std::vector<double>> values = {{7.25}};
    const auto table = RowPointers(values);
    ASSERT_EQ(ToExcelFile(table.data(), 1, 1, path.c_str()), ZENTRIK_OK);
    Workbook book;
    if (!Read(path, book)) GTEST_SKIP() << "python3 with openpyxl is not available";
    ASSERT_EQ(book.cells.size(), 1u);
    EXPECT_EQ(book.cells[0].value, "7.25");
}

TEST(SpreadsheetNames, FileNameCarriesTheLocalTime) {
    const platform::LocalTime time{2026, 12, 11, 9, 5, 7};
    EXPECT_EQ(ExportFileName(time, 1), "zentrik-20261211-090507.xlsx");
    EXPECT_EQ(ExportFileName(time, 3), "zentrik-20261211-090507-3.xlsx");
}

// "zentrik-" 8 digits "-" 6 digits, optionally "-" digits, then ".xlsx".
bool IsExportFileName(const std::string& name) {
    auto digits = [&](std::size_t from, std::size_t count) {
        if (from + count > name.size()) return false;
        for (std::size_t i = from; i < from + count; ++i) {
            if (name[i] < '0' || name[i] > '9') return false;
        }
        return true;
    };
    if (name.rfind("zentrik-", 0) != 0 || !digits(8, 8) || name.size() < 22 || name[16] != '-' || !digits(17, 6)) {
        return false;
    }
    std::string rest = name.substr(23);
    if (!rest.empty() && rest[0] == '-') {
        std::size_t end = 1;
        while (end < rest.size() && rest[end] >= '0' && rest[end] <= '9') ++end;
        if (end == 1) return false;
        rest = rest.substr(end);
    }
    return rest == ".xlsx";
}

// Environment variables set aside for the duration of a test.
class HiddenVariable {
public:
    explicit HiddenVariable(const char* name) : name_(name) {
        if (const char* value = std::getenv(name)) saved_ = value;
        ::unsetenv(name);
    }
    ~HiddenVariable() {
        if (saved_) ::setenv(name_, saved_->c_str(), 1);
    }

private:
    const char* name_;
    std::optional<std::string> saved_;
};

TEST_F(Spreadsheet, ToExcelWritesDatedWorkbooksIntoTheRecordedDirectory) {
    const HiddenVariable display("DISPLAY");  // no desktop: nothing is opened
    const HiddenVariable wayland("WAYLAND_DISPLAY");
    const fs::path previous = fs::current_path();
    fs::current_path(dir_);
    RecordWorkingDirectory();
    fs::current_path(previous);  // the recorded directory counts, not the current one
    EXPECT_EQ(ExportDirectory(), fs::canonical(dir_).string());

    const std::vector<std::vector<double>> values = {{1.5, 2.5, 3.5}, {4.5, 5.5, 6.5}};
    const auto table = RowPointers(values);
    ToExcel(table.data(), 2, 3);
    ToExcel(table.data(), 2, 3);   // a second workbook never replaces the first
    ToExcel(nullptr, 3, 3);        // refused silently
    ToExcel(table.data(), -2, 3);  // refused silently
    fs::current_path(previous);
    RecordWorkingDirectory();

    std::vector<std::string> workbooks;
    for (const auto& entry : fs::directory_iterator(dir_)) {
        const std::string file = entry.path().filename().string();
        EXPECT_TRUE(IsExportFileName(file)) << file;
        workbooks.push_back(entry.path().string());
    }
    ASSERT_EQ(workbooks.size(), 2u);
    for (const std::string& path : workbooks) {
        Workbook book;
        if (!Read(path, book)) GTEST_SKIP() << "python3 with openpyxl is not available";
        EXPECT_EQ(book.sheets, std::vector<std::string>{"Экспорт данных"});
        EXPECT_EQ(book.cells.size(), 6u);
        fs::remove(PathOf("read.py"));
        fs::remove(PathOf("cells.txt"));
    }
}

}  // namespace
}  // namespace zentrik::spreadsheet
