#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "demo/Bmp.h"

namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

TEST(Bmp, HeaderDescribesAnUncompressed24BitPicture)
{
    const auto bmp = MakeBmp(3, 2, [](int, int) { return BmpColor{1, 2, 3}; });
    // 3 pixels * 3 bytes = 9, padded to 12 per row.
    ASSERT_EQ(bmp.size(), 54u + 2 * 12);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(U32(bmp, 2), bmp.size());
    EXPECT_EQ(U32(bmp, 6), 0u);
    EXPECT_EQ(U32(bmp, 10), 54u);
    EXPECT_EQ(U32(bmp, 14), 40u);
    EXPECT_EQ(U32(bmp, 18), 3u);
    EXPECT_EQ(U32(bmp, 22), 2u);  // positive height: bottom-up rows
    EXPECT_EQ(U16(bmp, 26), 1u);
    EXPECT_EQ(U16(bmp, 28), 24u);
    EXPECT_EQ(U32(bmp, 30), 0u);
    EXPECT_EQ(U32(bmp, 34), 24u);
    EXPECT_EQ(BmpRowSize(3), 12u);
    EXPECT_EQ(BmpRowSize(4), 12u);
    EXPECT_EQ(BmpRowSize(1), 4u);
}

TEST(Bmp, RowsAreStoredBottomUpInBlueGreenRedOrderWithZeroPadding)
{
    // Top row red then green, bottom row blue then white.
    const std::vector<BmpColor> pixels = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    const auto bmp = MakeBmp(2, 2, pixels);
    ASSERT_EQ(bmp.size(), 54u + 2 * 8);
    const std::vector<std::uint8_t> bottom(bmp.begin() + 54, bmp.begin() + 62);
    const std::vector<std::uint8_t> top(bmp.begin() + 62, bmp.end());
    EXPECT_EQ(bottom, (std::vector<std::uint8_t>{255, 0, 0, 255, 255, 255, 0, 0}));
    EXPECT_EQ(top, (std::vector<std::uint8_t>{0, 0, 255, 0, 255, 0, 0, 0}));
}

TEST(Bmp, ColourListAndPixelFunctionGiveTheSameFile)
{
    std::vector<BmpColor> pixels;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            pixels.push_back({static_cast<std::uint8_t>(x * 40), static_cast<std::uint8_t>(y * 80), 7});
    const auto fromList = MakeBmp(5, 3, pixels);
    const auto fromFunction = MakeBmp(5, 3, [](int x, int y) {
        return BmpColor{static_cast<std::uint8_t>(x * 40), static_cast<std::uint8_t>(y * 80), 7};
    });
    EXPECT_EQ(fromList, fromFunction);
}

TEST(Bmp, RejectsEmptyOrMismatchedPictures)
{
    const auto black = [](int, int) { return BmpColor{}; };
    EXPECT_THROW(MakeBmp(0, 4, black), std::invalid_argument);
    EXPECT_THROW(MakeBmp(4, -1, black), std::invalid_argument);
    EXPECT_THROW(MakeBmp(100000, 100000, black), std::invalid_argument);
    const std::vector<BmpColor> three(3);
    EXPECT_THROW(MakeBmp(2, 2, three), std::invalid_argument);
}

} // namespace
