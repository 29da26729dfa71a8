#pragma once
// What the headers of a bitmap file (.bmp) say about its pixels, read without decoding them: the
// unit picture reads them before it decodes anything, and the table check reads only them.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

struct BitmapLayout {
    int width = 0;
    int height = 0;                // rows, whatever their order
    int bitsPerPixel = 0;
    int planes = 1;
    std::uint32_t compression = 0;
    bool runLength = false;        // RLE8 (8 bits) or RLE4 (4 bits)
    std::size_t paletteAt = 0;     // colour table: 4 bytes a colour (3 with the oldest header)
    int paletteSize = 0;
    int paletteEntryBytes = 4;
    std::size_t pixelsAt = 0;      // where the stored rows or the run-length stream begin
    std::size_t rowBytes = 0;      // bytes of one stored row, uncompressed
};

// Pictures larger than this on either side are refused unread.
inline constexpr int kMaxPictureSide = 4096;
// Files larger than the largest such picture (32 bits a pixel) with its headers are refused unread.
inline constexpr std::uint64_t kMaxPictureFileBytes = std::uint64_t(kMaxPictureSide) * kMaxPictureSide * 4 + 2048;
// The most of a file the headers can take: the file header and the largest info header accepted.
inline constexpr std::size_t kBitmapHeadBytes = 14 + 1024;

// The layout from the first bytes of a file (at least the file and info headers, or the whole file
// when it is shorter) and the file's size; nothing when the headers are no bitmap's or point past
// the file's end.
std::optional<BitmapLayout> ReadBitmapLayout(std::span<const std::uint8_t> head, std::uint64_t fileSize);

// Whether the unit picture decodes a file of this layout and size: sides within the limit, a pixel
// format and compression the decoder knows, and every byte uncompressed rows need present. (Whether a
// run-length stream is whole shows only when it is decoded.)
bool IsShowableBitmap(const BitmapLayout& layout, std::uint64_t fileSize);

// The headers of the file at path, read and judged as above (one open and one read of at most
// kBitmapHeadBytes); false for a missing file, a folder, or one that cannot be read.
bool HasShowableBitmapHeader(const std::filesystem::path& file);
