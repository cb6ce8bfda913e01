// The variables manager as scripts and typed lines use it: "Set" choosing the
// type from the text, "Add" on bound fields, locks, "VarList" and "Toggle",
// and the misuses that are console errors from input but fatal from code.

#include <gtest/gtest.h>

#include <memory>

#include "common/consoleenv.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

using VarsTest = ConsoleTest;
using VarsDeathTest = ConsoleTest;

namespace {

tVarType TypeOf(const char* Name) {
    for (int32_t i = 1; i <= EngineVars->GetTotalVars(); ++i)
        if (EngineVars->GetVarName(i) == UpCaseStr(Name)) return EngineVars->GetVarDef(i).ValueType;
    ADD_FAILURE() << Name << " is not defined";
    return VT_BOOLEAN;
}

}  // namespace

TEST_F(VarsTest, SetChoosesTheTypeFromTheTextAndNamesIgnoreCase) {
    Type("Set Foo 5");
    Type("Set foo 6");
    Type("VarList foo");
    EXPECT_EQ(TypeOf("FOO"), VT_LONGINT);
    EXPECT_EQ(EngineVars->GetTotalVars(), 1);

    Type("Set B1 true; Set B2 TRUE; Set B3 False");
    Type("Set Bar 1.5; Set Neg -0.25; Set Baz abc; Set Spaced \"a b; c\"");
    Type("VarList B1; VarList B3; VarList Bar; VarList Neg; VarList Baz; VarList Spaced");
    EXPECT_EQ(TypeOf("B2"), VT_BOOLEAN);
    EXPECT_EQ(TypeOf("Bar"), VT_LFLOAT);
    EXPECT_EQ(TypeOf("Baz"), VT_STRING);
    EXPECT_EQ(TakeMessages(), (std::vector<std::string>{"FOO=6", "B1=True", "B3=False", "BAR=1.500", "NEG=-0.250",
                                                        "BAZ=\"abc\"", "SPACED=\"a b; c\""}));

    int32_t i = 0;
    EXPECT_NE(EngineVars->GetVar("foo", i), 0);
    EXPECT_EQ(i, 6);
}

TEST_F(VarsTest, UsageLinesAndNonNumericAdd) {
    Type("Set Foo");
    Type("Add Foo");
    Type("Set");
    EXPECT_EQ(MessagesOfType(CMSG_ENGINEMESSAGE),
              (std::vector<std::string>{"Usage: SET <Var name> <Var value>", "Usage: ADD <Var name> <value to add>",
                                        "Usage: SET <Var name> <Var value>"}));
    EXPECT_EQ(EngineVars->GetTotalVars(), 0);

    int32_t field = 1;
    EngineVars->RegisterVar("Speed", field);
    Type("Add Speed fast");
    EXPECT_EQ(MessagesOfType(CMSG_ERRORMESSAGE), (std::vector<std::string>{"Value to add should be numeric"}));
    EXPECT_EQ(field, 1);
}

TEST_F(VarsTest, TypedMisuseIsAConsoleErrorAndTheLineGoesOn) {
    Type("Set Foo 5");
    CaptureStdout();
    Type("Set Foo 2.5; Echo after set");
    Type("Set Foo \"12\"; Add Foo 1; Add Nope 1; Echo after add");
    std::string warnings = GetCapturedStdout();

    EXPECT_EQ(warnings, "Invalid value type for: FOO\nGot VT_LFLOAT expected VT_LONGINT\n");
    EXPECT_EQ(MessagesOfType(CMSG_ERRORMESSAGE),
              (std::vector<std::string>{"Found type missmatch for: FOO", "Cann't add to console variables",
                                        "Variable not found: NOPE"}));
    EXPECT_EQ(MessagesOfType(CMSG_ENGINEMESSAGE), (std::vector<std::string>{"after set", "after add"}));
    int32_t v = 0;
    EngineVars->GetVar("Foo", v);
    EXPECT_EQ(v, 12);  // "12" in quotes is still a number

    // A whole number for a variable that holds fractions is that fraction.
    float Height = 0.5f;
    EngineVars->RegisterVar("Height", Height);
    Type("Set Height 150; Add Height 2");
    EXPECT_EQ(Height, 152.0f);
}

