#pragma once

#include "book/ByteSearch.h"

#include <QByteArrayView>

#include <string>
#include <string_view>

namespace tolvaro {

// Hands out the lines of a book file as the readers scan them. A line ends at LF, a CR before
// it is dropped; empty lines are skipped. Each line is further cut into pieces, one element
// each, so that markup with several elements on a line reads like markup with one per line: a
// piece begins at every "<" that starts <h1>..<h6>, <span, <div, <meta, <par, <text, <audio,
// <head, <body, </head, </body or </par (compared without regard to case, each followed by
// what ends its name). Text before the first such "<" is a piece of its own; pieces of only
// white space are dropped. A file with one such element per line, at its start, reads line by
// line.
class LineSource {
public:
    explicit LineSource(QByteArrayView data) : m_data(data) {}

    // Replaces `line` with the next piece; false at the end of the data.
    bool Next(std::string& line);
    // Appends the next piece to `line`; false at the end of the data.
    bool AppendNext(std::string& line);
    // The next piece without a copy: a view into the data; false at the end.
    bool NextPiece(std::string_view& piece) {
        if (m_pos < m_data.size() && m_data[m_pos] == '<') {
            const char* const data = m_data.data();
            const char* const start = data + m_pos;
            const char* const p = FindLineOrTag(start + 1, data + m_data.size());
            if (p != data + m_data.size() && *p == '\n') { // a line that holds one element
                m_innerTag = false;
                m_pos = p + 1 - data;
                const char* const pieceEnd = p - (p[-1] == '\r' ? 1 : 0);
                piece = std::string_view(start, static_cast<std::size_t>(pieceEnd - start));
                return true;
            }
        }
        return AnyPiece(piece);
    }
    // Whether the last piece holds a "<" after its first byte.
    bool InnerTag() const { return m_innerTag; }

private:
    // The first LF or "<" from `p` on, or `end`.
    static const char* FindLineOrTag(const char* p, const char* end) {
#if defined(__SSE2__)
        const __m128i lf = _mm_set1_epi8('\n'), lt = _mm_set1_epi8('<');
        if (const char* hit = FindMarked(p, end, [lf, lt](__m128i x) {
                return _mm_movemask_epi8(
                    _mm_or_si128(_mm_cmpeq_epi8(x, lf), _mm_cmpeq_epi8(x, lt)));
            }))
            return hit;
#endif
        return FindLineOrTagByWords(p, end);
    }
    static const char* FindLineOrTagByWords(const char* p, const char* end);
    // Every other case: empty lines, text before a tag, several elements on a line.
    bool AnyPiece(std::string_view& piece);

    QByteArrayView m_data;
    qsizetype m_pos = 0; // start of the unread rest of the data
    bool m_innerTag = false;
};

// Lower-cases A to Z only, as every tag and key test expects.
inline char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
void LowerInto(std::string_view in, std::string& out);
// Whether `text` holds `lowerNeedle` when A to Z are compared without regard to case.
bool ContainsNoCase(std::string_view text, std::string_view lowerNeedle);

} // namespace tolvaro
