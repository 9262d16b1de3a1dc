#include "io/AsciiText.h"

#include <algorithm>

namespace tolvaro {

void LowerInto(std::string_view in, std::string& out) {
    out.resize(in.size());
    std::transform(in.begin(), in.end(), out.begin(), Lower);
}

std::size_t FindNoCase(std::string_view text, std::string_view lowerNeedle, std::size_t from) {
    const auto found =
        std::search(text.begin() + std::min(from, text.size()), text.end(), lowerNeedle.begin(),
                    lowerNeedle.end(), [](char a, char b) { return Lower(a) == b; });
    return found == text.end() && !lowerNeedle.empty()
               ? std::string_view::npos
               : static_cast<std::size_t>(found - text.begin());
}

} // namespace tolvaro
