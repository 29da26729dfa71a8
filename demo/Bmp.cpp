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

} // namespace

std::size_t BmpRowSize(int width)
{
    return (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
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
    // File header.
    out.push_back('B');
    out.push_back('M');
    PutU32(out, static_cast<std::uint32_t>(fileSize));
    PutU32(out, 0);                    // two reserved words
    PutU32(out, kBmpHeaderSize);       // offset of the pixel rows
    // Info header.
    PutU32(out, 40);
    PutU32(out, static_cast<std::uint32_t>(width));
    PutU32(out, static_cast<std::uint32_t>(height)); // positive: rows bottom-up
    PutU16(out, 1);                    // planes
    PutU16(out, 24);                   // bits per pixel
    PutU32(out, 0);                    // no compression
    PutU32(out, static_cast<std::uint32_t>(imageSize));
    PutU32(out, 2835);                 // 72 dots per inch, in pixels per metre
    PutU32(out, 2835);
    PutU32(out, 0);                    // colours used
    PutU32(out, 0);                    // important colours

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
