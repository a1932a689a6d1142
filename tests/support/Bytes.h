// Bytes from a text literal, for tests that store and read back raw values; give the length
// with the string_view when the text holds NUL bytes.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace velmora::test {

inline std::vector<std::byte> bytesOf(std::string_view text) {
    const auto span = std::as_bytes(std::span(text.data(), text.size()));
    return {span.begin(), span.end()};
}

} // namespace velmora::test
