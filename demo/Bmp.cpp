#include "demo/Bmp.h"

#include <stdexcept>

namespace {

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

constexpr std::size_t kMaxFileSize = 64u * 1024u * 1024u;

// File header, 40-byte info header and palette of a picture whose stored pixels take imageSize bytes.
void PutHeaders(std::vector<std::uint8_t>& out, int width, int height, int bitsPerPixel, int compression,
                std::size_t imageSize, std::span<const BmpColor> palette)
{
    const std::size_t pixelsAt = kBmpHeaderSize + 4 * palette.size();
    // File header.
    out.push_back('B');
    out.push_back('M');
    PutU32(out, static_cast<std::uint32_t>(pixelsAt + imageSize));
    PutU32(out, 0);                    // two reserved words
    PutU32(out, static_cast<std::uint32_t>(pixelsAt));
    // Info header.
    PutU32(out, 40);
    PutU32(out, static_cast<std::uint32_t>(width));
    PutU32(out, static_cast<std::uint32_t>(height)); // positive: rows bottom-up
    PutU16(out, 1);                    // planes
    PutU16(out, static_cast<std::uint32_t>(bitsPerPixel));
    PutU32(out, static_cast<std::uint32_t>(compression));
    PutU32(out, static_cast<std::uint32_t>(imageSize));
    PutU32(out, 2835);                 // 72 dots per inch, in pixels per metre
    PutU32(out, 2835);
    PutU32(out, static_cast<std::uint32_t>(palette.size()));  // colours used
    PutU32(out, 0);                    // important colours
    for (const BmpColor& c : palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
}

// One row of palette positions as RLE8 (one byte per pixel) or RLE4 (two pixels per byte) runs.
void PutRunLengthRow(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& row, int bitsPerPixel)
{
    std::size_t x = 0;
    while (x < row.size()) {
        std::size_t run = 1;
        while (x + run < row.size() && run < 255 && row[x + run] == row[x])
            ++run;
        out.push_back(static_cast<std::uint8_t>(run));
        out.push_back(bitsPerPixel == 8 ? row[x] : static_cast<std::uint8_t>(row[x] << 4 | row[x]));
        x += run;
    }
}

} // namespace

std::size_t BmpRowSize(int width)
{
    return BmpRowSize(width, 24);
}

std::size_t BmpRowSize(int width, int bitsPerPixel)
{
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) + 31) / 32 * 4;
}

std::vector<std::uint8_t> MakeBmp(int width, int height, const std::function<BmpColor(int x, int y)>& pixel)
{
    if (width <= 0 || height <= 0)
        throw std::invalid_argument("a bitmap needs a positive width and height");
    const std::size_t rowSize = BmpRowSize(width);
    if (rowSize > kMaxFileSize / static_cast<std::size_t>(height))
        throw std::invalid_argument("bitmap too large");
    const std::size_t imageSize = rowSize * static_cast<std::size_t>(height);
    const std::size_t fileSize = kBmpHeaderSize + imageSize;

    std::vector<std::uint8_t> out;
    out.reserve(fileSize);
    PutHeaders(out, width, height, 24, 0, imageSize, {});
    for (int row = height - 1; row >= 0; --row) {
        for (int x = 0; x < width; ++x) {
            const BmpColor c = pixel(x, row);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        for (std::size_t pad = static_cast<std::size_t>(width) * 3; pad < rowSize; ++pad)
            out.push_back(0);
    }
    return out;
}

std::vector<std::uint8_t> MakeBmp(int width, int height, std::span<const BmpColor> topDownPixels)
{
    if (width <= 0 || height <= 0)
        throw std::invalid_argument("a bitmap needs a positive width and height");
    if (topDownPixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        throw std::invalid_argument("the colour list does not match the bitmap size");
    return MakeBmp(width, height, [&](int x, int y) {
        return topDownPixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    });
}

std::vector<std::uint8_t> MakeBmpFromStoredPixels(int width, int height, int bitsPerPixel, int compression,
                                                  std::span<const BmpColor> palette,
                                                  std::span<const std::uint8_t> storedPixels)
{
    std::vector<std::uint8_t> out;
    out.reserve(kBmpHeaderSize + 4 * palette.size() + storedPixels.size());
    PutHeaders(out, width, height, bitsPerPixel, compression, storedPixels.size(), palette);
    out.insert(out.end(), storedPixels.begin(), storedPixels.end());
    return out;
}

std::vector<std::uint8_t> MakeIndexedBmp(int width, int height, int bitsPerPixel, std::span<const BmpColor> palette,
                                         const std::function<std::uint8_t(int x, int y)>& index, BmpCoding coding)
{
    if (width <= 0 || height <= 0)
        throw std::invalid_argument("a bitmap needs a positive width and height");
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8)
        throw std::invalid_argument("an indexed bitmap has 1, 4 or 8 bits per pixel");
    if (palette.size() > (std::size_t{1} << bitsPerPixel))
        throw std::invalid_argument("too many colours for the bits per pixel");
    if (coding == BmpCoding::RunLength && bitsPerPixel == 1)
        throw std::invalid_argument("run-length coding needs 4 or 8 bits per pixel");
    const std::size_t rowSize = BmpRowSize(width, bitsPerPixel);
    if (rowSize > kMaxFileSize / static_cast<std::size_t>(height))
        throw std::invalid_argument("bitmap too large");

    const unsigned mask = (1u << bitsPerPixel) - 1;
    std::vector<std::uint8_t> stored;
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width));
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x)
            row[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(index(x, y) & mask);
        if (coding == BmpCoding::RunLength) {
            PutRunLengthRow(stored, row, bitsPerPixel);
            stored.push_back(0);  // end of line, or of bitmap after the top row
            stored.push_back(y == 0 ? 1 : 0);
            continue;
        }
        std::vector<std::uint8_t> packed(rowSize, 0);
        for (int x = 0; x < width; ++x) {
            const std::size_t bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(bitsPerPixel);
            packed[bit / 8] |= static_cast<std::uint8_t>(row[static_cast<std::size_t>(x)] << (8 - bitsPerPixel - bit % 8));
        }
        stored.insert(stored.end(), packed.begin(), packed.end());
    }
    const int compression = coding == BmpCoding::Plain ? 0 : bitsPerPixel == 8 ? 1 : 2;
    return MakeBmpFromStoredPixels(width, height, bitsPerPixel, compression, palette, stored);
}