TEST_F(VarsDeathTest, MisuseByTheProgramIsFatal) {
    EngineVars->SetVar("Foo", 5);
    float f = 1.0f;
    EXPECT_EXIT(EngineVars->RegisterVar("Foo", f), ::testing::ExitedWithCode(255), "Found type missmatch for: FOO");
    int32_t i = 0;
    EXPECT_EXIT(EngineVars->GetVar("Nope", i), ::testing::ExitedWithCode(255), "GetVar\\(\\) variable not found: NOPE");
    EXPECT_EXIT(EngineVars->IsModified("Nope"), ::testing::ExitedWithCode(255), "GetVar\\(\\) variable not found: NOPE");
    EXPECT_EXIT(EngineVars->AddVar("Foo", 1), ::testing::ExitedWithCode(255), "Cann't add to console variables");
    EXPECT_EXIT(EngineVars->GetVarPtr("Foo"), ::testing::ExitedWithCode(255),
                "GetVarPtr\\(\\) variable doesn't have external ptr: FOO");
}

TEST_F(VarsDeathTest, TheTableHolds1024Variables) {
    for (int i = 1; i <= MaxVarDefs; ++i) EngineVars->SetVar("V" + Int2Str(i), i);
    EXPECT_EQ(EngineVars->GetTotalVars(), 1024);
    EXPECT_EQ(EngineVars->SetVar("v1024", 7), 1024);
    EXPECT_EXIT(EngineVars->SetVar("V1025", 1), ::testing::ExitedWithCode(255),
                "SetVar\\(\\) number of Var definitions exceeded on: V1025");
}

TEST_F(VarsTest, BoundFieldsFollowSetAddAndRegistration) {
    Type("Set Angle 3");  // set by a script before the owner registers it
    int32_t angle = 10;
    float zoom = 1.0f;
    ShortString plane = "tBiplane";
    EngineVars->RegisterVar("Angle", angle);
    EngineVars->RegisterVar("Zoom", zoom);
    EngineVars->RegisterVar("PlaneChassis", plane);
    Type("VarList Angle");
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{"ANGLE=10"});  // registration wins

    Type("Add Angle -15; Add Zoom 0.5; Set PlaneChassis tPursuitPlane");
    EXPECT_EQ(angle, -5);
    EXPECT_FLOAT_EQ(zoom, 1.5f);
    EXPECT_EQ(plane, "tPursuitPlane");
    Type("VarList Angle; VarList Zoom; VarList PlaneChassis");
    EXPECT_EQ(TakeMessages(), (std::vector<std::string>{"ANGLE=-5", "ZOOM=1.500", "PLANECHASSIS=\"tPursuitPlane\""}));

    angle = 40;  // the owner's own change: read through GetVar, not flagged
    EngineVars->IsModified("Angle");
    int32_t read = 0;
    EngineVars->GetVar("angle", read);
    EXPECT_EQ(read, 40);
    EXPECT_FALSE(EngineVars->IsModified("Angle"));
    EXPECT_EQ(EngineVars->GetVarPtr("Angle"), &angle);

    int32_t other = 99;  // registering again binds the new field
    EngineVars->RegisterVar("ANGLE", other);
    Type("Add Angle 1");
    EXPECT_EQ(other, 100);

    // A sum past 32 bits is refused; the field keeps its value.
    Type("Add Angle 2147483647; VarList Angle");
    EXPECT_EQ(other, 100);
    EXPECT_EQ(TakeMessages(), (std::vector<std::string>{"Integer overflow adding to: ANGLE", "ANGLE=100"}));
}

