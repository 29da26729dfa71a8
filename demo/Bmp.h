#pragma once
// Windows bitmap files, built in memory: uncompressed 24-bit pictures, and pictures of 1, 4 or 8 bits
// per pixel with a palette, uncompressed or run-length coded.

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

// How the pixels of an indexed bitmap are stored.
enum class BmpCoding { Plain, RunLength };

// Bytes of one stored row of an uncompressed picture of the given bits per pixel, padded to four.
std::size_t BmpRowSize(int width, int bitsPerPixel);

// A complete .bmp file with a palette. bitsPerPixel is 1, 4 or 8; index(x, y) gives the palette
// position of column x of row y, row 0 being the top row. RunLength codes 8-bit pictures as RLE8 and
// 4-bit pictures as RLE4: runs of one index, an end-of-line code after each row but the
// top one, and the end-of-bitmap code after that.
// Throws std::invalid_argument for a size that is not positive, an unknown number of bits, a palette
// of more than 2^bitsPerPixel colours, or RunLength with 1 bit per pixel.
std::vector<std::uint8_t> MakeIndexedBmp(int width, int height, int bitsPerPixel, std::span<const BmpColor> palette,
                                         const std::function<std::uint8_t(int x, int y)>& index,
                                         BmpCoding coding = BmpCoding::Plain);

// A .bmp file around pixel bytes given as they are stored (rows bottom-up, or a run-length stream):
// file and info headers, the palette, then the bytes. compression is 0 (none), 1 (RLE8) or 2 (RLE4).
std::vector<std::uint8_t> MakeBmpFromStoredPixels(int width, int height, int bitsPerPixel, int compression,
                                                  std::span<const BmpColor> palette,
                                                  std::span<const std::uint8_t> storedPixels);
