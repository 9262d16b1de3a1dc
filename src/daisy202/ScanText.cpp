#include "daisy202/ScanText.h"

#include "store/Settings.h"

#include <algorithm>
#include <limits>

namespace tolvaro::scan {
namespace {

constexpr auto npos = std::string_view::npos;

} // namespace

std::string_view ContentValue(std::string_view line, bool* found) {
    const std::size_t at = line.find("content=");
    if (found)
        *found = at != npos;
    if (at == npos)
        return {};
    return ValueFrom(line, at + 9, '"');
}

bool IsPageSpan(std::string_view lower) {
    for (std::size_t span = lower.find("<span"); span != npos;
         span = lower.find("<span", span + 1)) {
        const std::string_view tag = ValueFrom(lower, span + 5, '>');
        for (std::size_t at = tag.find("class"); at != npos; at = tag.find("class", at + 1)) {
            if (at == 0 || (tag[at - 1] != ' ' && tag[at - 1] != '\t' && tag[at - 1] != '\n'))
                continue; // part of another attribute's name or value
            std::size_t value = tag.find_first_not_of(" \t", at + 5);
            if (value == npos || tag[value] != '=')
                continue;
            value = tag.find_first_not_of(" \t", value + 1);
            if (value != npos && (tag[value] == '"' || tag[value] == '\''))
                ++value;
            if (value != npos && tag.substr(value, 4) == "page")
                return true;
        }
    }
    return false;
}

std::string_view LinkTarget(std::string_view line) {
    constexpr std::string_view opening = "<a href=\"";
    const std::size_t at = line.find(opening);
    if (at == npos)
        return {};
    const std::size_t start = at + opening.size();
    const std::size_t smil = line.find(".smil", start);
    if (smil == npos)
        return line.substr(start);
    return line.substr(start, smil + 5 - start);
}

std::string_view LinkText(std::string_view line) {
    const std::size_t cut = line.find("</a>");
    if (cut == npos)
        return {};
    const std::string_view before = line.substr(0, cut);
    const std::size_t gt = before.rfind('>');
    return gt == npos ? before : before.substr(gt + 1);
}

std::string_view GroupLabel(std::string_view line, std::size_t from) {
    for (std::size_t q = line.find('"', from); q != npos; q = line.find('"', q + 1)) {
        if (q + 2 < line.size() && line[q + 1] == '>' && line[q + 2] != '<')
            return ValueFrom(line, q + 2, '<');
    }
    return {};
}

} // namespace tolvaro::scan
