#include "kernel/vfs/xzml.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/stream.h"
#include "kernel/core/strutils.h"
#include "kernel/vfs/parametrizable.h"
#include "kernel/vfs/parser.h"

Z_IMPLEMENT_CLASS(tXZMLTreeNode, .Operations = {{"AcceptVisitor", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tHeaderNode, .Operations = {{"AcceptVisitor"}})
Z_IMPLEMENT_CLASS(tSectionNode, .Operations = {{"AcceptVisitor"}})
Z_IMPLEMENT_CLASS(tParamNode, .Operations = {{"AcceptVisitor"}})
Z_IMPLEMENT_CLASS(tResourceFileNode, .Operations = {{"AcceptVisitor"}})

namespace {
constexpr std::size_t HeaderMarkLength = 2;   // "!!"
constexpr std::size_t ResourceTypeLength = 3;  // "ZSS", "ZHM", ...
}  // namespace

// ---- Nodes -----------------------------------------------------------------

tXZMLTreeNode* tXZMLTreeNodesList::GetNode(int32_t I) const { return static_cast<tXZMLTreeNode*>(GetObject(I)); }

tSectionNode::tSectionNode(const ShortString& SectionName, const ShortString& ID)
    : tXZMLTreeNode(SectionName), SectionID(ID), NodeList(std::make_unique<tXZMLTreeNodesList>()) {}

tSectionNode::~tSectionNode() { NodeList->DeallocateAllItems(); }

void tSectionNode::AddChild(tXZMLTreeNode* Node) { NodeList->AddItem(Node->AllocateListItem()); }

tResourceFileNode::~tResourceFileNode() {
    if (HeaderNode) DisposeObject(HeaderNode);
    if (ResourceContainer) DisposeObject(ResourceContainer);
}

void tResourceFileNode::AcceptVisitor(tParametrizable& V) {
    if (!HeaderNode || !ResourceContainer) return;
    HeaderNode->AcceptVisitor(V);
    ResourceContainer->AcceptVisitor(V);
}

void tHeaderNode::AcceptVisitor(tParametrizable& V) {
    V.AcceptParameter("RESOURCETYPE", UpCaseStr(ResourceType));
    V.AcceptParameter("RESOURCEVERSION", Version);
}

void tSectionNode::AcceptVisitor(tParametrizable& V) {
    ShortString UpperName = UpCaseStr(Name);
    V.BeginSection(UpperName);
    for (int32_t I = 1; I <= NodeList->GetTotalItems(); ++I) NodeList->GetNode(I)->AcceptVisitor(V);
    V.EndSection(UpperName);
}

void tParamNode::AcceptVisitor(tParametrizable& V) { V.AcceptParameter(UpCaseStr(Name), ParameterValue); }

// ---- Builder ---------------------------------------------------------------

tHeaderNode* tFileXZMLTreeBuilder::ReadHeader() {
    P.NextToken_SkipLines();
    if (P.TokenType == TOKEN_EOF) {
        ErrorCode = XZML_UNEXPECTED_END;
        return nullptr;
    }
    if (P.Token.substr(0, HeaderMarkLength) != ShortString("!!")) {
        ErrorCode = XZML_NO_HEADER;
        return nullptr;
    }
    return NewObject<tHeaderNode>(P.Token.substr(HeaderMarkLength, ResourceTypeLength),
                                  P.Token.substr(HeaderMarkLength + ResourceTypeLength));
}

tResourceFileNode* tFileXZMLTreeBuilder::ReadFile() {
    tOwned<tHeaderNode> Header(ReadHeader());
    if (!Header) return nullptr;
    tSectionNode* Top = ReadSection("");
    if (!Top) return nullptr;
    ErrorCode = XZML_OK;
    return NewObject<tResourceFileNode>(Header.release(), Top);
}

tSectionNode* tFileXZMLTreeBuilder::ReadSection(const ShortString& ParentName) {
    P.NextToken_SkipLines();
    if (P.TokenType == TOKEN_EOF) {
        ErrorCode = XZML_UNEXPECTED_END;
        return nullptr;
    }
    ShortString Name = P.Token;
    const int32_t NameEnd = P.GetPosition();
    if (auto Failed = FailedSections.find(NameEnd); Failed != FailedSections.end()) {
        ErrorCode = Failed->second;
        return nullptr;
    }
    tSectionNode* Section = ReadSectionBody(Name);
    if (!Section) FailedSections.emplace(NameEnd, ErrorCode);
    return Section;
}

tSectionNode* tFileXZMLTreeBuilder::ReadSectionBody(const ShortString& Name) {
    ShortString ID;

    // The identifier part is optional and starts on the name's line.
    P.PushPosition();
    P.NextToken();
    if (P.Token == "(") {
        P.NextToken();
        if (P.Token != "\"") {
            ErrorCode = XZML_NOT_A_SECTION;
            P.PopPosition();
            return nullptr;
        }
        P.GetString(ID);
        P.NextToken();
        if (P.Token != ")") Logger->Fatal("No ) at the end of section header");
        P.PopPosition();
    } else {
        P.RestorePosition();
    }

    P.NextToken_SkipLines();
    if (P.Token != "{") {
        ErrorCode = XZML_NOT_A_SECTION;
        return nullptr;
    }
    tOwned<tSectionNode> Section(NewObject<tSectionNode>(Name, ID));
    while (tXZMLTreeNode* Item = ReadSectionItem(Name)) Section->AddChild(Item);

    P.NextToken_SkipLines();
    if (P.Token != "}") {
        ErrorCode = XZML_SECTION_NOT_CLOSED;
        return nullptr;
    }
    return Section.release();
}

tXZMLTreeNode* tFileXZMLTreeBuilder::ReadSectionItem(const ShortString& ParentName) {
    // An item is a section exactly when its name is followed by "{".
    P.PushPosition();
    if (tSectionNode* Section = ReadSection(ParentName)) {
        P.PopPosition();
        return Section;
    }
    P.RestorePosition();
    P.PushPosition();
    if (tParamNode* Param = ReadParam(ParentName)) {
        P.PopPosition();
        return Param;
    }
    P.RestorePosition();
    return nullptr;
}

tParamNode* tFileXZMLTreeBuilder::ReadParam(const ShortString& ParentName) {
    P.NextToken_SkipLines();
    if (P.TokenType == TOKEN_EOF) {
        ErrorCode = XZML_UNEXPECTED_END;
        return nullptr;
    }
    // The end of the enclosing section, whose reader reads the "}" again.
    if (P.Token == "}") return nullptr;
    ShortString Name = P.Token;
    ShortString Value;
    P.GetStringToEnd(Value);
    return NewObject<tParamNode>(Name, Trim(Value));
}

tXZMLTreeNode* BuildXZMLTreeFrom(tIStream& Stream) {
    std::unique_ptr<tParser> Parser(Stream.GetParser());
    tFileXZMLTreeBuilder Builder(*Parser);
    tXZMLTreeNode* Tree = Builder.GetTree();
    if (!Tree) Logger->Fatal("Unable to parse XZML script !");
    return Tree;
}
