#pragma once
// Uncompressed 24-bit Windows bitmap files, built in memory.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

struct BmpColor {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const BmpColor&, const BmpColor&) = default;
};

// Size of the file and info headers in front of the pixel rows.
inline constexpr std::size_t kBmpHeaderSize = 54;

// Bytes of one stored pixel row: three per pixel, padded to a multiple of four.
std::size_t BmpRowSize(int width);

// A complete .bmp file of width x height pixels. pixel(x, y) gives the colour of column x of row y,
// row 0 being the top row of the picture. Rows are stored bottom-up, as the format wants.
// Throws std::invalid_argument when width or height is not positive or the file would pass 64 MiB.
std::vector<std::uint8_t> MakeBmp(int width, int height, const std::function<BmpColor(int x, int y)>& pixel);

// The same from a list of width * height colours, row by row from the top row.
// Throws std::invalid_argument when the list does not hold exactly width * height colours.
std::vector<std::uint8_t> MakeBmp(int width, int height, std::span<const BmpColor> topDownPixels);
