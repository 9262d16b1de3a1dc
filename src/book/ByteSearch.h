#pragma once

#include <bit>
#include <cstddef>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tolvaro {

// The first `c` in [p, end), or `end`. Book values are short, so this stays inline instead of
// calling memchr for every few bytes; sixteen bytes at a time where SSE2 is there.
inline const char* FindByte(const char* p, const char* end, char c) {
#if defined(__SSE2__)
    if (end - p >= 16) {
        const __m128i wanted = _mm_set1_epi8(c);
        const char* const last = end - 16;
        for (;;) {
            // The final block overlaps the one before, whose bytes held no hit.
            const char* const at = p < last ? p : last;
            const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
            const int hits = _mm_movemask_epi8(_mm_cmpeq_epi8(x, wanted));
            if (hits)
                return at + std::countr_zero(static_cast<unsigned>(hits));
            if (at == last)
                return end;
            p += 16;
        }
    }
#endif
    while (p < end && *p != c)
        ++p;
    return p;
}

// The same on a view, from `from`: the position, or npos.
inline std::size_t FindByte(std::string_view s, char c, std::size_t from = 0) {
    if (from >= s.size())
        return std::string_view::npos;
    const char* const end = s.data() + s.size();
    const char* hit = FindByte(s.data() + from, end, c);
    return hit == end ? std::string_view::npos : static_cast<std::size_t>(hit - s.data());
}

} // namespace tolvaro
