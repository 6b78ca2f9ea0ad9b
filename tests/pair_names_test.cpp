// Pair names with and without the slash.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "zentrik/zentrik.h"

namespace zentrik {
namespace {

using NameEntry = int32_t (*)(const char*, char*, int32_t);

std::string Convert(NameEntry entry, const char* name) {
    char out[64];
    std::memset(out, 'z', sizeof out);
    const int32_t length = entry(name, out, sizeof out);
    EXPECT_EQ(length, static_cast<int32_t>(std::strlen(out)));
    return out;
}

TEST(PairNames, WorkedExamples) {
    struct Case {
        NameEntry entry;
        const char* name;
        const char* expected;
    };
    const Case cases[] = {
        {KotSlesh, "USDJPY", "USD/JPY"},   {KotSlesh, "USD/JPY", "USD/JPY"}, {KotSlesh, "EURUSDm", "EUR/USD"},
        {KotSlesh, "USD", "USD/"},         {KotSlesh, "", "/"},              {KotSlesh, nullptr, "/"},
        {KotSlesh, "US", "US/"},           {KotSlesh, "USDJ", "USD/J"},      {KotSlesh, "EURUSD/x", "EURUSD/x"},
        {KotNoSlesh, "USD/JPY", "USDJPY"}, {KotNoSlesh, "USDJPY", "USDJPY"}, {KotNoSlesh, "A/B", "A/B"},
        {KotNoSlesh, "EU/RUSD", "EU/USD"}, {KotNoSlesh, "USD/JPYm", "USDJPY"}, {KotNoSlesh, "", ""},
        {KotNoSlesh, nullptr, ""},         {KotNoSlesh, "/USDJPY", "/USJPY"}, {KotNoSlesh, "USD/", "USD"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Convert(c.entry, c.name), c.expected) << (c.name ? c.name : "(null)");
    }
}

TEST(PairNames, TruncatesLikeSnprintf) {
    char out[8];
    std::memset(out, 'z', sizeof out);
    EXPECT_EQ(KotSlesh("USDJPY", out, 4), 7);
    EXPECT_STREQ(out, "USD");
    EXPECT_EQ(out[4], 'z');  // nothing written beyond outSize
    EXPECT_EQ(KotSlesh("USDJPY", out, 1), 7);
    EXPECT_STREQ(out, "");
    std::memset(out, 'z', sizeof out);
    EXPECT_EQ(KotNoSlesh("USD/JPY", out, 0), 6);
    EXPECT_EQ(out[0], 'z');
    EXPECT_EQ(KotNoSlesh("USD/JPY", out, -5), 6);
    EXPECT_EQ(out[0], 'z');
    EXPECT_EQ(KotNoSlesh("USD/JPY", nullptr, 0), 6);
    EXPECT_EQ(KotSlesh("USDJPY", nullptr, 16), 7);  // no buffer: only the length
    EXPECT_EQ(KotSlesh("USDJPY", out, 8), 7);
    EXPECT_STREQ(out, "USD/JPY");
}

TEST(PairNames, LeavesTheInputAlone) {
    char name[] = "USDJPY";
    char out[16];
    KotSlesh(name, out, sizeof out);
    EXPECT_STREQ(name, "USDJPY");
    // The result may be converted back in place of a copy.
    KotNoSlesh(out, out, sizeof out);
    EXPECT_STREQ(out, "USDJPY");
}

}  // namespace
}  // namespace zentrik
