#include "book/LineSource.h"

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
char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
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
    const char first = lowerNeedle[0];
    const char firstUpper = first >= 'a' && first <= 'z' ? static_cast<char>(first - 32) : first;
    const std::size_t last =
        text.size() < lowerNeedle.size() ? 0 : text.size() - lowerNeedle.size() + 1;
    for (const char c : {first, firstUpper}) {
        for (std::size_t i = 0; i < last; ++i) {
            const void* hit = std::memchr(text.data() + i, c, last - i);
            if (!hit)
                break;
            i = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
            if (NameAt(text, i, lowerNeedle))
                return true;
        }
        if (firstUpper == first)
            break;
    }
    return false;
}

bool LineSource::NextPiece(std::string_view& piece) {
    for (;;) {
        while (!m_rest.empty()) {
            std::size_t cut = m_rest.find('<', 1);
            while (cut != std::string_view::npos && !StartsPiece(m_rest, cut))
                cut = m_rest.find('<', cut + 1);
            piece = m_rest.substr(0, cut);
            m_rest = cut == std::string_view::npos ? std::string_view() : m_rest.substr(cut);
            if (!OnlySpace(piece))
                return true;
        }
        if (m_pos >= m_data.size())
            return false;
        const char* begin = m_data.data() + m_pos;
        const auto left = static_cast<std::size_t>(m_data.size() - m_pos);
        const void* newline = std::memchr(begin, '\n', left);
        std::size_t length =
            newline ? static_cast<std::size_t>(static_cast<const char*>(newline) - begin) : left;
        m_pos += static_cast<qsizetype>(length) + (newline ? 1 : 0);
        if (length > 0 && begin[length - 1] == '\r')
            --length;
        m_rest = std::string_view(begin, length);
    }
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
