#pragma once

#include <string_view>

namespace tolvaro::scan {

// From `start` up to the next `stop` character, or to the end; empty when `start` is past it.
inline std::string_view ValueFrom(std::string_view line, std::size_t start, char stop) {
    if (start >= line.size())
        return {};
    const std::size_t end = line.find(stop, start);
    return line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

// The value of content="...": 9 characters after the start of "content=", up to the next
// double quote (the rest of the line when none follows). `found` tells whether content= was
// there at all.
std::string_view ContentValue(std::string_view line, bool* found = nullptr);

// The text after the first "#" up to the next double quote; empty without "#".
inline std::string_view ExtractFragment(std::string_view line) {
    const std::size_t hash = line.find('#');
    return hash == std::string_view::npos ? std::string_view() : ValueFrom(line, hash + 1, '"');
}

// After the first <a href=" up to and including the first ".smil" after it; empty without the
// opening, the rest of the line without ".smil".
std::string_view LinkTarget(std::string_view line);

// The line cut at the first "</a>", less everything up to and including the last ">" before
// the cut; empty without "</a>".
std::string_view LinkText(std::string_view line);

// The value of the first `name` (e.g. "id=", "src="): the characters after the name and one
// more (the opening quote), up to the next double quote. Empty when the name is missing.
inline std::string_view AttributeValue(std::string_view line, std::string_view name) {
    const std::size_t at = line.find(name);
    return at == std::string_view::npos ? std::string_view()
                                        : ValueFrom(line, at + name.size() + 1, '"');
}

// The text source of a <text>: after the first src=" up to the first "#" (the rest of the line
// when there is none).
inline std::string_view TextSource(std::string_view line) {
    const std::size_t at = line.find("src=");
    return at == std::string_view::npos ? std::string_view() : ValueFrom(line, at + 5, '#');
}

// clip-begin / clip-end in seconds as written: past clip-begin="npt= (or clip-end="npt=) up to
// the first "s"; empty when the attribute is missing.
inline std::string_view ExtractClipTime(std::string_view line, bool begin) {
    const std::size_t at = line.find(begin ? "clip-begin" : "clip-end");
    return at == std::string_view::npos ? std::string_view()
                                        : ValueFrom(line, at + (begin ? 16 : 14), 's');
}

// Whether a lower-cased line opens a page span: a <span> whose class begins with "page", in any
// order of its attributes, quoted either way or not at all.
bool IsPageSpan(std::string_view lower);

// The group label: from `from`, at the first '"' directly followed by '>' and then by a
// character other than '<', the run after the '>' up to the next '<' or the end.
std::string_view GroupLabel(std::string_view line, std::size_t from);

} // namespace tolvaro::scan
