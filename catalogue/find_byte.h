// Finds one byte in a short run of text, where a call to memchr would cost
// more than the search itself.
#pragma once

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace corvel {

// First c in [p, end), or end.
inline const char* FindByte(const char* p, const char* end, char c) {
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    for (; end - p >= 16; p += 16) {
        __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, wanted)));
        if (hits) return p + __builtin_ctz(hits);
    }
    while (p < end && *p != c) ++p;
    return p;
#else
    const void* found = std::memchr(p, c, static_cast<std::size_t>(end - p));
    return found ? static_cast<const char*>(found) : end;
#endif
}

// First a or b in [p, end), or end.
inline const char* FindEitherByte(const char* p, const char* end, char a, char b) {
#if defined(__SSE2__)
    const __m128i wantedA = _mm_set1_epi8(a);
    const __m128i wantedB = _mm_set1_epi8(b);
    for (; end - p >= 16; p += 16) {
        __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i either = _mm_or_si128(_mm_cmpeq_epi8(block, wantedA), _mm_cmpeq_epi8(block, wantedB));
        unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(either));
        if (hits) return p + __builtin_ctz(hits);
    }
    while (p < end && *p != a && *p != b) ++p;
    return p;
#else
    return FindByte(p, FindByte(p, end, a), b);
#endif
}

// First a, b or c in [p, end), or end.
inline const char* FindOneOfThreeBytes(const char* p, const char* end, char a, char b, char c) {
#if defined(__SSE2__)
    const __m128i wantedA = _mm_set1_epi8(a);
    const __m128i wantedB = _mm_set1_epi8(b);
    const __m128i wantedC = _mm_set1_epi8(c);
    for (; end - p >= 16; p += 16) {
        __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i any = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, wantedA), _mm_cmpeq_epi8(block, wantedB)),
                                   _mm_cmpeq_epi8(block, wantedC));
        unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(any));
        if (hits) return p + __builtin_ctz(hits);
    }
    while (p < end && *p != a && *p != b && *p != c) ++p;
    return p;
#else
    return FindByte(p, FindEitherByte(p, end, a, b), c);
#endif
}

}  // namespace corvel
