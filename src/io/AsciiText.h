#pragma once

#include <string>
#include <string_view>

namespace tolvaro {

// Byte-text helpers for markup and data files, where only ASCII letters and blanks matter.
// White space as the C library's isspace sees it in the C locale.
inline bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
// Lower-cases A to Z only, as every tag and key test expects.
inline char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
void LowerInto(std::string_view in, std::string& out);
// Where `text` holds `lowerNeedle` at or after `from` when A to Z are compared without regard to
// case; npos when nowhere.
std::size_t FindNoCase(std::string_view text, std::string_view lowerNeedle, std::size_t from = 0);
inline bool ContainsNoCase(std::string_view text, std::string_view lowerNeedle) {
    return FindNoCase(text, lowerNeedle) != std::string_view::npos;
}

} // namespace tolvaro
