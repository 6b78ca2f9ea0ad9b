// Indikator and the recipe table.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "Histories.h"
#include "catalogue/Catalogue.h"
#include "kernels/Extended.h"
#include "kernels/MovingAverages.h"
#include "zentrik/zentrik.h"

namespace zentrik {
namespace {

using testing::kEuroPair;
using testing::kYenPair;
using testing::MakeHistory;

std::vector<double> Catalogue(int number, const std::vector<Bar>& bars) {
    std::vector<double> result(bars.size(), -1.0);
    EXPECT_EQ(Indikator(number, result.data(), static_cast<int32_t>(bars.size()), bars.data()), ZENTRIK_OK)
        << "number " << number;
    return result;
}

TEST(Catalogue, TableIsConsistent) {
    EXPECT_EQ(catalogue::CountTableFaults(), 0) << "a number claimed twice, or a period outside the table";
}

TEST(Catalogue, UnknownNumbersGiveZeros) {
    const auto bars = MakeHistory(120, kYenPair);
    for (int number : {461, -1, 1000, INT32_MIN, INT32_MAX}) {
        for (double v : Catalogue(number, bars)) ASSERT_EQ(v, 0.0) << number;
    }
}

// Numbers 0 .. 26 are the three averages over the first nine periods.
TEST(Catalogue, AveragesOverThePeriodTable) {
    using Kernel = void (*)(double*, const double*, std::int32_t, std::int32_t);
    const Kernel kernels[] = {SimpleAverage, ExponentialAverage, WeightedAverage};
    for (const auto& shape : {kYenPair, kEuroPair}) {
        for (int count : {1001, 3000}) {
            const auto bars = MakeHistory(count, shape);
            const auto closes = testing::Closes(bars);
            for (int number = 0; number <= 26; ++number) {
                std::vector<double> expected(static_cast<std::size_t>(count));
                kernels[number / 9](expected.data(), closes.data(), catalogue::kPeriodTable[number % 9], count - 1);
                EXPECT_EQ(Catalogue(number, bars), expected) << "number " << number;
            }
        }
    }
}

TEST(Catalogue, WorkedExamplesOfTheFirstNumbers) {
    const auto bars = MakeHistory(1001, kYenPair);
    EXPECT_EQ(Catalogue(0, bars)[0], bars[0].close);
    const auto ema = Catalogue(9, bars);
    for (int i = 0; i <= 50; ++i) EXPECT_EQ(ema[i], bars[i].close);
    const double weighted = ToDouble(Extended(bars[0].close) + Extended(bars[1].close) * 2.0);
    EXPECT_EQ(Catalogue(18, bars)[1], ToDouble(Extended(weighted) / 3.0));
    // Consecutive calls do not see each other.
    const auto three = Catalogue(0, bars);
    const auto five = Catalogue(1, bars);
    double sum = 0.0;
    for (int j = 6; j <= 10; ++j) sum = ToDouble(Extended(sum) + bars[j].close);
    EXPECT_EQ(five[10], ToDouble(Extended(sum) / 5.0L));
    EXPECT_NE(three[10], five[10]);
}

TEST(Catalogue, NamedAveragesEqualTheirNumbers) {
    for (const auto& shape : {kYenPair, kEuroPair}) {
        const auto bars = MakeHistory(1001, shape);
        std::vector<double> named(1001);
        ASSERT_EQ(Srednee(named.data(), 1001, bars.data(), 3), ZENTRIK_OK);
        EXPECT_EQ(named, Catalogue(0, bars));
        ASSERT_EQ(SredneeX(named.data(), 1001, bars.data(), 3), ZENTRIK_OK);
        EXPECT_EQ(named, Catalogue(9, bars));
        ASSERT_EQ(SredneeW(named.data(), 1001, bars.data(), 3), ZENTRIK_OK);
        EXPECT_EQ(named, Catalogue(18, bars));
    }
}

TEST(Catalogue, ShortHistoriesStayInsideTheArrays) {
    for (int count = 1; count <= 60; ++count) {
        const auto bars = MakeHistory(count, kYenPair);
        for (int number = 0; number < ZENTRIK_CATALOGUE_SIZE; ++number) {
            std::vector<double> result(static_cast<std::size_t>(count));
            const int32_t status = Indikator(number, result.data(), count, bars.data());
            EXPECT_GE(status, 0);
            EXPECT_LE(status, ZENTRIK_EOther);
        }
    }
}

}  // namespace
}  // namespace zentrik
