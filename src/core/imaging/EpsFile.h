#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace vx {

/// An EPS file as the EPS readers see it: the PostScript (the section a DOS EPS header
/// names, else the whole file), read forward from a position with a buffer of its own.
/// Lines end the way the PostScript's first line ends (CR, LF or CR LF).
class EpsFile {
public:
    /// The 30-byte DOS EPS header (magic C5 D0 D3 C6, then the offset and length of the
    /// PostScript, the metafile and the TIFF preview, 32 bits little-endian each, and a
    /// 16-bit checksum).
    struct DosHeader {
        static constexpr uint64_t kBytes = 30;
        uint64_t postScriptOffset = 0;
        uint64_t postScriptLength = 0;
        uint64_t tiffOffset = 0;  // 0 and 0 when there is no preview
        uint64_t tiffLength = 0;
    };

    EpsFile() = default;
    ~EpsFile();
    EpsFile(const EpsFile&) = delete;
    EpsFile& operator=(const EpsFile&) = delete;

    /// False when the file cannot be opened, or has a DOS header that is cut or names a
    /// section (of a length other than 0) reaching into the header or past the end of
    /// the file, or no PostScript. The position is then the start of the PostScript.
    bool Open(const std::filesystem::path& path);

    const std::optional<DosHeader>& Dos() const { return mDos; }
    uint64_t Position() const { return mPosition; }
    /// Bytes from the position to the end of the PostScript.
    uint64_t Remaining() const { return mEnd - mPosition; }
    /// Back to the start of the PostScript.
    void Rewind() { mPosition = mPostScriptStart; }

    /// Searches forward from the position; on a hit the position is just after the
    /// keyword. With `number`, the decimal digits before the end of that line make the
    /// number (other characters are skipped; false when it exceeds 32 bits), and reading
    /// goes on past `lines` line ends (or to the end of the PostScript).
    bool FindKeyword(std::string_view keyword, uint64_t* number = nullptr, int lines = 0);

    /// Reads n bytes from the position; false (position unknown) when fewer are left.
    bool Read(uint8_t* out, size_t n);
    bool Skip(uint64_t n);
    /// n bytes at an offset of the file (also outside the PostScript), leaving the
    /// position alone.
    bool ReadAt(uint64_t offset, uint8_t* out, size_t n) const;
    /// Decodes hexadecimal text from the position into `count` bytes, two digits a byte,
    /// high digit first, either case; white space and '%' (the comment mark of
    /// "%BeginPhotoshop:" lines) are skipped. False at any other character or the end of
    /// the PostScript before `count` bytes.
    bool ReadHex(uint8_t* out, size_t count);
    /// The hexadecimal block behind a keyword whose line gives its byte count; false
    /// without the keyword, or when the count cannot fit the rest of the file.
    bool ReadHexBlock(std::string_view keyword, std::vector<uint8_t>& out);

private:
    /// Makes the buffer hold the position; false at the end of the PostScript.
    bool Fill();
    int Get();

    int mFd = -1;
    uint64_t mSize = 0;  // of the file
    uint64_t mPostScriptStart = 0;
    uint64_t mEnd = 0;  // of the PostScript
    uint64_t mPosition = 0;
    std::optional<DosHeader> mDos;
    uint8_t mLineEnd = '\n';  // the last byte of a line end
    std::vector<uint8_t> mBuffer;
    uint64_t mBufferStart = 0;
    size_t mBufferLength = 0;
};

}  // namespace vx
