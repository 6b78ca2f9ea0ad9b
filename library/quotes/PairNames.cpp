// Pair names with and without the slash: "USDJPY" <-> "USD/JPY".
//
// Both entries write a zero-terminated result to the caller's buffer and
// return the length of the whole result, as snprintf does: a result of that
// length or more did not fit and was cut to outSize - 1 characters. A null
// name reads as the empty name; a null out or an outSize <= 0 writes
// nothing and only returns the length.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "zentrik/zentrik.h"

namespace {

// Characters first .. first+count-1 (counting from 1) of the name, or what
// the name has of them.
std::string_view Characters(std::string_view name, std::size_t first, std::size_t count) {
    if (name.size() < first) return {};
    return name.substr(first - 1, count);
}

int32_t WriteResult(const std::string& result, char* out, int32_t outSize) {
    if (out != nullptr && outSize > 0) {
        const std::size_t kept = std::min(result.size(), static_cast<std::size_t>(outSize) - 1);
        std::memcpy(out, result.data(), kept);
        out[kept] = '\0';
    }
    return static_cast<int32_t>(std::min<std::size_t>(result.size(), INT32_MAX));
}

std::string_view NameOf(const char* name) { return name == nullptr ? std::string_view() : std::string_view(name); }

}  // namespace

extern "C" {

ZENTRIK_API int32_t ZENTRIK_CALL KotSlesh(const char* name, char* out, int32_t outSize) {
    const std::string_view text = NameOf(name);
    if (text.find('/') != std::string_view::npos) return WriteResult(std::string(text), out, outSize);
    std::string result(Characters(text, 1, 3));
    result += '/';
    result += Characters(text, 4, 3);
    return WriteResult(result, out, outSize);
}

ZENTRIK_API int32_t ZENTRIK_CALL KotNoSlesh(const char* name, char* out, int32_t outSize) {
    const std::string_view text = NameOf(name);
    if (text.find('/') == std::string_view::npos) return WriteResult(std::string(text), out, outSize);
    std::string result(Characters(text, 1, 3));
    result += Characters(text, 5, 3);
    return WriteResult(result, out, outSize);
}

}  // extern "C"
