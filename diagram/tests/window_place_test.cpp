#include "diagram/window_place.h"

#include <gtest/gtest.h>

namespace diagram {

namespace {

// A 1000 x 700 screen whose top-left corner is (100, 50), as a second screen
// or one under a panel has it.
constexpr ScreenRect kScreen{100, 50, 1000, 700};

bool Contains(const ScreenRect& outer, const ScreenRect& inner) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.right() <= outer.right() &&
           inner.bottom() <= outer.bottom();
}

TEST(PlaceBeside, RightLeftBelowAboveThenAsFarOutAsTheScreenAllows) {
    struct Case {
        const char* what;
        ScreenRect owner;
        int width;
        int height;
        ScreenRect expected;
    };
    const Case cases[] = {
        {"room on the right", {100, 50, 400, 300}, 500, 400, {500, 50, 500, 400}},
        {"just room on the right", {100, 80, 500, 300}, 500, 400, {600, 80, 500, 400}},
        {"room only on the left", {650, 60, 400, 300}, 500, 400, {150, 60, 500, 400}},
        {"wide owner, room below", {150, 60, 800, 300}, 500, 300, {150, 360, 500, 300}},
        {"wide owner low on the screen, room above", {150, 420, 800, 300}, 500, 300, {150, 120, 500, 300}},
        {"no room: the roomier right, at the screen's edge",
         {200, 50, 500, 600},
         500,
         400,
         {600, 50, 500, 400}},
        {"no room: the roomier left, at the screen's edge",
         {500, 50, 500, 600},
         500,
         400,
         {100, 50, 500, 400}},
        {"too low: lifted onto the screen", {100, 600, 400, 100}, 500, 400, {500, 350, 500, 400}},
        {"owner above the screen: top on the screen", {100, -200, 400, 100}, 500, 400, {500, 50, 500, 400}},
        {"owner on another screen: brought onto this one",
         {-900, 100, 400, 300},
         300,
         200,
         {100, 100, 300, 200}},
        {"taller than the screen: as tall as the screen", {100, 50, 300, 300}, 400, 900, {400, 50, 400, 700}},
        {"larger than the screen: the whole screen", {300, 100, 400, 300}, 1200, 900, {100, 50, 1000, 700}},
    };
    for (const Case& c : cases) {
        const ScreenRect placed = PlaceBeside(c.owner, c.width, c.height, kScreen);
        EXPECT_EQ(placed, c.expected) << c.what;
        EXPECT_TRUE(Contains(kScreen, placed)) << c.what;
    }
}

TEST(KeepOnScreen, MovesByAsLittleAsItTakesAndShrinksWhatIsTooLarge) {
    struct Case {
        const char* what;
        ScreenRect frame;
        ScreenRect expected;
    };
    const Case cases[] = {
        {"on the screen: unchanged", {200, 100, 500, 400}, {200, 100, 500, 400}},
        {"past the bottom: lifted", {200, 500, 500, 400}, {200, 350, 500, 400}},
        {"past the right: pulled left", {900, 100, 500, 400}, {600, 100, 500, 400}},
        {"above and left of it: pushed in", {-50, -20, 500, 400}, {100, 50, 500, 400}},
        {"twice the screen: the screen", {0, 0, 2000, 1400}, {100, 50, 1000, 700}},
        {"too tall only: kept across, as tall as the screen", {300, 400, 300, 1000}, {300, 50, 300, 700}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeepOnScreen(c.frame, kScreen), c.expected) << c.what;
    }
}

}  // namespace

}  // namespace diagram
