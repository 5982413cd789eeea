#include "platform/x11/XcbWindowList.h"

#include <gtest/gtest.h>

namespace {

TEST(XcbWindowListTest, WithoutAnXServerTheListIsEmptyAndRequestsFailQuietly) {
    const auto windows = XcbWindowList::forApplication(); // the view tests run offscreen
    EXPECT_FALSE(windows->connected());
    EXPECT_TRUE(windows->shownWindows().empty());
    EXPECT_FALSE(windows->move(0x400001, {0, 0, 100, 100}));
    EXPECT_FALSE(windows->activate(0x400001));
    EXPECT_FALSE(windows->windowManagerRuns());

    XcbWindowList nowhere(":no-such-display");
    EXPECT_FALSE(nowhere.connected());
    EXPECT_TRUE(nowhere.shownWindows().empty());
}

} // namespace
