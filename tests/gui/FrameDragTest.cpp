#include "ProgramTest.h"

namespace
{
// A user's drag with the left button, from a point of the frame (window
// coordinates) by an offset; with bEscape, Esc is pressed before the release.
void Drag(HWND hFrame, POINT from, SIZE by, bool bEscape = false)
{
    RECT window;
    ::GetWindowRect(hFrame, &window);
    const POINT start = {window.left + from.x, window.top + from.y};
    std::vector<std::function<void()>> actions = {
        [=] { SendMouseInput(start, 0); },
        [=] { SendMouseInput(start, MOUSEEVENTF_LEFTDOWN); },
    };
    for (int step = 1; step <= 4; ++step)
        actions.push_back([=] { SendMouseInput({start.x + by.cx * step / 4, start.y + by.cy * step / 4}, 0); });
    if (bEscape)
        actions.push_back([] { SendKeyChord({VK_ESCAPE}); });
    actions.push_back([=] { SendMouseInput({start.x + by.cx, start.y + by.cy}, MOUSEEVENTF_LEFTUP); });
    ScriptedUser user(actions);
    PumpMessages(300, 5000);
    EXPECT_EQ(actions.size(), user.Taken());
}

struct DragCase
{
    const char* pszName;
    // Where the drag starts, in pixels from the frame's top-left corner; a
    // negative value counts back from the far edge.
    int x, y;
    SIZE moveBy; // how far the window's top-left corner must move
    SIZE growBy; // and how much the window must grow
};

POINT PointOf(const RECT& window, int x, int y)
{
    const int cx = window.right - window.left;
    const int cy = window.bottom - window.top;
    return {x >= 0 ? x : cx + x, y >= 0 ? y : cy + y};
}

// Drags of 40 by 30 pixels.
const DragCase kDragCases[] = {
    {"BottomRightCornerSizes", -2, -2, {0, 0}, {40, 30}},
    {"RightEdgeSizesTheWidth", -2, 200, {0, 0}, {40, 0}},
    {"BottomEdgeSizesTheHeight", 200, -2, {0, 0}, {0, 30}},
    {"TopLeftCornerSizesFromTheOtherSide", 1, 1, {40, 30}, {-40, -30}},
    {"CaptionMovesTheFrame", 200, 12, {40, 30}, {0, 0}},
};

class FrameDragTest : public ProgramTest, public ::testing::WithParamInterface<DragCase>
{
};

TEST_P(FrameDragTest, TheFrameFollowsTheMouse)
{
    const DragCase& drag = GetParam();
    FramePlacementScope placement(Frame());
    RECT before;
    ::GetWindowRect(Frame(), &before);
    Drag(Frame(), PointOf(before, drag.x, drag.y), {40, 30});
    RECT after;
    ::GetWindowRect(Frame(), &after);
    EXPECT_EQ(before.left + drag.moveBy.cx, after.left);
    EXPECT_EQ(before.top + drag.moveBy.cy, after.top);
    EXPECT_EQ(before.right - before.left + drag.growBy.cx, after.right - after.left);
    EXPECT_EQ(before.bottom - before.top + drag.growBy.cy, after.bottom - after.top);

    // The bar still spans the top of the client area.
    RECT client;
    ::GetClientRect(Frame(), &client);
    EXPECT_EQ(client.right, BarArea().right);
}

TEST_P(FrameDragTest, EscapeBeforeTheReleasePutsTheFrameBack)
{
    const DragCase& drag = GetParam();
    FramePlacementScope placement(Frame());
    ::SetForegroundWindow(Frame());
    ::SetFocus(Frame());
    PumpMessages();
    RECT before;
    ::GetWindowRect(Frame(), &before);
    Drag(Frame(), PointOf(before, drag.x, drag.y), {40, 30}, true);
    RECT after;
    ::GetWindowRect(Frame(), &after);
    EXPECT_EQ(before.left, after.left);
    EXPECT_EQ(before.top, after.top);
    EXPECT_EQ(before.right, after.right);
    EXPECT_EQ(before.bottom, after.bottom);
}

TEST_P(FrameDragTest, WhileMaximizedTheFrameStaysOnTheWorkArea)
{
    const DragCase& drag = GetParam();
    FramePlacementScope placement(Frame());
    ::ShowWindow(Frame(), SW_MAXIMIZE);
    PumpMessages();
    RECT before;
    ::GetWindowRect(Frame(), &before);
    Drag(Frame(), PointOf(before, drag.x, drag.y), {40, 30});
    RECT after;
    ::GetWindowRect(Frame(), &after);
    EXPECT_TRUE(::IsZoomed(Frame()));
    EXPECT_EQ(MonitorWorkArea(Frame()), after);
}

TEST_F(ProgramTest, MaximizedTheFrameKeepsToTheWorkAreaWhereverTheSystemPlacesIt)
{
    // As a system that reads the maximized place of another monitor
    // differently would place it.
    FramePlacementScope placement(Frame());
    ::ShowWindow(Frame(), SW_MAXIMIZE);
    PumpMessages();
    const RECT work = MonitorWorkArea(Frame());
    ::SetWindowPos(Frame(), nullptr, work.left + 100, work.top + 50, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT after;
    ::GetWindowRect(Frame(), &after);
    EXPECT_EQ(work, after);
}

INSTANTIATE_TEST_SUITE_P(Drags, FrameDragTest, ::testing::ValuesIn(kDragCases),
                         [](const ::testing::TestParamInfo<DragCase>& param) { return param.param.pszName; });

struct SmallestSizeCase
{
    const char* pszName;
    UINT nSkinCommand;
    SIZE smallest; // room for the border, the caption's buttons and the bar's items
};

const SmallestSizeCase kSmallestSizes[] = {
    {"ColorCoolbar", ID_COOLBAR_COLORCOOLBAR, {320, 120}},
    {"ImageCoolbar", ID_COOLBAR_IMAGECOOLBAR, {320, 122}},
    {"MediaPlay", ID_FRAME_MEDIAPLAY, {320, 132}},
    {"SkinPlusPlus", ID_FRAME_SKINPLUSPLUS, {320, 120}},
};

class SmallestSizeTest : public ProgramTest, public ::testing::WithParamInterface<SmallestSizeCase>
{
};

TEST_P(SmallestSizeTest, ADragFarInwardStopsWithTheButtonsAndTheBarUsable)
{
    const SmallestSizeCase& skin = GetParam();
    FramePlacementScope placement(Frame());
    Command(skin.nSkinCommand);
    RECT before;
    ::GetWindowRect(Frame(), &before);
    // From the right edge just above the corner, which a round skin cuts off,
    // to beyond the frame's top-left corner.
    Drag(Frame(), PointOf(before, -2, -10), {before.left - before.right, before.top - before.bottom});
    RECT after;
    ::GetWindowRect(Frame(), &after);
    EXPECT_EQ(before.left, after.left);
    EXPECT_EQ(before.top, after.top);
    EXPECT_EQ(skin.smallest.cx, after.right - after.left);
    EXPECT_EQ(skin.smallest.cy, after.bottom - after.top);

    for (const UINT nHit : {HTSYSMENU, HTMINBUTTON, HTMAXBUTTON, HTCLOSE})
        EXPECT_GE(FindHitPoint(Frame(), nHit).x, 0) << "no part answers " << nHit;
    RECT bar;
    ::GetClientRect(MenuBarWindow(), &bar);
    RECT lastItem;
    ASSERT_TRUE(MenuBar().GetItemRect(::GetMenuItemCount(BarMenu()) - 1, &lastItem));
    EXPECT_LE(lastItem.right, bar.right) << "the bar's last item is cut off";
}

INSTANTIATE_TEST_SUITE_P(Skins, SmallestSizeTest, ::testing::ValuesIn(kSmallestSizes),
                         [](const ::testing::TestParamInfo<SmallestSizeCase>& param) { return param.param.pszName; });
} // namespace
