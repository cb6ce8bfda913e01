// Game controllers: the names a binding may hold, the dead zone and curve,
// a rebinding that keeps the other kind of device's input, and a virtual
// controller plugged in, leaned and pulled out under the engine's services.

#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <algorithm>
#include <vector>

#include "common/enginehost.h"
#include "kernel/gui/padactions.h"
#include "kernel/platform/controllers.h"
#include "libraries/gui/padbindings.h"

namespace {

std::vector<std::pair<uint8_t, bool>> SentKeys;
void RecordKey(uint8_t Key, bool Pressed) { SentKeys.emplace_back(Key, Pressed); }

// Hands SDL's device events to the controllers until the queue is empty.
void Pump(tControllers& C) {
    SDL_Event E;
    while (SDL_PollEvent(&E)) C.HandleEvent(E);
}

}  // namespace

TEST(PadBindings, NamesShapesAndReplacements) {
    tPadInput In;
    ASSERT_TRUE(ParsePadInput("-RightY", In));
    EXPECT_EQ(In.Source, tPadInput::PAD_AXIS);
    EXPECT_EQ(In.Sign, -1);
    ASSERT_TRUE(ParsePadInput("button12", In));
    EXPECT_EQ(In.Source, tPadInput::STICK_BUTTON);
    EXPECT_EQ(In.Index, 12);
    for (const char* Bad : {"+a", "-button1", "axis", "axisx", "nosuch", "axis99999999"})
        EXPECT_FALSE(ParsePadInput(Bad, In)) << Bad;
    EXPECT_TRUE(IsValidPadBinding(""));
    EXPECT_TRUE(IsValidPadBinding("leftshoulder -axis2"));
    EXPECT_FALSE(IsValidPadBinding("leftshoulder banana"));

    // Nothing inside the dead zone, the whole travel at the end, the curve between.
    EXPECT_EQ(ShapePadAxis(0.1f, 0.15f, 2), 0);
    EXPECT_FLOAT_EQ(ShapePadAxis(-1, 0.15f, 2), -1);
    EXPECT_FLOAT_EQ(ShapePadAxis(0.575f, 0.15f, 2), 0.25f);
    EXPECT_EQ(ShapePadAxis(NAN, 0.15f, 2), 0);
    EXPECT_FLOAT_EQ(ShapePadAxis(3, 5, -1), 1);  // settings out of range are clamped

    // A game controller's input replaces only the game controller's.
    EXPECT_EQ(ReplacePadInput("righttrigger button0", "x", false), "x button0");
    EXPECT_EQ(ReplacePadInput("righttrigger button0", "button3", false), "righttrigger button3");
    EXPECT_EQ(ReplacePadInput("button0", "x", false), "x button0");
    EXPECT_EQ(ReplacePadInput("leftx axis0", "+rightx", true), "rightx axis0");
    EXPECT_EQ(ReplacePadInput("leftx axis0", "-rightx", true), "-rightx axis0");
}

TEST_F(EngineHostTest, AVirtualControllerLeansThePointerFiresAndLetsGoWhenPulledOut) {
    SentKeys.clear();
    tControllers C(RecordKey);
    C.VirtualControllerC("attach");
    Pump(C);
    // At rest (the triggers at their low end) it holds nothing.
    SDL_JoystickUpdate();
    C.Poll();
    EXPECT_TRUE(SentKeys.empty());
    EXPECT_EQ(C.PointerX(), 0);
    C.VirtualControllerC("axis leftx -1");
    C.VirtualControllerC("axis righttrigger 1");
    C.VirtualControllerC("button leftshoulder 1");
    SDL_JoystickUpdate();
    C.Poll();
    EXPECT_EQ(C.PointerX(), -static_cast<int32_t>(tControllers::PointerReach));
    EXPECT_EQ(C.PointerY(), 0);
    std::vector<std::pair<uint8_t, bool>> Sorted = SentKeys;
    std::sort(Sorted.begin(), Sorted.end());
    EXPECT_EQ(Sorted, (std::vector<std::pair<uint8_t, bool>>{{PadFireKey, true}, {'V', true}}));
    // Polled again unchanged: nothing more is sent.
    C.Poll();
    EXPECT_EQ(SentKeys.size(), 2u);

    // The controls page's wait: what was held when it began (the stick, the
    // trigger, the shoulder) answers only after it was let go.
    const auto Set = [&C](const char* Line) {
        C.VirtualControllerC(Line);
        SDL_JoystickUpdate();
        C.Poll();
    };
    C.SetCapturing(true);
    C.Poll();
    Set("button y 1");
    EXPECT_EQ(C.TakeCaptured(), "y");
    C.SetCapturing(true);
    C.Poll();
    Set("button leftshoulder 0");
    EXPECT_EQ(C.TakeCaptured(), "");
    Set("button leftshoulder 1");
    EXPECT_EQ(C.TakeCaptured(), "leftshoulder");
    Set("button y 0");

    // A hit's rumble reaches a controller that can.
    C.Rumble(0.5f, 0.1f);
    EXPECT_NE(Host->Log().find("Virtual controller rumbles 32767 32767"), std::string::npos);

    SentKeys.clear();
    C.VirtualControllerC("detach");
    Pump(C);
    EXPECT_EQ(C.PointerX(), 0);
    std::sort(SentKeys.begin(), SentKeys.end());
    EXPECT_EQ(SentKeys, (std::vector<std::pair<uint8_t, bool>>{{PadFireKey, false}, {'V', false}}));
    const std::vector<std::string> Messages = Host->ConsoleMessages();
    EXPECT_NE(std::find(Messages.begin(), Messages.end(), "Controller connected: Virtual controller"), Messages.end());
    EXPECT_NE(std::find(Messages.begin(), Messages.end(), "Controller disconnected: Virtual controller"), Messages.end());
}