// An owner going away hands its fields back: the variables keep their last
// values in the manager's storage, and what a newer owner bound stays with it.
TEST_F(VarsTest, ReleasedFieldsLiveOnInTheManager) {
    struct tOwner {
        int32_t Angle = 7;
        ShortString Name = "first";
        bool Flag = true;
    };
    auto Old = std::make_unique<tOwner>();
    EngineVars->RegisterVar("Angle", Old->Angle);
    EngineVars->RegisterVar("Name", Old->Name);
    EngineVars->RegisterVar("Flag", Old->Flag);
    Type("Add Angle 1");
    tOwner Newer;
    Newer.Flag = false;
    EngineVars->RegisterVar("Flag", Newer.Flag);

    EngineVars->ReleaseFieldsOf(Old.get());
    Old.reset();
    Type("Add Angle 2; Set Name second; +Flag");
    Type("Set Copy %Name; VarList Angle; VarList Copy");
    EXPECT_EQ(TakeMessages(), (std::vector<std::string>{"ANGLE=10", "COPY=\"second\""}));
    EXPECT_EQ(EngineVars->GetVarPtr("Flag"), &Newer.Flag);
    EXPECT_TRUE(Newer.Flag);
}

// A holder lets go of exactly the variables still bound through it, whoever
// goes first: the owner (its values live on), a newer owner (keeps its
// binding), a holder emptied early, or the manager itself.
TEST_F(VarsTest, FieldBindingsReleaseThemselvesWithTheirOwner) {
    struct tOwner {
        int32_t Angle = 7;
        ShortString Name = "first";
        bool Flag = true;
        float Zoom = 1.0f;
        tFieldBindings Bindings;
    };
    auto Old = std::make_unique<tOwner>();
    EngineVars->RegisterVar("Angle", Old->Angle, Old->Bindings);
    EngineVars->RegisterVar("Name", Old->Name, Old->Bindings);
    EngineVars->RegisterVar("Flag", Old->Flag, Old->Bindings);
    EngineVars->RegisterVar("Zoom", Old->Zoom, Old->Bindings);
    tOwner Newer;
    Newer.Flag = false;
    EngineVars->RegisterVar("Flag", Newer.Flag, Newer.Bindings);  // taken over: unlinked from Old
    int32_t Plain = 3;
    EngineVars->RegisterVar("Zoom", Old->Zoom, Old->Bindings);    // bound again by the same owner
    EngineVars->RegisterVar("Plain", Plain, Newer.Bindings);
    EngineVars->RegisterVar("Plain", Plain);                      // and now bound without a holder
    Type("Add Angle 1");

    Old.reset();
    Type("Add Angle 2; Set Name second; +Flag; Add Zoom 0.5; Add Plain 1");
    Type("Set Copy %Name; VarList Angle; VarList Copy; VarList Zoom");
    EXPECT_EQ(TakeMessages(), (std::vector<std::string>{"ANGLE=10", "COPY=\"second\"", "ZOOM=1.500"}));
    EXPECT_EQ(EngineVars->GetVarPtr("Flag"), &Newer.Flag);
    EXPECT_TRUE(Newer.Flag);
    EXPECT_EQ(Plain, 4);

    Newer.Bindings.ReleaseAll();
    EXPECT_TRUE(Newer.Bindings.Empty());
    EXPECT_NE(EngineVars->GetVarPtr("Flag"), &Newer.Flag);
    EXPECT_EQ(EngineVars->GetVarPtr("Plain"), &Plain);

    // A holder that outlives its manager has nothing left to release; nor
    // has one whose only variable another took over (a second aircraft
    // binding the same name), which lets go of the manager at once.
    tOwner Taken;
    EngineVars->RegisterVar("Camera", Taken.Angle, Taken.Bindings);
    EngineVars->RegisterVar("Camera", Newer.Angle, Newer.Bindings);
    EngineVars->RegisterVar("Angle", Newer.Angle, Newer.Bindings);
    tZObject::DisposeObject(EngineVars);
    EXPECT_TRUE(Newer.Bindings.Empty());
}

TEST_F(VarsTest, ModifiedReadsTrueOncePerChange) {
    EngineVars->SetVar("Fov", 90);
    EXPECT_TRUE(EngineVars->IsModified("fov"));
    EXPECT_FALSE(EngineVars->IsModified("fov"));
    Type("Set Fov 60");
    int32_t v = 0;
    EngineVars->GetVar("Fov", v);
    EXPECT_FALSE(EngineVars->IsModified("Fov"));
}

