// Numbers 27 .. 99: not filled in yet.
#include "Catalogue.h"

namespace zentrik::catalogue {

const std::span<const Family> kRecipes27To99{};

}  // namespace zentrik::catalogue
