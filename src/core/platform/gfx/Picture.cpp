#include "platform/gfx/Picture.h"

#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace vx::gfx {

bool IsOpaque(const uint8_t* bgra, int width, int height, int stride) {
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = bgra + size_t(y) * size_t(stride);
        for (int x = 0; x < width; ++x)
            if (row[size_t(x) * 4 + 3] != 255) return false;
    }
    return true;
}

namespace {

// c × a / 255 rounded, for two channels in the 16-bit halves of a word at once:
// t = c × a + 128; (t + (t >> 8)) >> 8 is exact for every c and a.
inline uint32_t PremultiplyPixel(uint32_t p) {
    const uint32_t a = p >> 24;
    uint32_t rb = (p & 0x00FF00FFu) * a + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    uint32_t g = ((p >> 8) & 0xFFu) * a + 0x80u;
    g = ((g + (g >> 8)) >> 8) & 0xFFu;
    return rb | (g << 8) | (p & 0xFF000000u);
}

#if defined(__x86_64__)
// The same as the SSE2 loop below, eight pixels at a time; gives the pixels done.
__attribute__((target("avx2"))) size_t PremultiplyAvx2(const uint8_t* src, uint8_t* dst, size_t pixels) {
    const __m256i lowBytes = _mm256_set1_epi32(0x00FF00FF);
    const __m256i alphaBytes = _mm256_set1_epi32(int(0xFF000000u));
    const __m256i lowByte = _mm256_set1_epi32(0xFF);
    const __m256i half = _mm256_set1_epi16(0x80);
    size_t i = 0;
    for (; i + 8 <= pixels; i += 8) {
        const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i * 4));
        __m256i a = _mm256_srli_epi32(p, 24);
        a = _mm256_or_si256(a, _mm256_slli_epi32(a, 16));
        __m256i rb = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(p, lowBytes), a), half);
        rb = _mm256_srli_epi16(_mm256_add_epi16(rb, _mm256_srli_epi16(rb, 8)), 8);
        __m256i ga = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(_mm256_srli_epi32(p, 8), lowBytes), a), half);
        ga = _mm256_srli_epi16(_mm256_add_epi16(ga, _mm256_srli_epi16(ga, 8)), 8);
        const __m256i g = _mm256_slli_epi32(_mm256_and_si256(ga, lowByte), 8);
        const __m256i out = _mm256_or_si256(_mm256_or_si256(rb, g), _mm256_and_si256(p, alphaBytes));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i * 4), out);
    }
    return i;
}
#endif

}  // namespace

void Premultiply(const uint8_t* src, uint8_t* dst, size_t pixels) {
    size_t i = 0;
#if defined(__x86_64__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2) i = PremultiplyAvx2(src, dst, pixels);
#endif
#if defined(__SSE2__)
    const __m128i lowBytes = _mm_set1_epi32(0x00FF00FF);
    const __m128i alphaBytes = _mm_set1_epi32(int(0xFF000000u));
    const __m128i half = _mm_set1_epi16(0x80);
    for (; i + 4 <= pixels; i += 4) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i * 4));
        __m128i a = _mm_srli_epi32(p, 24);
        a = _mm_or_si128(a, _mm_slli_epi32(a, 16));  // alpha in both 16-bit halves
        __m128i rb = _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(p, lowBytes), a), half);
        rb = _mm_srli_epi16(_mm_add_epi16(rb, _mm_srli_epi16(rb, 8)), 8);
        __m128i ga = _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(_mm_srli_epi32(p, 8), lowBytes), a), half);
        ga = _mm_srli_epi16(_mm_add_epi16(ga, _mm_srli_epi16(ga, 8)), 8);
        // ga holds G' in the low half of each word; its alpha half is replaced by the
        // original alpha.
        const __m128i g = _mm_slli_epi32(_mm_and_si128(ga, _mm_set1_epi32(0xFF)), 8);
        const __m128i out = _mm_or_si128(_mm_or_si128(rb, g), _mm_and_si128(p, alphaBytes));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i * 4), out);
    }
#endif
    for (; i < pixels; ++i) {
        uint32_t p;
        std::memcpy(&p, src + i * 4, 4);
        p = PremultiplyPixel(p);
        std::memcpy(dst + i * 4, &p, 4);
    }
}

Picture::Picture(const uint8_t* bgra, int width, int height, int stride, Opacity opacity)
    : mWidth(width), mHeight(height) {
    if (!bgra || width <= 0 || height <= 0) return;
    const bool opaque = opacity == Opacity::Opaque ||
                        (opacity == Opacity::Scan && IsOpaque(bgra, width, height, stride));
    if (opaque && stride == cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, width)) {
        // cairo never writes to a source surface.
        mSurface.reset(cairo_image_surface_create_for_data(const_cast<uint8_t*>(bgra), CAIRO_FORMAT_RGB24, width,
                                                           height, stride));
        mWrapped = true;
        return;
    }
    mSurface.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    if (cairo_surface_status(mSurface.get()) != CAIRO_STATUS_SUCCESS) return;
    cairo_surface_flush(mSurface.get());
    uint8_t* out = cairo_image_surface_get_data(mSurface.get());
    const int outStride = cairo_image_surface_get_stride(mSurface.get());
    if (opaque) {
        for (int y = 0; y < height; ++y)
            std::memcpy(out + size_t(y) * size_t(outStride), bgra + size_t(y) * size_t(stride), size_t(width) * 4);
    } else if (outStride == stride) {
        Premultiply(bgra, out, size_t(width) * size_t(height));
    } else {
        for (int y = 0; y < height; ++y)
            Premultiply(bgra + size_t(y) * size_t(stride), out + size_t(y) * size_t(outStride), size_t(width));
    }
    cairo_surface_mark_dirty(mSurface.get());
}

Picture::~Picture() { Finish(); }

Picture& Picture::operator=(Picture&& other) noexcept {
    if (this != &other) {
        Finish();
        mSurface = std::move(other.mSurface);
        mWrapped = other.mWrapped;
        mWidth = other.mWidth;
        mHeight = other.mHeight;
    }
    return *this;
}

bool Picture::Valid() const { return mSurface && cairo_surface_status(mSurface.get()) == CAIRO_STATUS_SUCCESS; }

void Picture::Finish() {
    // A surface that somebody still references (a PDF page not yet written) must not
    // read the caller's pixels after they are gone: finishing detaches it now.
    // When nobody else holds it, letting it go finishes it anyway.
    if (mSurface && mWrapped && cairo_surface_get_reference_count(mSurface.get()) > 1)
        cairo_surface_finish(mSurface.get());
    mSurface.reset();
}

}  // namespace vx::gfx
