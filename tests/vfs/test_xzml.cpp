#include <gtest/gtest.h>

#include "kernel/objects/registry.h"
#include "vfs/xzml_fixture.h"

Z_IMPLEMENT_CLASS(tRecordingVisitor)

namespace {

using Calls = std::vector<std::string>;

const char* const Example =
    "; comment lines and blank lines may come anywhere between items\r\n"
    "!!ZHM1.0\r\n"
    "Outer\r\n"
    "{\r\n"
    "   Size   10 20\r\n"
    "\r\n"
    "   ; the inner section\r\n"
    "   Inner ( \"first\" )\r\n"
    "   {\r\n"
    "      Path  Data\\x.raw\r\n"
    "   }\r\n"
    "}\r\n"
    "anything after the top section is ignored\r\n";

// "!!ZSS1.1 Top { <Body> }" laid out over lines.
std::string Script(const std::string& Body) { return "!!ZSS1.1\r\nTop\r\n{\r\n" + Body + "}\r\n"; }

// A chain of Depth nested sections, the innermost holding one parameter.
std::string Nested(int Depth) {
    std::string S = "!!ZHM1.0\n";
    for (int I = 0; I < Depth; ++I) S += "S" + std::to_string(I) + " {\n";
    S += "Leaf 1\n";
    for (int I = 0; I < Depth; ++I) S += "}\n";
    return S;
}

}  // namespace

TEST_F(XZMLTest, TreeOfTheExampleFile) {
    tXZMLTreeNode* T = Tree(Example);
    ASSERT_NE(T, nullptr);
    auto* File = dynamic_cast<tResourceFileNode*>(T);
    ASSERT_NE(File, nullptr);
    EXPECT_EQ(File->Name, "ResourceFile");
    EXPECT_EQ(File->HeaderNode->Name, "ResourceHeader");
    EXPECT_EQ(File->HeaderNode->ResourceType, "ZHM");
    EXPECT_EQ(File->HeaderNode->Version, "1.0");
    tSectionNode* Outer = File->ResourceContainer;
    EXPECT_EQ(Outer->Name, "Outer");
    EXPECT_EQ(Outer->SectionID, "");
    ASSERT_EQ(Outer->NodeList->GetTotalItems(), 2);
    auto* Size = dynamic_cast<tParamNode*>(Outer->NodeList->GetNode(1));
    ASSERT_NE(Size, nullptr);
    EXPECT_EQ(Size->Name, "Size");
    EXPECT_EQ(Size->ParameterValue, "10 20");
    auto* Inner = dynamic_cast<tSectionNode*>(Outer->NodeList->GetNode(2));
    ASSERT_NE(Inner, nullptr);
    EXPECT_EQ(Inner->SectionID, "first");
    auto* Path = dynamic_cast<tParamNode*>(Inner->NodeList->GetNode(1));
    ASSERT_NE(Path, nullptr);
    EXPECT_EQ(Path->ParameterValue, "Data\\x.raw");
    EXPECT_EQ(Outer->NodeList->GetNode(3), nullptr);
    tZObject::DisposeObject(T);
}

TEST_F(XZMLTest, VisitorSeesUpperCaseNamesAndValuesAsWritten) {
    EXPECT_EQ(Visit("!!zss1.1\r\ntexture ( \"Id\" ) {\r\n  Mixed   Mixed Case  \r\n  inner{\r\n  }\r\n}\r\n"),
              (Calls{"P RESOURCETYPE=ZSS", "P RESOURCEVERSION=1.1", "B TEXTURE", "P MIXED=Mixed Case", "B INNER",
                     "E INNER", "E TEXTURE"}));
}

TEST_F(XZMLTest, SectionHeadersAcrossLinesAndParameterValues) {
    // A name directly before "(", "{" on the next line, an identifier with "{"
    // two lines later behind a comment line.
    EXPECT_EQ(Visit(Script("A(\"1\")\r\n{\r\n}\r\nB\r\n{\r\n}\r\nC ( \"x\" )\r\n; between\r\n{\r\n}\r\n")),
              (Calls{"P RESOURCETYPE=ZSS", "P RESOURCEVERSION=1.1", "B TOP", "B A", "E A", "B B", "E B", "B C", "E C",
                     "E TOP"}));
    // Values are raw, trimmed; a bare name has the empty value; a tab-indented
    // line's name carries the tab.
    EXPECT_EQ(Visit(Script("Value   a b ; c\r\nQuoted \"q\" {x}\r\nEmpty\r\n\tTabbed 1\r\n")),
              (Calls{"P RESOURCETYPE=ZSS", "P RESOURCEVERSION=1.1", "B TOP", "P VALUE=a b ; c", "P QUOTED=\"q\" {x}",
                     "P EMPTY=", "P \tTABBED=1", "E TOP"}));
}

