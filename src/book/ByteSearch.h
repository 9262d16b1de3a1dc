#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tolvaro {

#if defined(__SSE2__)
// Sixteen bytes at a time: the first byte in [p, end) that `mark` sets a bit for (it takes a
// block and gives one bit per byte), or end; the final block overlaps the one before, whose
// bytes had none. Null when fewer than sixteen bytes are left.
template <typename Mark> const char* FindMarked(const char* p, const char* end, Mark mark) {
    if (end - p < 16)
        return nullptr;
    const char* const last = end - 16;
    for (; p < last; p += 16) {
        if (const int hits = mark(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))))
            return p + std::countr_zero(static_cast<unsigned>(hits));
    }
    const int hits = mark(_mm_loadu_si128(reinterpret_cast<const __m128i*>(last)));
    return hits ? last + std::countr_zero(static_cast<unsigned>(hits)) : end;
}
#endif

// The first `c` in [p, end), or `end`. Book values are short, so this stays inline instead of
// calling memchr for every few bytes; sixteen bytes at a time where SSE2 is there.
inline const char* FindByte(const char* p, const char* end, char c) {
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    if (const char* hit = FindMarked(
            p, end, [wanted](__m128i x) { return _mm_movemask_epi8(_mm_cmpeq_epi8(x, wanted)); }))
        return hit;
#endif
    while (p < end && *p != c)
        ++p;
    return p;
}

// The same on a view, from `from`: the position, or npos.
// Fewer than sixteen bytes before the end of a view of sixteen or more are tested with the
// view's last sixteen, the bits before `from` dropped.
inline std::size_t FindByte(std::string_view s, char c, std::size_t from = 0) {
    constexpr auto npos = std::string_view::npos;
    if (from >= s.size())
        return npos;
#if defined(__SSE2__)
    if (s.size() >= 16 && s.size() - from < 16) {
        const std::size_t at = s.size() - 16;
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.data() + at));
        const auto hits =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, _mm_set1_epi8(c)))) >>
            (from - at);
        return hits ? from + static_cast<std::size_t>(std::countr_zero(hits)) : npos;
    }
#endif
    const char* const end = s.data() + s.size();
    const char* hit = FindByte(s.data() + from, end, c);
    return hit == end ? npos : static_cast<std::size_t>(hit - s.data());
}

// Whether n bytes at a and b are the same: words of eight or four, the last overlapping.
inline bool SameBytes(const char* a, const char* b, std::size_t n) {
    const auto same = [a, b]<typename Word>(std::size_t at, Word) {
        Word x, y;
        std::memcpy(&x, a + at, sizeof x);
        std::memcpy(&y, b + at, sizeof y);
        return x == y;
    };
    if (n >= 8) {
        for (std::size_t i = 0; i + 8 < n; i += 8) {
            if (!same(i, std::uint64_t{}))
                return false;
        }
        return same(n - 8, std::uint64_t{});
    }
    if (n >= 4)
        return same(0, std::uint32_t{}) && same(n - 4, std::uint32_t{});
    if (n >= 2)
        return same(0, std::uint16_t{}) && same(n - 2, std::uint16_t{});
    return n == 0 || a[0] == b[0];
}

// The positions in `s` below `limit` where byte `a` is followed by byte `b`, in order, passed to
// `visit` until it returns true: that position, or npos. With `NoCase`, 0x20 is or-ed into each
// byte of `s` before it is compared, so that a lower-case letter also meets its capital (and a
// few other bytes meet other bytes: `visit` tells). With SSE2, sixteen positions at a time.
template <bool NoCase, typename Visit>
[[gnu::always_inline]] inline std::size_t FindPair(std::string_view s, char a, char b,
                                                   std::size_t limit, Visit visit) {
    constexpr auto npos = std::string_view::npos;
    const char* const data = s.data();
#if defined(__SSE2__)
    if (s.size() >= 17) {
        const __m128i first = _mm_set1_epi8(a), second = _mm_set1_epi8(b);
        const auto load = [data](std::size_t at) {
            const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
            return NoCase ? _mm_or_si128(x, _mm_set1_epi8(0x20)) : x;
        };
        // A set bit for each position of the block at `at` where the pair starts.
        const auto candidates = [&](std::size_t at) {
            return static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(
                _mm_cmpeq_epi8(load(at), first), _mm_cmpeq_epi8(load(at + 1), second))));
        };
        constexpr std::size_t kNone = std::size_t{0} - 2; // npos is taken: no position after this
        const auto visitBlock = [&](std::size_t at, unsigned hits) {
            for (; hits; hits &= hits - 1) {
                const std::size_t pos = at + static_cast<std::size_t>(std::countr_zero(hits));
                if (pos >= limit)
                    return npos;
                if (visit(pos))
                    return pos;
            }
            return kNone;
        };
        const std::size_t lastLoad = s.size() - 17; // loads at `at` and at + 1 stay in `s`
        std::size_t i = 0;
        for (; i < lastLoad; i += 16) {
            if (const std::size_t pos = visitBlock(i, candidates(i)); pos != kNone)
                return pos;
        }
        // The final block overlaps the one before: its positions before i were tested. Every
        // position up to s.size() - 2 is then tested; the last cannot start a pair.
        const std::size_t pos =
            visitBlock(lastLoad, candidates(lastLoad) & (~0u << (i - lastLoad)));
        return pos == kNone ? npos : pos;
    }
#endif
    const auto fold = [](char c) { return NoCase ? static_cast<char>(c | 0x20) : c; };
    for (std::size_t i = 0; i < limit && i + 1 < s.size(); ++i) {
        if (fold(data[i]) == a && fold(data[i + 1]) == b && visit(i))
            return i;
    }
    return npos;
}

// Where `needle` first occurs in `s`, or npos: std::string_view::find for the short literals
// the scanners look for. Starts are tested on the needle's first two bytes, so a line is passed
// over once and a candidate is nearly always a hit.
[[gnu::always_inline]] inline std::size_t FindText(std::string_view s, std::string_view needle) {
    constexpr auto npos = std::string_view::npos;
    const std::size_t n = needle.size();
    if (n == 0 || n > s.size())
        return n == 0 ? 0 : npos;
    const char* const data = s.data();
    const std::size_t starts = s.size() - n + 1; // the possible starts: 0 to starts - 1
    if (n >= 2) {
        return FindPair<false>(s, needle[0], needle[1], starts, [&](std::size_t at) {
            return SameBytes(data + at + 1, needle.data() + 1, n - 1);
        });
    }
    return FindByte(s, needle[0]);
}

} // namespace tolvaro
