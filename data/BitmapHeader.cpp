#include "data/BitmapHeader.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <system_error>

#include "data/ByteOrder.h"
#include "data/FileIo.h"

namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::uint32_t kCoreHeader = 12;  // the oldest info header: 16-bit sides, 3-byte colours
constexpr std::uint32_t kInfoHeader = 40;
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;

}  // namespace

std::optional<BitmapLayout> ReadBitmapLayout(std::span<const std::uint8_t> head, std::uint64_t fileSize)
{
    using corvane::ReadU16;
    using corvane::ReadU32;
    if (head.size() < kFileHeader + 4 || head[0] != 'B' || head[1] != 'M')
        return std::nullopt;
    const std::uint32_t pixelOffset = ReadU32(&head[10]);
    const std::uint32_t infoSize = ReadU32(&head[14]);
    if ((infoSize != kCoreHeader && infoSize < kInfoHeader) || infoSize > 1024 || head.size() < kFileHeader + infoSize)
        return std::nullopt;

    BitmapLayout layout;
    std::uint32_t coloursUsed = 0;
    if (infoSize == kCoreHeader) {
        layout.width = static_cast<std::int16_t>(ReadU16(&head[18]));
        layout.height = static_cast<std::int16_t>(ReadU16(&head[20]));
        layout.planes = ReadU16(&head[22]);
        layout.bitsPerPixel = ReadU16(&head[24]);
        layout.paletteEntryBytes = 3;
    } else {
        layout.width = static_cast<std::int32_t>(ReadU32(&head[18]));
        layout.height = static_cast<std::int32_t>(ReadU32(&head[22]));
        layout.planes = ReadU16(&head[26]);
        layout.bitsPerPixel = ReadU16(&head[28]);
        layout.compression = ReadU32(&head[30]);
        coloursUsed = ReadU32(&head[46]);
    }
    layout.runLength = (layout.compression == kRle8 && layout.bitsPerPixel == 8)
        || (layout.compression == kRle4 && layout.bitsPerPixel == 4);
    // Run-length pictures are stored bottom-up only.
    if (layout.runLength && layout.height < 0)
        return std::nullopt;
    layout.height = layout.height == std::numeric_limits<int>::min() ? 0 : std::abs(layout.height);
    if (layout.bitsPerPixel <= 0 || layout.bitsPerPixel > 32 || coloursUsed > 256)
        return std::nullopt;
    if (layout.bitsPerPixel <= 8)
        layout.paletteSize = coloursUsed != 0 ? int(coloursUsed) : 1 << layout.bitsPerPixel;
    layout.paletteAt = kFileHeader + infoSize;
    const std::size_t paletteEnd = layout.paletteAt + std::size_t(layout.paletteSize) * std::size_t(layout.paletteEntryBytes);
    // A decoder starts at the offset the file header gives, or right after the colours when that
    // offset points into the headers.
    layout.pixelsAt = std::max<std::size_t>(paletteEnd, pixelOffset);
    if (layout.pixelsAt > fileSize)
        return std::nullopt;
    layout.rowBytes = (std::size_t(std::max(layout.width, 0)) * std::size_t(layout.bitsPerPixel) + 31) / 32 * 4;
    return layout;
}

bool IsShowableBitmap(const BitmapLayout& layout, std::uint64_t fileSize)
{
    if (fileSize > kMaxPictureFileBytes || layout.width <= 0 || layout.height <= 0 || layout.width > kMaxPictureSide
        || layout.height > kMaxPictureSide)
        return false;
    const int bits = layout.bitsPerPixel;
    if (layout.planes != 1)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    const bool knownCompression = layout.compression == kRgb || layout.runLength
        || (layout.compression == kBitFields && (bits == 16 || bits == 32));
    if (!knownCompression)
        return false;
    return layout.runLength || fileSize - layout.pixelsAt >= std::uint64_t(layout.rowBytes) * std::uint64_t(layout.height);
}

bool HasShowableBitmapHeader(const std::filesystem::path& file)
{
    std::array<std::uint8_t, kBitmapHeadBytes> head{};
    const corvane::ReadResult read = corvane::ReadPrefix(file, head);
    if (!read.opened || read.err != 0)
        return false;
    std::uint64_t size = read.count;
    if (read.count == head.size()) {
        std::error_code ec;
        size = std::filesystem::file_size(file, ec);
        if (ec)
            return false;
    }
    const auto layout = ReadBitmapLayout(std::span(head.data(), read.count), size);
    return layout && IsShowableBitmap(*layout, size);
}
