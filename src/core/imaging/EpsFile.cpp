#include "imaging/EpsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace vx {
namespace {

constexpr size_t kBufferBytes = 64 * 1024;
constexpr uint64_t kDosHeaderBytes = EpsFile::DosHeader::kBytes;

uint32_t LittleEndian32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool PreadAll(int fd, uint64_t offset, uint8_t* out, size_t n) {
    while (n > 0) {
        const ssize_t got = ::pread(fd, out, std::min<size_t>(n, 1u << 30), off_t(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        out += got;
        offset += uint64_t(got);
        n -= size_t(got);
    }
    return true;
}

// Hex digit values; kSkip for white space and '%', kStop for anything else.
constexpr uint8_t kSkip = 16;
constexpr uint8_t kStop = 17;
constexpr std::array<uint8_t, 256> kHexTable = [] {
    std::array<uint8_t, 256> t{};
    t.fill(kStop);
    for (int c = '0'; c <= '9'; ++c) t[size_t(c)] = uint8_t(c - '0');
    for (int c = 'a'; c <= 'f'; ++c) t[size_t(c)] = uint8_t(c - 'a' + 10);
    for (int c = 'A'; c <= 'F'; ++c) t[size_t(c)] = uint8_t(c - 'A' + 10);
    for (char c : {' ', '\t', '\r', '\n', '\f', '\v', '%'}) t[size_t(uint8_t(c))] = kSkip;
    return t;
}();

#if defined(__SSE2__)
/// Sixteen hex digits at `in` as eight bytes at `out`; false, nothing written, when any
/// of them is no digit.
bool DecodeSixteenDigits(const uint8_t* in, uint8_t* out) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    const __m128i digit = _mm_sub_epi8(v, _mm_set1_epi8('0'));
    const __m128i isDigit = _mm_cmpeq_epi8(_mm_min_epu8(digit, _mm_set1_epi8(9)), digit);
    const __m128i letter = _mm_sub_epi8(_mm_or_si128(v, _mm_set1_epi8(0x20)), _mm_set1_epi8('a'));
    const __m128i isLetter = _mm_cmpeq_epi8(_mm_min_epu8(letter, _mm_set1_epi8(5)), letter);
    if (_mm_movemask_epi8(_mm_or_si128(isDigit, isLetter)) != 0xFFFF) return false;
    const __m128i value = _mm_or_si128(_mm_and_si128(isDigit, digit),
                                       _mm_and_si128(isLetter, _mm_add_epi8(letter, _mm_set1_epi8(10))));
    // Each 16-bit lane holds the high digit in its low byte and the low digit above it.
    const __m128i pairs = _mm_or_si128(_mm_slli_epi16(_mm_and_si128(value, _mm_set1_epi16(0x00FF)), 4),
                                       _mm_srli_epi16(value, 8));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(pairs, pairs));
    return true;
}
#endif

}  // namespace

EpsFile::~EpsFile() {
    if (mFd >= 0) ::close(mFd);
}

