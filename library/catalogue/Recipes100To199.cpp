// Numbers 100 .. 199: not filled in yet.
#include "Catalogue.h"

namespace zentrik::catalogue {

const std::span<const Family> kRecipes100To199{};

}  // namespace zentrik::catalogue
