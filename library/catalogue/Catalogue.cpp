#include "Catalogue.h"

#include "frame/Frame.h"
#include "kernels/Extended.h"

namespace zentrik::catalogue {
namespace {

struct BuiltTable {
    std::array<Recipe, 461> recipes{};
    std::int32_t faults = 0;
};

bool ResolveParam(const ParamRule& rule, std::int32_t number, std::int32_t& param) {
    switch (rule.kind) {
        case ParamRule::Kind::PeriodTable: {
            const std::int32_t index = number - rule.value;
            if (index < 0 || index >= static_cast<std::int32_t>(kPeriodTable.size())) return false;
            param = kPeriodTable[static_cast<std::size_t>(index)];
            return true;
        }
        case ParamRule::Kind::NumberMinus:
            param = number - rule.value;
            return true;
        case ParamRule::Kind::Fixed:
            param = rule.value;
            return true;
    }
    return false;
}

BuiltTable Build() {
    BuiltTable table;
    for (const std::span<const Family>& rows : {kRecipes0To26, kRecipes27To99, kRecipes100To199}) {
        for (const Family& family : rows) {
            for (std::int32_t a = family.first; a <= family.last; ++a) {
                if (a < 0 || a >= static_cast<std::int32_t>(table.recipes.size())) {
                    ++table.faults;
                    continue;
                }
                Recipe& recipe = table.recipes[static_cast<std::size_t>(a)];
                std::int32_t param = 0;
                if (recipe.family != nullptr || !ResolveParam(family.param, a, param)) {
                    ++table.faults;
                    continue;
                }
                recipe = Recipe{&family, param};
            }
        }
    }
    return table;
}

const BuiltTable& Table() {
    static const BuiltTable table = Build();
    return table;
}

double* Writable(const Frame& frame, Slot slot) {
    switch (slot) {
        case Slot::R: return frame.R;
        case Slot::S1: return frame.S1;
        case Slot::S2: return frame.S2;
        default: return nullptr;
    }
}

const double* Readable(const Frame& frame, Slot slot) {
    switch (slot) {
        case Slot::R: return frame.R;
        case Slot::C: return frame.C;
        case Slot::H: return frame.H;
        case Slot::L: return frame.L;
        case Slot::O: return frame.O;
        case Slot::D: return frame.D;
        case Slot::S1: return frame.S1;
        case Slot::S2: return frame.S2;
    }
    return nullptr;
}

}  // namespace

const std::array<Recipe, 461>& RecipeTable() { return Table().recipes; }

std::int32_t CountTableFaults() { return Table().faults; }

void RunRecipe(const Recipe& recipe, const Frame& frame) {
    if (recipe.family == nullptr) return;
    const Family& family = *recipe.family;
    if (family.stage != nullptr) family.stage(frame, Writable(frame, family.into), recipe.param);
    if (family.stage2 != nullptr) family.stage2(frame, Writable(frame, family.into2), family.param2);

    double* R = frame.R;
    const double* X = Readable(frame, family.x);
    const double* Y = Readable(frame, family.y);
    // The forms that look one bar back never start before bar 1.
    const std::int32_t from = family.from;
    const std::int32_t fromBack = from < 1 ? 1 : from;
    switch (family.form) {
        case Form::Direct:
            break;
        case Form::Change:
            for (std::int32_t i = fromBack; i < frame.n; ++i) R[i] = ToDouble(Extended(X[i]) - X[i - 1]);
            break;
        case Form::Spread:
            for (std::int32_t i = from; i < frame.n; ++i) R[i] = ToDouble(Extended(X[i]) - Y[i]);
            break;
        case Form::CrossingProduct:
            for (std::int32_t i = fromBack; i < frame.n; ++i) {
                R[i] = ToDouble((Extended(X[i]) - Y[i]) * (Extended(X[i - 1]) - Y[i - 1]));
            }
            break;
        case Form::SignalCopy:
            for (std::int32_t i = from; i < frame.n; ++i) R[i] = static_cast<double>(frame.N[i]);
            break;
        case Form::PerBar:
            for (std::int32_t i = from; i < frame.n; ++i) R[i] = family.perBar(frame, i, recipe.param);
            break;
    }
}

}  // namespace zentrik::catalogue

using namespace zentrik;

extern "C" ZENTRIK_API int32_t ZENTRIK_CALL Indikator(int32_t number, double* result, int32_t count,
                                                       const Bar* bars) {
    const unsigned all = kOpenColumn | kHighColumn | kLowColumn | kCloseColumn | kTimeColumn;
    return RunIndicatorEntry(result, count, bars, all, true, [&](const PriceColumns& c) {
        // Every call allocates the whole frame, whatever the number.
        Series s1 = MakeSeries(std::int64_t{count} + 5);
        Series s2 = MakeSeries(std::int64_t{count} + 5);
        std::vector<std::int32_t> signals(static_cast<std::size_t>(count) + 5, 0);
        if (number < 0 || number >= ZENTRIK_CATALOGUE_SIZE) return;
        const catalogue::Frame frame{result,    c.close,   c.high,         c.low, c.open, c.time,
                                     s1.data(), s2.data(), signals.data(), count, c.last, PointSize};
        catalogue::RunRecipe(catalogue::RecipeTable()[static_cast<std::size_t>(number)], frame);
    });
}
