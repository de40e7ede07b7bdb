#include <gtest/gtest.h>

#include "diagram/ui/place_beside.h"

namespace diagram::ui {

namespace {

// A 1000 x 700 screen whose top-left corner is (100, 50), as a second screen
// or one under a panel has it.
const QRect kScreen(100, 50, 1000, 700);

TEST(PlaceBeside, RightThenLeftThenAsFarOutAsTheScreenAllows) {
    struct Case {
        const char* what;
        QRect owner;
        QSize size;
        QPoint expected;
    };
    const Case cases[] = {
        {"room on the right", {100, 50, 400, 300}, {500, 400}, {500, 50}},
        {"just room on the right", {100, 80, 500, 300}, {500, 400}, {600, 80}},
        {"room only on the left", {650, 60, 400, 300}, {500, 400}, {150, 60}},
        {"no room: the roomier right, at the screen's edge", {200, 50, 500, 300}, {500, 400}, {600, 50}},
        {"no room: the roomier left, at the screen's edge", {500, 50, 500, 300}, {500, 400}, {100, 50}},
        {"too low: lifted onto the screen", {100, 600, 400, 100}, {500, 400}, {500, 350}},
        {"owner above the screen: top on the screen", {100, -200, 400, 100}, {500, 400}, {500, 50}},
        {"larger than the screen: its corner on it", {300, 100, 400, 300}, {1200, 900}, {100, 50}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlaceBeside(c.owner, c.size, kScreen), c.expected) << c.what;
        const QRect placed(PlaceBeside(c.owner, c.size, kScreen), c.size);
        if (c.size.width() <= kScreen.width() && c.size.height() <= kScreen.height()) {
            EXPECT_TRUE(kScreen.contains(placed)) << c.what;
        }
    }
}

}  // namespace

}  // namespace diagram::ui
