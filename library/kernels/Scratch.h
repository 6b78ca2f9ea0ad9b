// Working series of a kernel: allocated per call, freed on return.
// They are zero-filled, so entries that no step of a kernel writes read 0.0.
// Allocation failure throws std::bad_alloc, which the calling entry turns
// into its out-of-memory status.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zentrik {

using Series = std::vector<double>;

// A zero-filled working series of `size` doubles (none when size <= 0).
inline Series MakeSeries(std::int64_t size) {
    return Series(size > 0 ? static_cast<std::size_t>(size) : 0u, 0.0);
}

}  // namespace zentrik