TEST_F(XZMLTest, TextsWithoutATree) {
    Linker = NewObject<tObjectsLinker>();
    int32_t Code = -1;
    EXPECT_EQ(Tree("!!ZSS1.1\r\n", &Code), nullptr);
    EXPECT_EQ(Code, XZML_UNEXPECTED_END);
    EXPECT_EQ(Tree("; only a comment\r\n", &Code), nullptr);
    EXPECT_EQ(Code, XZML_UNEXPECTED_END);
    EXPECT_EQ(Tree("ZSS1.1\r\nTop {\r\n}\r\n", &Code), nullptr);
    EXPECT_EQ(Code, XZML_NO_HEADER);
    EXPECT_EQ(Tree("!!ZSS1.1\r\nTop\r\nx 1\r\n", &Code), nullptr);
    EXPECT_EQ(Code, XZML_NOT_A_SECTION);
    EXPECT_EQ(Tree("!!ZSS1.1\r\nTop ( unquoted ) {\r\n}\r\n", &Code), nullptr);
    EXPECT_EQ(Code, XZML_NOT_A_SECTION);
    EXPECT_EQ(Tree("!!ZSS1.1\r\nTop {\r\n  Inner {\r\n    x 1\r\n  }\r\n", &Code), nullptr);
    EXPECT_EQ(Code, XZML_SECTION_NOT_CLOSED);
    // Every node of the failed attempts has been disposed again: only the
    // file system is left alive.
    EXPECT_EQ(Linker->ObjectsGraph().GetTotalItems(), 1);
    tZObject::DisposeObject(FS);
    tZObject::DisposeObject(Linker);
}

TEST_F(XZMLTest, ReadersBuildTreesOrStopWithTheScriptMessages) {
    tXZMLTreeNode* T = Reader(Example)->BuildXZMLTree();
    ASSERT_NE(T, nullptr);
    tZObject::DisposeObject(T);
    EXPECT_EXIT(Reader("Top {\r\n}\r\n")->BuildXZMLTree(), ::testing::ExitedWithCode(255),
                "Unable to parse XZML script !");
    EXPECT_EXIT(Reader("!!ZSS1.1\r\nTop ( \"id\" {\r\n}\r\n")->BuildXZMLTree(), ::testing::ExitedWithCode(255),
                "No \\) at the end of section header");
    auto* V = NewObject<tRecordingVisitor>();
    EXPECT_EXIT(V->UnknownToken("Blend", "one \"two\""), ::testing::ExitedWithCode(255),
                "Unknown token:\rParamName: \"Blend\"\rParamValue: \"one \"two\"\"");
    tZObject::DisposeObject(V);
}

TEST_F(XZMLTest, UnclosedSectionsAreGivenUpOnce) {
    // Each unclosed level is read again as a parameter and its lines as items
    // of the level above; sixty levels must not take 2^60 attempts.
    std::string Text = "!!ZSS1.1\nTop {\n";
    for (int I = 0; I < 60; ++I) Text += "a {\n  p 1\n  done { }\n";
    int32_t Code = -1;
    EXPECT_EQ(Tree(Text, &Code), nullptr);
    EXPECT_EQ(Code, XZML_SECTION_NOT_CLOSED);
    // An item whose header is no section's is read as a parameter.
    EXPECT_EQ(Visit("!!ZSS1.1\nTop {\n  a ( x )\n  b { }\n}\n"),
              (Calls{"P RESOURCETYPE=ZSS", "P RESOURCEVERSION=1.1", "B TOP", "P A=( x )", "B B", "E B", "E TOP"}));
}

TEST_F(XZMLTest, SectionsNestNinetyEightLevelsDeep) {
    tXZMLTreeNode* T = Tree(Nested(98));
    ASSERT_NE(T, nullptr);
    tZObject::DisposeObject(T);
    EXPECT_EXIT(Tree(Nested(99)), ::testing::ExitedWithCode(255), "Invalid PushPosition in Parser");
}
