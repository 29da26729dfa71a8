// The demo unit pictures in Unit/: two frames side by side, the unit on the left, a second frame on the right.

#include <cstdio>
#include <string>

#include "demo/Bmp.h"
#include "demo/DemoGameFolder.h"
#include "demo/DemoPlan.h"

namespace corvane::demo {
namespace {

struct PictureSize {
    int width, height;
};

PictureSize SizeOf(Shape shape)
{
    switch (shape) {
    case Shape::Ship: return {80, 28};
    case Shape::Carrier: return {300, 76};  // left half wider and taller than the preview frame
    case Shape::Soldier: return {55, 27};   // odd width: the last column belongs to neither frame
    case Shape::Missile: return {56, 20};
    default: return {56, 28};
    }
}

// Whether point (x, y), both on a 0..999 scale of one frame, lies on the unit's silhouette.
bool Inside(Shape shape, int x, int y)
{
    auto box = [&](int x0, int x1, int y0, int y1) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
    auto disc = [&](int cx, int cy, int r) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) < r * r; };
    auto dy = [&](int cy) { return y > cy ? y - cy : cy - y; };
    switch (shape) {
    case Shape::Aircraft:
        return box(100, 880, 440, 560)                                            // fuselage
            || (x >= 880 && x < 980 && dy(500) * 100 < (980 - x) * 60)            // nose
            || (x >= 380 && x < 600 && dy(500) < 420 - (x - 380))                 // wings
            || box(100, 220, 320, 680);                                           // tailplane
    case Shape::Helicopter:
        return disc(520, 600, 190) || box(120, 520, 560, 620) || box(80, 140, 480, 640)
            || box(150, 900, 280, 320) || box(500, 540, 300, 420) || box(380, 700, 800, 830);
    case Shape::Tank:
        return box(100, 900, 520, 740) || box(320, 640, 360, 520) || box(640, 960, 410, 460)
            || box(120, 880, 740, 860);
    case Shape::Truck:
        return box(100, 640, 340, 720) || box(640, 880, 460, 720) || disc(250, 780, 90)
            || disc(500, 780, 90) || disc(760, 780, 90);
    case Shape::Soldier:
        return disc(500, 190, 110) || box(420, 580, 300, 640) || box(420, 480, 640, 950)
            || box(520, 580, 640, 950) || box(580, 900, 380, 420) || box(330, 420, 320, 560);
    case Shape::Ship:
        return (y >= 560 && y < 760 && x >= 40 + (y - 560) / 2 && x < 960 - (y - 560))
            || box(380, 620, 380, 560) || box(480, 500, 160, 380) || box(700, 760, 460, 560);
    case Shape::Carrier:
        return box(30, 970, 440, 500) || (y >= 500 && y < 720 && x >= 80 + (y - 500) / 3 && x < 940 - (y - 500) / 2)
            || box(640, 740, 300, 440) || box(680, 700, 160, 300);
    case Shape::Submarine:
        return (x - 500) * (x - 500) * 64 + (y - 620) * (y - 620) * 900 < 450 * 450 * 64 // hull, 900 by 240
            || box(400, 520, 420, 560) || box(450, 470, 320, 420);
    case Shape::Building:
        return box(200, 800, 460, 880) || box(260, 420, 300, 460) || box(600, 620, 120, 460)
            || disc(610, 140, 90);
    case Shape::Crate:
        return (box(220, 780, 340, 880) && !box(260, 740, 380, 840)) || box(480, 520, 340, 880)
            || box(220, 780, 590, 630);
    case Shape::Missile:
        return box(100, 840, 450, 550) || (x >= 840 && x < 960 && dy(500) * 120 < (960 - x) * 50)
            || (x >= 100 && x < 260 && dy(500) < 200 - (x - 100)) || (x >= 480 && x < 560 && dy(500) < 110);
    }
    return false;
}