bool EpsFile::Open(const std::filesystem::path& path) {
    mFd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (mFd < 0 || ::fstat(mFd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    mSize = uint64_t(st.st_size);
    mEnd = mSize;
    mBuffer.resize(kBufferBytes);

    uint8_t head[kDosHeaderBytes];
    const bool dos = mSize >= 4 && ReadAt(0, head, 4) && head[0] == 0xC5 && head[1] == 0xD0 && head[2] == 0xD3 &&
                     head[3] == 0xC6;
    if (dos) {
        if (!ReadAt(0, head, sizeof head)) return false;
        // A section of length 0 is absent (its offset means nothing); any other must lie
        // behind the header and inside the file.
        auto fits = [this](uint64_t offset, uint64_t length) {
            return length == 0 || (offset >= kDosHeaderBytes && offset + length <= mSize);
        };
        DosHeader d;
        d.postScriptOffset = LittleEndian32(head + 4);
        d.postScriptLength = LittleEndian32(head + 8);
        const uint64_t metafileOffset = LittleEndian32(head + 12);
        const uint64_t metafileLength = LittleEndian32(head + 16);
        const uint64_t tiffOffset = LittleEndian32(head + 20);
        const uint64_t tiffLength = LittleEndian32(head + 24);
        if (d.postScriptLength == 0 || !fits(d.postScriptOffset, d.postScriptLength) ||
            !fits(metafileOffset, metafileLength) || !fits(tiffOffset, tiffLength))
            return false;
        if (tiffLength > 0) {
            d.tiffOffset = tiffOffset;
            d.tiffLength = tiffLength;
        }
        mDos = d;
        mPostScriptStart = d.postScriptOffset;
        mEnd = d.postScriptOffset + d.postScriptLength;
    }
    // The first line end of the PostScript sets the style; a CR LF pair counts by its LF.
    mPosition = mPostScriptStart;
    for (int c, i = 0; i < 1024 && (c = Get()) >= 0; ++i) {
        if (c == '\n') break;
        if (c == '\r') {
            mLineEnd = Get() == '\n' ? '\n' : '\r';
            break;
        }
    }
    Rewind();
    return true;
}

bool EpsFile::ReadAt(uint64_t offset, uint8_t* out, size_t n) const {
    return offset <= mSize && n <= mSize - offset && PreadAll(mFd, offset, out, n);
}

bool EpsFile::Fill() {
    if (mPosition >= mBufferStart && mPosition < mBufferStart + mBufferLength) return true;
    if (mPosition >= mEnd) return false;
    mBufferStart = mPosition;
    mBufferLength = size_t(std::min<uint64_t>(kBufferBytes, mEnd - mPosition));
    if (!PreadAll(mFd, mBufferStart, mBuffer.data(), mBufferLength)) {
        mBufferLength = 0;
        return false;
    }
    return true;
}

int EpsFile::Get() {
    if (!Fill()) return -1;
    return mBuffer[size_t(mPosition++ - mBufferStart)];
}

bool EpsFile::FindKeyword(std::string_view keyword, uint64_t* number, int lines) {
    if (keyword.empty()) return false;
    for (;;) {
        if (!Fill()) return false;
        const uint8_t* begin = mBuffer.data() + (mPosition - mBufferStart);
        const size_t length = mBufferLength - size_t(mPosition - mBufferStart);
        if (length < keyword.size()) {
            if (mBufferStart + mBufferLength >= mEnd) return false;
            mBufferLength = 0;  // refill from the position, so the keyword fits whole
            continue;
        }
        if (const void* hit = ::memmem(begin, length, keyword.data(), keyword.size())) {
            mPosition += uint64_t(static_cast<const uint8_t*>(hit) - begin) + keyword.size();
            break;
        }
        if (mBufferStart + mBufferLength >= mEnd) return false;
        // The next window overlaps this one, so a keyword across its end is found.
        mPosition += length - (keyword.size() - 1);
        mBufferLength = 0;
    }
    if (!number) return true;
    *number = 0;
    bool inNumber = true;
    for (int passed = 0; passed < lines;) {
        const int c = Get();
        if (c < 0) break;
        if (c == '\r' || c == '\n') inNumber = false;
        if (c == mLineEnd) ++passed;
        if (inNumber && c >= '0' && c <= '9') {
            *number = *number * 10 + uint64_t(c - '0');
            if (*number > UINT32_MAX) return false;
        }
    }
    return true;
}

bool EpsFile::Read(uint8_t* out, size_t n) {
    // What the buffer holds first, then straight from the file.
    if (Fill()) {
        const size_t inBuffer = std::min(n, mBufferLength - size_t(mPosition - mBufferStart));
        std::memcpy(out, mBuffer.data() + (mPosition - mBufferStart), inBuffer);
        mPosition += inBuffer;
        out += inBuffer;
        n -= inBuffer;
    }
    if (n == 0) return true;
    if (n > Remaining() || !ReadAt(mPosition, out, n)) return false;
    mPosition += n;
    return true;
}

bool EpsFile::Skip(uint64_t n) {
    if (n > Remaining()) return false;
    mPosition += n;
    return true;
}

bool EpsFile::ReadHex(uint8_t* out, size_t count) {
    uint8_t* const end = out + count;
    int high = -1;
    while (out < end) {
        if (!Fill()) return false;
        const uint8_t* p = mBuffer.data() + (mPosition - mBufferStart);
        const uint8_t* const stop = mBuffer.data() + mBufferLength;
        const uint8_t* q = p;
        while (q < stop && out < end) {
#if defined(__SSE2__)
            if (high < 0 && stop - q >= 16 && end - out >= 8 && DecodeSixteenDigits(q, out)) {
                q += 16;
                out += 8;
                continue;
            }
#endif
            // Two digits in a row, the usual case, make a byte at once.
            if (high < 0 && stop - q >= 2) {
                const uint8_t a = kHexTable[q[0]];
                const uint8_t b = kHexTable[q[1]];
                if ((a | b) < 16) {
                    *out++ = uint8_t(a << 4 | b);
                    q += 2;
                    continue;
                }
            }
            const uint8_t v = kHexTable[*q];
            if (v == kStop) {
                mPosition += uint64_t(q - p);
                return false;
            }
            ++q;
            if (v == kSkip) continue;
            if (high < 0) {
                high = v;
            } else {
                *out++ = uint8_t(high << 4 | v);
                high = -1;
            }
        }
        mPosition += uint64_t(q - p);
    }
    return true;
}

bool EpsFile::ReadHexBlock(std::string_view keyword, std::vector<uint8_t>& out) {
    uint64_t count = 0;
    // Two digits a byte at the least.
    if (!FindKeyword(keyword, &count, 1) || count == 0 || count > Remaining() / 2) return false;
    out.resize(size_t(count));
    return ReadHex(out.data(), out.size());
}

}  // namespace vx
