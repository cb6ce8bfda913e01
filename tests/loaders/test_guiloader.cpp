#include <gtest/gtest.h>

#include <memory>

#include "kernel/loaders/guiloader.h"
#include "loaders/loaders_fixture.h"

namespace {

// Keeps its creation parameters and every property it was given.
class tRecordingAtom : public tGUIAtom {
    Z_DECLARE_CLASS(tRecordingAtom, tGUIAtom)
public:
    explicit tRecordingAtom(const ShortString& Params) : tGUIAtom(Params), Params(Params.str()) {}
    void Render() override {}
    void AddParameter(const ShortString& Name, const ShortString& Value) override {
        tGUIAtom::AddParameter(Name, Value);
        Properties.push_back(Name.str() + "=" + Value.str());
    }
    std::string Params;
    std::vector<std::string> Properties;
};

// A loaded list that disposes its atoms with itself.
struct tDisposeAtoms {
    void operator()(tAtomsList* L) const {
        L->DeallocateAllItems();
        delete L;
    }
};
using tLoadedAtoms = std::unique_ptr<tAtomsList, tDisposeAtoms>;

class GUILoaderTest : public LoaderTest {
protected:
    void SetUp() override {
        LoaderTest::SetUp();
        Linker->AddClass(tRecordingAtom::StaticClass(CT_SpawnableConstructor));
    }

    // The atoms of Layout, through the loader registered for ".gui" files.
    tLoadedAtoms Load(const std::string& Layout) {
        auto* Loader = LoaderFor<tUserInterfaceLoader>("tUserInterfaceLoader", "UI\\Layout.Gui");
        tLoadedAtoms List(Loader->LoadGUI(*Reader(Layout, "layout.gui")));
        tZObject::DisposeObject(Loader);
        return List;
    }
    static tRecordingAtom* At(const tAtomsList& L, int32_t I) { return static_cast<tRecordingAtom*>(L.GetAtom(I)); }
};

using Strings = std::vector<std::string>;

// Message as a death test's regular expression that matches it literally.
std::string Literally(const std::string& Message) {
    std::string R;
    for (char C : Message) {
        if (std::string_view("\\^$.|?*+()[]{}").find(C) != std::string_view::npos) R += '\\';
        R += C;
    }
    return R;
}

}  // namespace

Z_IMPLEMENT_CLASS(tRecordingAtom, .Operations = {{"Render"}})

TEST_F(GUILoaderTest, ObjectsParametersPropertiesAndChildrenInFileOrder) {
    auto L = Load("; a window\r\n"
                  "GUIObject \"tRecordingAtom\"\r\n{\r\n"
                  "   Param \"0.5 0.25 0.5 0.5 Panel\"\r\n"
                  "   ID \"panel\"\r\n"
                  "   font \"Lucida Console\" ; a comment after a value\r\n"
                  "   GUIObject \"tRecordingAtom\" { Param \"0\" Param \"0 1 1 Two words\" TEXTITEM { \"first line\" } }\r\n"
                  "   LIST { \"one\" \"two\" }\r\n"
                  "   EMPTY { }\r\n"
                  "}\r\n"
                  "GUIObject \"tRecordingAtom\" { }\r\n");
    ASSERT_EQ(L->GetTotalItems(), 2);
    tRecordingAtom* Panel = At(*L, 1);
    EXPECT_EQ(Panel->Params, "0.5 0.25 0.5 0.5 Panel");
    EXPECT_EQ(Panel->GetAtomID(), "panel");
    // Names are upper-cased; a one-element list loses its quotes, a longer one keeps them.
    EXPECT_EQ(Panel->Properties, (Strings{"ID=panel", "FONT=Lucida Console", "LIST=\"one\" \"two\"", "EMPTY="}));
    ASSERT_EQ(Panel->GetChildsNumber(), 1);
    auto* Child = static_cast<tRecordingAtom*>(Panel->GetChild(1));
    EXPECT_EQ(Child->GetParentAtom(), Panel);
    // A later creation parameter arrives quoted, after one blank.
    EXPECT_EQ(Child->Params, "0 \"0 1 1 Two words\"");
    EXPECT_EQ(Child->Properties, (Strings{"TEXTITEM=first line"}));
    EXPECT_EQ(At(*L, 2)->Params, "");
    EXPECT_TRUE(At(*L, 2)->Properties.empty());

    EXPECT_EQ(Load("; only a comment\r\n\r\n")->GetTotalItems(), 0);
}

TEST_F(GUILoaderTest, SyntaxErrorsAreFatalWithTheirMessages) {
    const auto Fails = [&](const std::string& Layout, const std::string& Message) {
        EXPECT_EXIT(Load(Layout), ::testing::ExitedWithCode(255), Literally(Message)) << Layout;
    };
    Fails("guiobject \"tRecordingAtom\" { }", "GUIObject expected in *.gui file");
    Fails("GUIObject tRecordingAtom { }", "\" not found ...");
    Fails("GUIObject \"tRecordingAtom\" Param", "\"{\" expected in *.gui stream !");
    Fails("GUIObject \"tRecordingAtom\" { ID \"x\" Param \"0\" }", "param between GUIObjects !");
    Fails("GUIObject \"tRecordingAtom\" { Param 0 }", "<\"> expected after Param");
    Fails("GUIObject \"tRecordingAtom\" { LIST { \"a\" b } }", "\" exepected in paramList !");
    Fails("GUIObject \"tRecordingAtom\" { ID x }", "{ expected at the beginning of ParamList");
    // Only GUI classes are made from a layout; an unknown class is the registry's error.
    Fails("GUIObject \"tBMPLoader\" { }", "Error loading GUIObject");
    Fails("GUIObject \"tNoSuchAtom\" { }", "class not found: TNOSUCHATOM");
    // A file that ends inside an object, and a runaway nesting, end cleanly.
    Fails("GUIObject \"tRecordingAtom\" { ID \"x\"", "\"}\" expected at the end of GUIObject tRecordingAtom");
    std::string Deep;
    for (int I = 0; I <= tGUILoader::MaxNesting; ++I) Deep += "GUIObject \"tRecordingAtom\" {\r\n";
    Fails(Deep, "GUI objects nested deeper than 32");
}