BmpColor Body(Family family, int c)
{
    const auto shade = [c](int base) { return static_cast<std::uint8_t>(base + (c * 37) % 50); };
    switch (family) {
    case Family::Air: return {shade(90), shade(100), shade(110)};
    case Family::Heli: return {shade(70), shade(90), shade(60)};
    case Family::Tracked:
    case Family::Wheeled:
    case Family::Amphibious: return {shade(60), shade(80), shade(40)};
    case Family::Infantry: return {shade(40), shade(60), shade(30)};
    case Family::Ship:
    case Family::Submarine: return {shade(110), shade(115), shade(125)};
    case Family::Installation: return {shade(120), shade(100), shade(70)};
    case Family::Supply: return {shade(150), shade(110), shade(50)};
    case Family::Missile: return {shade(190), shade(190), shade(190)};
    }
    return {};
}

BmpColor Background(Family family)
{
    switch (family) {
    case Family::Air:
    case Family::Heli:
    case Family::Missile: return {150, 190, 230};
    case Family::Ship:
    case Family::Submarine: return {30, 60, 120};
    default: return {120, 150, 90};
    }
}

std::uint8_t Lighter(std::uint8_t v) { return static_cast<std::uint8_t>(v + (255 - v) / 3); }

// Two frames: the unit, and the same unit moved a little to the right with lighter paint. The "s"
// variant is painted in desert colours on a dark ground with white bands at top and bottom.
std::vector<std::uint8_t> DrawUnit(Shape shape, BmpColor body, BmpColor ground, bool alternative)
{
    const PictureSize size = SizeOf(shape);
    const int half = size.width / 2;
    if (alternative) {
        body = {210, 180, 120};
        ground = {static_cast<std::uint8_t>(ground.r / 3), static_cast<std::uint8_t>(ground.g / 3),
                  static_cast<std::uint8_t>(ground.b / 3)};
    }
    return MakeBmp(size.width, size.height, [&](int x, int y) -> BmpColor {
        if (alternative && (y < 2 || y >= size.height - 2))
            return {255, 255, 255};
        if (x >= 2 * half)
            return {0, 0, 0}; // the odd column left over beside the two frames
        const bool second = x >= half;
        const int fx = ((second ? x - half : x) * 2 + 1) * 500 / half - (second ? 30 : 0);
        const int fy = (y * 2 + 1) * 500 / size.height;
        if (!Inside(shape, fx, fy))
            return ground;
        return second ? BmpColor{Lighter(body.r), Lighter(body.g), Lighter(body.b)} : body;
    });
}

std::string PictureName(int graphicNumber, bool alternative)
{
    char name[32];
    std::snprintf(name, sizeof name, alternative ? "Unit%03ds.bmp" : "Unit%03d.bmp", graphicNumber);
    return name;
}

Shape ShapeOf(int c)
{
    const CategoryPlan& cat = kCategoryPlans[static_cast<std::size_t>(c)];
    if (cat.carrierClass == 4)
        return Shape::Carrier;
    return PlanOf(cat.family).shape;
}

} // namespace

std::map<std::string, std::vector<std::uint8_t>> MakeDemoPictures()
{
    std::map<std::string, std::vector<std::uint8_t>> pictures;
    for (int c = 0; c < kCategoryCount; ++c) {
        const Family family = kCategoryPlans[static_cast<std::size_t>(c)].family;
        const int number = CategoryGraphicNumber(c);
        // Every graphic number a unit uses has its picture: the demo folder passes the table check.
        pictures[PictureName(number, false)] = DrawUnit(ShapeOf(c), Body(family, c), Background(family), false);
        if (CategoryHasAltPicture(c))
            pictures[PictureName(number, true)] = DrawUnit(ShapeOf(c), Body(family, c), Background(family), true);
    }
    // A four-digit picture number, for the last cruise missile: painted red.
    pictures[PictureName(kFourDigitGraphicNumber, false)] =
        DrawUnit(Shape::Missile, {200, 40, 40}, Background(Family::Missile), false);
    return pictures;
}

} // namespace corvane::demo
