#pragma once
// What a reply parser gives back: the decoded record, or why the bytes the
// drive delivered could not be taken for the reply that was asked for.

#include <cstdint>

namespace quarnel {

enum class ParseError : std::uint8_t {
    None,
    TooShort,     // fewer bytes than the smallest well-formed reply
    WrongFormat,  // a reply of another kind (another page, TOC format, sense format)
    Inconsistent, // fields contradict each other or the transferred length
};

template <typename T> struct Parsed {
    T value{};
    ParseError error = ParseError::None;

    [[nodiscard]] bool Ok() const { return error == ParseError::None; }
    [[nodiscard]] static Parsed Fail(ParseError why) {
        Parsed result;
        result.error = why;
        return result;
    }
};

} // namespace quarnel