TEST_F(VarsTest, LockedVariablesKeepTheirValue) {
    int32_t speed = 5;
    EngineVars->RegisterVar("Speed", speed);
    EXPECT_EQ(EngineVars->Lock("speed"), 1);
    CaptureStdout();
    Type("Set Speed 7; Add Speed 1");
    int32_t other = 0;
    EngineVars->RegisterVar("Speed", other);  // a locked variable is not rebound
    EXPECT_EQ(EngineVars->Lock("Nope"), 0);
    std::string warnings = GetCapturedStdout();
    EXPECT_EQ(warnings,
              "WARNING: variable SPEED is locked\nWARNING: variable SPEED is locked\n"
              "WARNING: variable SPEED is locked\nVariable not found: NOPE\n");
    EXPECT_EQ(speed, 5);
    EXPECT_EQ(EngineVars->GetVarPtr("Speed"), &speed);

    Type("VarList");
    EXPECT_EQ(TakeMessages()[0], Fetch("SPEED=5 (locked)", 50).str());
    EngineVars->Unlock("Speed");
    Type("Set Speed 7");
    EXPECT_EQ(speed, 7);
}

TEST_F(VarsTest, ToggleFlipsBooleansOnly) {
    bool fps = false;
    EngineVars->RegisterVar("ShowFPS", fps);
    Type("Toggle showfps");
    EXPECT_TRUE(fps);
    Type("Set Width 800");
    CaptureStdout();
    Type("Toggle Width");
    Type("Toggle ShowFPS ");  // the whole argument text is the name
    Type("Toggle Nope");
    EXPECT_EQ(GetCapturedStdout(), "Only boolean variable can be toggled\n");
    EXPECT_TRUE(fps);
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(VarsTest, VarListPacksCellsByTheConsoleFontWidth) {
    Type("Set ConsoleFontName \"Lucida Console\"; Set A 1; Set B 2.5; Set C true");
    Type("VarList");
    std::vector<std::string> wide = TakeMessages();
    ASSERT_EQ(wide.size(), 3u);
    EXPECT_EQ(wide[0], (Fetch("CONSOLEFONTNAME=\"Lucida Console\"", 50) + Fetch("A=1", 50) + Fetch("B=2.500", 50)).str());
    EXPECT_EQ(wide[1], Fetch("C=True", 50).str());
    EXPECT_EQ(wide[2], "   4 variables registered");

    Type("Set ConsoleFontName Courier");
    Type("VarList");
    std::vector<std::string> narrow = TakeMessages();
    ASSERT_EQ(narrow.size(), 5u);
    EXPECT_EQ(narrow[0], Fetch("CONSOLEFONTNAME=\"Courier\"", 50).str());
    EXPECT_EQ(narrow[3], Fetch("C=True", 50).str());

    CaptureStdout();
    Type("VarList Nope");
    EXPECT_EQ(GetCapturedStdout(), "Variable not found: NOPE\n");
}

TEST_F(VarsTest, PercentTokensReadVariables) {
    Type("Set PlaneChassis tBiplane; Set Count 3; Set Ratio 0.5; Set Flag true");
    Type("Set Copy %PlaneChassis; Set N %count; Set R %Ratio; Set F %FLAG");
    Type("VarList Copy; VarList N; VarList R; VarList F");
    EXPECT_EQ(TakeMessages(), (std::vector<std::string>{"COPY=\"tBiplane\"", "N=3", "R=0.500", "F=True"}));

    // An unknown name is reported once, where a token is really replaced; the
    // token is empty and the rest of the line runs. Echo and Toggle take their
    // text as it stands, and Set reads two tokens only.
    Type("Set X %Missing; %Missing now; Echo still here");
    EXPECT_FALSE(EngineVars->IsVarDefined("X"));
    EXPECT_EQ(TakeMessages(), (std::vector<std::string>{"GetVar() variable not found: MISSING",
                                                        "Usage: SET <Var name> <Var value>",
                                                        "GetVar() variable not found: MISSING", "still here"}));
    Type("Echo Loading 50 %; Echo \"%nosuch\"; Toggle %x; Set a b %nosuch");
    EXPECT_EQ(TakeMessages(), (std::vector<std::string>{"Loading 50 %", "\"%nosuch\""}));
    EXPECT_TRUE(EngineVars->IsVarDefined("A"));
}
