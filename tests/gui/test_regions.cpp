// Region placement, hit tests, dragging, resizing, docking and the
// minimise / maximise animation, driven through the window manager.

#include <gtest/gtest.h>

#include "gui/gui_fixture.h"
#include "libraries/classes/uiscale.h"

namespace {

constexpr const char* TwoWindows = R"(
GUIObject "tGUIWindow"
{
   Param "GUI_CENTERED GUI_CENTERED 0.5 0.25 Centred"
   ID "a"
   GUIObject "tGUIView" { Param "0.1 0.1 0.2 0.1 Inner" ID "inner" }
}
GUIObject "tGUIWindow" { Param "0.05 0.05 0.25 0.25 Other" ID "b" }
)";

void ExpectRect(tGUIRegion* R, int32_t X, int32_t Y, int32_t W, int32_t H) {
    EXPECT_EQ(R->X, X);
    EXPECT_EQ(R->Y, Y);
    EXPECT_EQ(R->W, W);
    EXPECT_EQ(R->H, H);
    EXPECT_EQ(R->X1, X + W);
    EXPECT_EQ(R->Y1, Y + H);
}

}  // namespace

TEST_F(GUITest, RegionsArePlacedFromTheirNames) {
    AddGUI(TwoWindows);
    // Centred in the 800 x 600 desktop; the child is placed from the window's corner.
    ExpectRect(View("a"), 200, 225, 400, 150);
    ExpectRect(View("inner"), 280, 285, 160, 60);
    ExpectRect(View("b"), 40, 30, 200, 150);
    AddGUI("GUIObject \"tGUIView\" { Param \"0 0 GUI_TITLE_WIDTH GUI_TITLE_HEIGHT Title\" ID \"t\" }", "t.gui");
    ExpectRect(View("t"), 0, 0, 40, 16);
    // A placement far off any screen is held where a child's corner can still be added to it.
    AddGUI("GUIObject \"tGUIWindow\" { Param \"-888888888888880.02 0 1 1 Far\" ID \"far\"\n"
           "GUIObject \"tGUIView\" { Param \"-888888888888880.02 0 1 1 Child\" ID \"child\" } }",
           "far.gui");
    EXPECT_EQ(View("far")->X, -(1 << 20));
    EXPECT_EQ(View("child")->X, -(2 << 20));
    EXPECT_EXIT(AddGUI("GUIObject \"tGUIView\" { Param \"0 0 1 x\" }", "bad.gui"), ::testing::ExitedWithCode(255),
                "Invalid parameters list");
}

TEST_F(GUITest, CornerResizesCaptionDragsAndTheRestClicks) {
    AddGUI(TwoWindows);
    tGUIView* A = View("a");
    EXPECT_EQ(A->FindRegion({250, 300}), A);
    EXPECT_EQ(A->FindRegion({300, 290}), View("inner"));  // the deepest child wins
    EXPECT_EQ(A->FindRegion({100, 100}), nullptr);

    // A press in the bottom-right corner resizes; the corner follows the mouse.
    Drag(598, 373, 648, 403);
    ExpectRect(A, 200, 225, 450, 180);
    // A press on the caption drags the window and its children along.
    Drag(300, 230, 250, 200);
    ExpectRect(A, 150, 195, 450, 180);
    ExpectRect(View("inner"), 230, 255, 160, 60);
    // A resize after the drag starts from where the corner is now.
    Drag(598, 373, 610, 380);
    ExpectRect(A, 150, 195, 462, 187);
    // Sizeable regions keep their suggested minimum.
    Drag(610, 380, 0, 0);
    EXPECT_EQ(A->W, A->SuggestMinimalWidth());
    EXPECT_EQ(A->H, A->SuggestMinimalHeight());
}

TEST_F(GUITest, DraggedWindowsDockToOtherWindowsEdges) {
    AddGUI(TwoWindows);
    tGUIView* A = View("a");
    tGUIView* B = View("b");
    // A's left edge 6 pixels right of B's right edge (240) snaps to it...
    Drag(300, 230, 300 - (200 - 246), 230);
    EXPECT_EQ(A->X, B->X1);
    // ...at 7 pixels it does not.
    Drag(300, 230, 300 + 7, 230);
    EXPECT_EQ(A->X, B->X1 + 7);
    // The top edge 3 pixels above B's bottom edge snaps to it.
    Drag(300, 230, 300, 182);
    EXPECT_EQ(A->Y, B->Y1);
    EXPECT_EQ(A->X, B->X1 + 7);
}

TEST_F(GUITest, MinimisingAndMaximisingAnimateInQuarterSteps) {
    AddGUI("GUIObject \"tGUIWindow\" { Param \"0 0 0.5 0.3333333 W\" ID \"w\" }");
    tGUIView* W = View("w");
    ASSERT_EQ(W->H, 200);
    W->Minimize();
    int Steps = 0;
    while (!W->IsMinimized() && Steps < 100) {
        Tick();
        ++Steps;
    }
    EXPECT_EQ(Steps, 12);
    EXPECT_LE(W->H, tGUIRegion::CaptionHeight());
    EXPECT_EQ(W->Y1, W->Y + W->H);
    W->Maximize();
    Steps = 0;
    while (!W->IsMaximized() && Steps < 100) {
        Tick();
        ++Steps;
    }
    EXPECT_EQ(W->H, 200);
    EXPECT_LT(Steps, 20);
}

// Text and what holds it are laid out for 1024 x 768 and grow with the
// window's height unless UIScale says otherwise; never below 1, never past the most.
TEST(UIScale, GrowsWithTheWindowsHeightUnlessSet) {
    EXPECT_FLOAT_EQ(UIScaleFor(0, 768), 1.0f);
    EXPECT_FLOAT_EQ(UIScaleFor(0, 600), 1.0f);
    EXPECT_FLOAT_EQ(UIScaleFor(0, 1080), 1080.0f / 768);
    EXPECT_FLOAT_EQ(UIScaleFor(0, 100000), MaxUIScale);
    EXPECT_FLOAT_EQ(UIScaleFor(1.25f, 1080), 1.25f);
    EXPECT_FLOAT_EQ(UIScaleFor(50, 1080), MaxUIScale);
    EXPECT_FLOAT_EQ(UIScaleFor(-1, 1080), 1080.0f / 768);
}
