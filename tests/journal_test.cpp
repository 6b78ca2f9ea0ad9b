// The journal file protokol.dat.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "frame/Frame.h"
#include "frame/Platform.h"
#include "quotes/Journal.h"
#include "zentrik/zentrik.h"

namespace zentrik {
namespace {

namespace fs = std::filesystem;

class TempDir {
public:
    TempDir() {
        static std::atomic<int> counter{0};
        path_ = fs::temp_directory_path() /
                ("zentrik_journal_" + std::to_string(std::random_device{}()) + "_" + std::to_string(counter++));
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// Changes the current directory for its lifetime.
class CurrentDirectoryGuard {
public:
    explicit CurrentDirectoryGuard(const fs::path& directory) : saved_(fs::current_path()) {
        fs::current_path(directory);
    }
    ~CurrentDirectoryGuard() {
        std::error_code ignored;
        fs::current_path(saved_, ignored);
    }

private:
    fs::path saved_;
};

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Makes `directory` the recorded working directory, as an import call does.
void RecordDirectory(const fs::path& directory) {
    CurrentDirectoryGuard guard(directory);
    HistoryKotCSV(nullptr, 2, nullptr);
}

std::string StampOf(const platform::LocalTime& t) {
    char stamp[96];
    std::snprintf(stamp, sizeof stamp, "%02d.%02d.%02d %02d:%02d:%02d", t.day, t.month, t.year % 100, t.hour,
                  t.minute, t.second);
    return stamp;
}

TEST(Journal, AppendsLinesInCallOrderToTheRecordedDirectory) {
    TempDir dir;
    const fs::path journal = dir.path() / "protokol.dat";
    {
        std::ofstream(journal, std::ios::binary) << "earlier line\n";
    }
    RecordDirectory(dir.path());
    EXPECT_EQ(fs::path(quotes::JournalPath()), journal);
    const platform::LocalTime before = platform::Now();
    Protokol("Buy USDJPY");
    Protokol(nullptr);
    const platform::LocalTime after = platform::Now();

    const std::string text = ReadFile(journal);
    const std::string lineEnd = platform::LineEnd();
    const std::string first = "earlier line\n";
    const std::string second = "Buy USDJPY ";
    const std::size_t stampLength = 17;  // DD.MM.YY HH:MM:SS
    ASSERT_EQ(text.size(), first.size() + second.size() + stampLength + 1 + lineEnd.size() + 1 + stampLength +
                               1 + lineEnd.size())
        << text;
    ASSERT_EQ(text.substr(0, first.size() + second.size()), first + second) << text;
    std::size_t at = first.size() + second.size();
    const std::string stamp1 = text.substr(at, stampLength);
    at += stampLength;
    EXPECT_EQ(text.substr(at, 1 + lineEnd.size() + 1), " " + lineEnd + " ");  // empty text of the null call
    at += 1 + lineEnd.size() + 1;
    const std::string stamp2 = text.substr(at, stampLength);
    EXPECT_EQ(text.substr(at + stampLength), " " + lineEnd);
    for (const std::string& stamp : {stamp1, stamp2}) {
        EXPECT_TRUE(stamp == StampOf(before) || stamp == StampOf(after)) << stamp;
    }
}

TEST(Journal, UnwritableJournalDoesNotFailTheCall) {
    TempDir dir;
    const fs::path missing = dir.path() / "gone";
    fs::create_directories(missing);
    RecordDirectory(missing);
    fs::remove(missing);
    Protokol("lost");  // the directory no longer exists
    EXPECT_FALSE(fs::exists(missing / "protokol.dat"));
}

TEST(Journal, LongDirectoryIsNotCut) {
    TempDir dir;
    fs::path deep = dir.path();
    while (deep.string().size() < 320) deep /= std::string(40, 'd');
    fs::create_directories(deep);
    RecordDirectory(deep);
    Protokol("deep");
    EXPECT_TRUE(fs::exists(deep / "protokol.dat"));
}

// Runs in a fresh process, so that no entry has recorded a directory yet.
TEST(JournalDeathTest, BeforeAnyRecordingWritesToTheCurrentDirectory) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            TempDir dir;
            bool written = false;
            {
                CurrentDirectoryGuard guard(dir.path());
                if (RecordedDirectory().empty()) {
                    Protokol("first");
                    written = ReadFile(dir.path() / "protokol.dat").rfind("first ", 0) == 0;
                }
            }
            std::exit(written ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace zentrik
