#include "book/LineSource.h"

#include "book/ByteSearch.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace tolvaro {
namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool NameAt(std::string_view s, std::size_t at, std::string_view name) {
    if (at + name.size() > s.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (Lower(s[at + i]) != name[i])
            return false;
    }
    return true;
}

// Whether the "<" at `at` starts an element that begins a piece.
bool StartsPiece(std::string_view s, std::size_t at) {
    const std::size_t after = at + 1;
    if (after + 1 < s.size() && Lower(s[after]) == 'h' && s[after + 1] >= '1' &&
        s[after + 1] <= '6')
        return after + 2 >= s.size() || !IsAlnum(s[after + 2]);
    const auto followedBy = [&](std::string_view name, bool slashToo) {
        if (!NameAt(s, after, name) || after + name.size() >= s.size())
            return false;
        const char next = s[after + name.size()];
        return IsSpace(next) || next == '>' || (slashToo && next == '/');
    };
    for (std::string_view name : {"span", "div", "meta", "par", "text", "audio"}) {
        if (followedBy(name, true))
            return true;
    }
    for (std::string_view name : {"head", "body", "/head", "/body", "/par"}) {
        if (followedBy(name, false))
            return true;
    }
    return false;
}

bool OnlySpace(std::string_view s) {
    for (char c : s) {
        if (!IsSpace(c))
            return false;
    }
    return true;
}

// Whether the "<" at p starts a piece. What follows it on its line decides: a CR before the
// LF is not part of it. Kept out of line: most lines hold one element and never get here.
[[gnu::noinline]] bool StartsPieceAt(const char* p, const char* end) {
    std::string_view ahead(p, static_cast<std::size_t>(std::min<std::ptrdiff_t>(8, end - p)));
    ahead = ahead.substr(0, ahead.find('\n'));
    if (!ahead.empty() && ahead.back() == '\r' &&
        (p + ahead.size() == end || p[ahead.size()] == '\n'))
        ahead.remove_suffix(1);
    return StartsPiece(ahead, 0);
}

} // namespace

// Eight bytes at a time: a byte from 'A' to 'Z' gets 0x20 added, every other byte stays.
void LowerInto(std::string_view in, std::string& out) {
    out.resize(in.size());
    const char* src = in.data();
    char* dst = out.data();
    std::size_t i = 0;
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kHigh = 0x8080808080808080ULL;
    for (; i + 8 <= in.size(); i += 8) {
        std::uint64_t x;
        std::memcpy(&x, src + i, 8);
        const std::uint64_t low7 = x & ~kHigh;
        const std::uint64_t atLeastA = low7 + (0x80 - 'A') * kOnes;
        const std::uint64_t aboveZ = low7 + (0x80 - 'Z' - 1) * kOnes;
        const std::uint64_t upper = atLeastA & ~aboveZ & ~x & kHigh;
        x |= upper >> 2;
        std::memcpy(dst + i, &x, 8);
    }
    for (; i < in.size(); ++i)
        dst[i] = Lower(src[i]);
}

bool ContainsNoCase(std::string_view text, std::string_view lowerNeedle) {
    if (lowerNeedle.empty())
        return true;
    if (lowerNeedle.size() > text.size())
        return false;
    const std::size_t starts = text.size() - lowerNeedle.size() + 1;
    if (lowerNeedle.size() == 1) {
        for (std::size_t i = 0; i < starts; ++i) {
            if (Lower(text[i]) == lowerNeedle[0])
                return true;
        }
        return false;
    }
    // Candidates on the first two bytes with 0x20 or-ed in, each then compared exactly. A byte
    // of the needle that is no letter is looked for as it is, or-ed too.
    const auto folded = [](char c) { return static_cast<char>(c | 0x20); };
    return FindPair<true>(text, folded(lowerNeedle[0]), folded(lowerNeedle[1]), starts,
                          [&](std::size_t at) { return NameAt(text, at, lowerNeedle); }) !=
           std::string_view::npos;
}

// Without SSE2, eight bytes at a time: in each word a byte equal to the one sought becomes
// zero, and the lowest zero byte is found exactly (a borrow only runs upwards from a zero byte).
// With SSE2 this only sees the last few bytes.
const char* LineSource::FindLineOrTagByWords(const char* p, const char* end) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kHigh = 0x8080808080808080ULL;
    for (; end - p >= 8; p += 8) {
        std::uint64_t x;
        std::memcpy(&x, p, 8);
        if constexpr (std::endian::native == std::endian::big)
            x = __builtin_bswap64(x);
        const std::uint64_t lf = x ^ ('\n' * kOnes), lt = x ^ ('<' * kOnes);
        const std::uint64_t hits = (((lf - kOnes) & ~lf) | ((lt - kOnes) & ~lt)) & kHigh;
        if (hits)
            return p + (std::countr_zero(hits) >> 3);
    }
    while (p < end && *p != '\n' && *p != '<')
        ++p;
    return p;
}

bool LineSource::AnyPiece(std::string_view& piece) {
    const char* const data = m_data.data();
    const char* const end = data + m_data.size();
    while (m_pos < m_data.size()) {
        const char* const start = data + m_pos;
        if (*start == '\n') { // an empty line
            ++m_pos;
            continue;
        }
        const char* p = start;
        m_innerTag = false;
        for (;;) {
            p = FindLineOrTag(p + 1, end);
            if (p == end || *p == '\n')
                break;
            if (StartsPieceAt(p, end))
                break;
            m_innerTag = true;
        }
        const bool lineEnds = p == end || *p == '\n';
        m_pos = p - data + (p != end && *p == '\n' ? 1 : 0);
        const char* pieceEnd = p - (lineEnds && p[-1] == '\r' ? 1 : 0); // p > start here
        piece = std::string_view(start, static_cast<std::size_t>(pieceEnd - start));
        if (*start == '<' || !OnlySpace(piece)) // a piece that starts a tag is never blank
            return true;
    }
    return false;
}

bool LineSource::Next(std::string& line) {
    std::string_view piece;
    if (!NextPiece(piece))
        return false;
    line.assign(piece);
    return true;
}

bool LineSource::AppendNext(std::string& line) {
    std::string_view piece;
    if (!NextPiece(piece))
        return false;
    line.append(piece);
    return true;
}

} // namespace tolvaro
