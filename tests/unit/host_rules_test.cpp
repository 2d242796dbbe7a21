// The host dialog's arithmetic: which system commands open the About box, and
// where a minimised host draws its icon.
#include <gtest/gtest.h>

#include "app/host_rules.h"

namespace {

TEST(AboutCommand, LowFourBitsAreIgnored) {
    for (unsigned int id = 0x0010; id <= 0x001F; ++id) {
        EXPECT_TRUE(qz::IsAboutCommand(id)) << std::hex << id;
    }
}

TEST(AboutCommand, StandardCommandsDoNotOpenIt) {
    const unsigned int others[] = {
        0xF060,  // SC_CLOSE
        0xF020,  // SC_MINIMIZE
        0xF030,  // SC_MAXIMIZE
        0xF120,  // SC_RESTORE
        0xF010,  // SC_MOVE
        0xF000,  // SC_SIZE
        0xF100,  // SC_KEYMENU
        0x0000,  // below the About item
        0x0020,  // the next item up
        0x0110,  // the About id with a higher bit set
    };
    for (unsigned int id : others) {
        EXPECT_FALSE(qz::IsAboutCommand(id)) << std::hex << id;
    }
}

TEST(MinimisedIcon, IsCentredInTheClientArea) {
    struct Case {
        int width, height, icon_width, icon_height, x, y;
    };
    const Case cases[] = {
        {36, 36, 32, 32, 2, 2},     // (36 - 32 + 1) / 2 = 2
        {30, 30, 32, 32, 0, 0},     // (30 - 32 + 1) / 2 = -1 / 2, truncated toward zero
        {160, 24, 32, 32, 64, -3},  // (24 - 32 + 1) / 2 = -7 / 2 = -3
        {0, 0, 32, 32, -15, -15},   // (0 - 32 + 1) / 2 = -31 / 2 = -15
        {33, 33, 32, 32, 1, 1},     // odd remainder rounds up
    };
    for (const Case& c : cases) {
        const qz::IconOrigin origin =
            qz::CentreIcon(c.width, c.height, c.icon_width, c.icon_height);
        EXPECT_EQ(origin.x, c.x) << c.width << "x" << c.height;
        EXPECT_EQ(origin.y, c.y) << c.width << "x" << c.height;
    }
}

}  // namespace
