#include "ProgramTest.h"

namespace
{
// Where a part of the frame is, in screen coordinates: a point of the
// caption that answers hit-testing with nHit, or the client area's centre.
POINT PointOf(HWND hFrame, UINT nHit)
{
    if (nHit != HTCLIENT)
        return FindHitPoint(hFrame, nHit);
    RECT client;
    ::GetClientRect(hFrame, &client);
    POINT centre = {client.right / 2, client.bottom / 2};
    ::ClientToScreen(hFrame, &centre);
    return centre;
}

// The user moves the mouse onto the part, pressing or releasing the left
// button there as dwButtons say.
std::function<void()> MouseOn(HWND hFrame, UINT nHit, DWORD dwButtons = 0)
{
    return [=] { SendMouseInput(PointOf(hFrame, nHit), dwButtons); };
}

struct ButtonCase
{
    const char* pszName;
    UINT nPressed;           // where the left button goes down
    std::vector<UINT> moves; // where the mouse goes while it is held; released at the last
    std::vector<UINT> commands;
};

const ButtonCase kButtonCases[] = {
    {"MinimizeActsOnRelease", HTMINBUTTON, {HTMINBUTTON}, {SC_MINIMIZE}},
    {"MaximizeActsOnRelease", HTMAXBUTTON, {HTMAXBUTTON}, {SC_MAXIMIZE}},
    {"CloseActsOnRelease", HTCLOSE, {HTCLOSE}, {SC_CLOSE}},
    {"MovingOffTheCloseButtonCancels", HTCLOSE, {HTCAPTION}, {}},
    {"ReleasedInTheClientAreaNothingActs", HTMINBUTTON, {HTCLIENT}, {}},
    {"ReleasedOnAnotherButtonNothingActs", HTCLOSE, {HTMAXBUTTON}, {}},
    {"MovingOffAndBackBeforeReleaseActs", HTMAXBUTTON, {HTCAPTION, HTMAXBUTTON}, {SC_MAXIMIZE}},
};

class CaptionButtonTest : public ProgramTest, public ::testing::WithParamInterface<ButtonCase>
{
};

TEST_P(CaptionButtonTest, ActsOnlyWhenReleasedOverThePressedButton)
{
    const ButtonCase& button = GetParam();
    FramePlacementScope placement(Frame());
    SysCommandWatch sysCommands(Frame());
    std::size_t nWhileHeld = 0;
    std::vector<std::function<void()>> actions = {
        MouseOn(Frame(), button.nPressed),
        MouseOn(Frame(), button.nPressed, MOUSEEVENTF_LEFTDOWN),
        [&] { nWhileHeld = sysCommands.Commands().size(); },
    };
    for (std::size_t i = 0; i < button.moves.size(); ++i)
        actions.push_back(MouseOn(Frame(), button.moves[i], i + 1 == button.moves.size() ? MOUSEEVENTF_LEFTUP : 0));
    ScriptedUser user(actions);
    PumpMessages(300, 5000);

    EXPECT_EQ(actions.size(), user.Taken());
    EXPECT_EQ(0u, nWhileHeld) << "nothing happens while the button is held";
    EXPECT_EQ(button.commands, sysCommands.Commands());
}

INSTANTIATE_TEST_SUITE_P(Clicks, CaptionButtonTest, ::testing::ValuesIn(kButtonCases),
                         [](const ::testing::TestParamInfo<ButtonCase>& param) { return param.param.pszName; });

std::function<void()> ClickOn(HWND hFrame, UINT nHit)
{
    return [=] {
        const POINT point = PointOf(hFrame, nHit);
        SendMouseInput(point, 0);
        SendMouseInput(point, MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
    };
}

TEST_F(ProgramTest, CaptionButtonsMaximizeRestoreAndMinimizeTheFrame)
{
    FramePlacementScope placement(Frame());
    RECT normal;
    ::GetWindowRect(Frame(), &normal);
    struct State
    {
        bool bZoomed;
        bool bIconic;
        RECT rect;
    };
    std::vector<State> states;
    const auto record = [&] {
        RECT rect;
        ::GetWindowRect(Frame(), &rect);
        states.push_back({::IsZoomed(Frame()) != FALSE, ::IsIconic(Frame()) != FALSE, rect});
    };
    ScriptedUser user({ClickOn(Frame(), HTMAXBUTTON), record, ClickOn(Frame(), HTMAXBUTTON), record,
                       ClickOn(Frame(), HTMINBUTTON), record});
    PumpMessages(300, 5000);

    ASSERT_EQ(3u, states.size());
    EXPECT_TRUE(states[0].bZoomed);
    EXPECT_EQ(MonitorWorkArea(Frame()), states[0].rect) << "maximized, the frame covers the work area";
    EXPECT_FALSE(states[1].bZoomed) << "the maximized frame's button restores it";
    EXPECT_EQ(normal, states[1].rect);
    EXPECT_TRUE(states[2].bIconic);
}

TEST_F(ProgramTest, DoubleClickOnTheCaptionMaximizesAndRestores)
{
    FramePlacementScope placement(Frame());
    const auto doubleClick = [&] {
        const POINT caption = PointOf(Frame(), HTCAPTION);
        SendMouseInput(caption, 0);
        SendMouseInput(caption, MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
        SendMouseInput(caption, MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
    };
    RECT normal;
    ::GetWindowRect(Frame(), &normal);
    std::vector<bool> zoomed;
    std::vector<RECT> rects;
    const auto record = [&] {
        zoomed.push_back(::IsZoomed(Frame()) != FALSE);
        RECT rect;
        ::GetWindowRect(Frame(), &rect);
        rects.push_back(rect);
    };
    ScriptedUser user({doubleClick, record, doubleClick, record});
    PumpMessages(300, 5000);
    EXPECT_EQ((std::vector<bool>{true, false}), zoomed);
    EXPECT_EQ((std::vector<RECT>{MonitorWorkArea(Frame()), normal}), rects);
}

TEST_F(ProgramTest, CaptionButtonsLookHotUnderTheMouseAndPressedWhileHeld)
{
    FramePlacementScope placement(Frame());
    SysCommandWatch sysCommands(Frame());
    std::vector<std::vector<std::uint32_t>> looks;
    const auto look = [&] { looks.push_back(SnapWindow(Frame())); };
    ScriptedUser user({MouseOn(Frame(), HTCAPTION), look,                        // normal
                       MouseOn(Frame(), HTMAXBUTTON), look,                      // hot
                       MouseOn(Frame(), HTMAXBUTTON, MOUSEEVENTF_LEFTDOWN), look, // pressed
                       MouseOn(Frame(), HTCAPTION), look,                        // held, moved off
                       MouseOn(Frame(), HTMAXBUTTON), look,                      // held, back on
                       MouseOn(Frame(), HTCAPTION), MouseOn(Frame(), HTCAPTION, MOUSEEVENTF_LEFTUP), look,
                       MouseOn(Frame(), HTMAXBUTTON), look,                      // hot again
                       MouseOn(Frame(), HTCLIENT), look});                       // left for the client area
    PumpMessages(300, 5000);

    ASSERT_EQ(8u, looks.size());
    const auto& normal = looks[0];
    const auto& hot = looks[1];
    const auto& pressed = looks[2];
    EXPECT_NE(normal, hot);
    EXPECT_NE(normal, pressed);
    EXPECT_NE(hot, pressed);
    EXPECT_EQ(normal, looks[3]) << "moved off while held: not pressed";
    EXPECT_EQ(pressed, looks[4]) << "back on while held: pressed again";
    EXPECT_EQ(normal, looks[5]) << "released elsewhere";
    EXPECT_EQ(hot, looks[6]);
    EXPECT_EQ(normal, looks[7]);
    EXPECT_TRUE(sysCommands.Commands().empty());
}
} // namespace
