#pragma once
// XZML trees: a header token ("!!" + three-letter resource type + version)
// followed by one tree of named sections holding parameters and further
// sections. The builder reads the grammar through a tParser; a tree delivers
// itself to a tParametrizable visitor with names upper-cased.

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "kernel/core/shortstring.h"
#include "kernel/objects/lists.h"
#include "kernel/objects/zobject.h"

class tIStream;
class tParser;
class tParametrizable;

// Node constructors default every argument: the class descriptor builds a
// factory for each non-abstract class.
class tXZMLTreeNode : public tZObject {
    Z_DECLARE_CLASS(tXZMLTreeNode, tZObject)
public:
    explicit tXZMLTreeNode(const ShortString& NodeName) : Name(NodeName) {}
    // Delivers this node and everything below it to V.
    virtual void AcceptVisitor(tParametrizable& V) = 0;

    ShortString Name;
};

class tXZMLTreeNodesList : public tList {
public:
    tXZMLTreeNodesList() : tList("tXZMLTreeNode") {}
    // The I-th node, counted from 1; nullptr out of range.
    tXZMLTreeNode* GetNode(int32_t I) const;
};

class tHeaderNode : public tXZMLTreeNode {
    Z_DECLARE_CLASS(tHeaderNode, tXZMLTreeNode)
public:
    explicit tHeaderNode(const ShortString& Type = "", const ShortString& Ver = "")
        : tXZMLTreeNode("ResourceHeader"), Version(Ver), ResourceType(Type) {}
    void AcceptVisitor(tParametrizable& V) override;

    ShortString Version;
    ShortString ResourceType;
};

class tSectionNode : public tXZMLTreeNode {
    Z_DECLARE_CLASS(tSectionNode, tXZMLTreeNode)
public:
    explicit tSectionNode(const ShortString& SectionName = "", const ShortString& ID = "");
    // Disposes every child.
    ~tSectionNode() override;
    void AcceptVisitor(tParametrizable& V) override;
    void AddChild(tXZMLTreeNode* Node);

    ShortString SectionID;  // empty when the section has none
    std::unique_ptr<tXZMLTreeNodesList> NodeList;
};

class tParamNode : public tXZMLTreeNode {
    Z_DECLARE_CLASS(tParamNode, tXZMLTreeNode)
public:
    explicit tParamNode(const ShortString& ParamName = "", const ShortString& Value = "")
        : tXZMLTreeNode(ParamName), ParameterValue(Value) {}
    void AcceptVisitor(tParametrizable& V) override;

    ShortString ParameterValue;
};

class tResourceFileNode : public tXZMLTreeNode {
    Z_DECLARE_CLASS(tResourceFileNode, tXZMLTreeNode)
public:
    // Takes both nodes over.
    explicit tResourceFileNode(tHeaderNode* Header = nullptr, tSectionNode* Section = nullptr)
        : tXZMLTreeNode("ResourceFile"), HeaderNode(Header), ResourceContainer(Section) {}
    ~tResourceFileNode() override;
    void AcceptVisitor(tParametrizable& V) override;

    tHeaderNode* HeaderNode;
    tSectionNode* ResourceContainer;  // the top section
};

class tXZMLTreeBuilder {
public:
    tXZMLTreeBuilder() = default;
    virtual ~tXZMLTreeBuilder() = default;
    tXZMLTreeBuilder(const tXZMLTreeBuilder&) = delete;
    tXZMLTreeBuilder& operator=(const tXZMLTreeBuilder&) = delete;

    // A new tree, owned by the caller, or nullptr.
    virtual tXZMLTreeNode* GetTree() = 0;
};

enum tXZMLError : int32_t {
    XZML_OK = 0,
    XZML_NO_HEADER = 1,
    XZML_UNEXPECTED_END = 2,  // end of text where more was required
    XZML_NOT_A_SECTION = 3,
    XZML_SECTION_NOT_CLOSED = 4,
};

class tFileXZMLTreeBuilder : public tXZMLTreeBuilder {
public:
    // Reads from Parser, which stays the caller's.
    explicit tFileXZMLTreeBuilder(tParser& Parser) : P(Parser) {}
    tXZMLTreeNode* GetTree() override { return ReadFile(); }

    int32_t ErrorCode = XZML_OK;

private:
    tHeaderNode* ReadHeader();
    tResourceFileNode* ReadFile();
    tSectionNode* ReadSection(const ShortString& ParentName);
    // What follows a section's name: the identifier part, "{", items, "}".
    tSectionNode* ReadSectionBody(const ShortString& Name);
    tXZMLTreeNode* ReadSectionItem(const ShortString& ParentName);
    tParamNode* ReadParam(const ShortString& ParentName);

    tParser& P;
    // Sections that failed, by the position after their name, with their
    // error code. A failed section is read again as a parameter and its lines
    // as items of the enclosing section; without this record every unclosed
    // level would double the work of the levels around it.
    std::unordered_map<int32_t, int32_t> FailedSections;
};

// The XZML tree of a stream's text: a new parser and builder, both disposed
// before returning; a text without a tree is fatal. The caller owns the tree.
tXZMLTreeNode* BuildXZMLTreeFrom(tIStream& Stream);
