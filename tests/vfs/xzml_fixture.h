#pragma once
// Script tests: XZML and parser input written as real files into Data/ and
// read back through the file system, and a visitor that records every call.

#include <memory>
#include <string>
#include <vector>

#include "kernel/vfs/parametrizable.h"
#include "kernel/vfs/parser.h"
#include "kernel/vfs/xzml.h"
#include "vfs/vfsfixture.h"

// Records "P NAME=value", "B NAME" and "E NAME" in call order.
class tRecordingVisitor : public tParametrizable {
    Z_DECLARE_CLASS(tRecordingVisitor, tParametrizable)
public:
    void AcceptParameter(const ShortString& Name, const ShortString& Value) override {
        Calls.push_back("P " + Name.str() + "=" + Value.str());
    }
    void BeginSection(const ShortString& Name) override { Calls.push_back("B " + Name.str()); }
    void EndSection(const ShortString& Name) override { Calls.push_back("E " + Name.str()); }
    std::vector<std::string> Calls;
};

class XZMLTest : public VFSTest {
protected:
    // A reader on Bytes written as Data/<Name> (a path with "/" separators).
    std::unique_ptr<tXZMLStream> Reader(const std::string& Bytes, const std::string& Name = "script.txt") {
        Work.WriteFile("Data/" + Name, Bytes);
        if (FS) tZObject::DisposeObject(FS);  // the tree sees files present when it is built
        return Mapped().CreateFileReader(Name, {});
    }
    std::unique_ptr<tParser> Parser(const std::string& Text) { return std::unique_ptr<tParser>(Reader(Text)->GetParser()); }

    // The tree of Text (nullptr when there is none) and the builder's error code.
    tXZMLTreeNode* Tree(const std::string& Text, int32_t* ErrorCode = nullptr) {
        std::unique_ptr<tParser> P = Parser(Text);
        tFileXZMLTreeBuilder Builder(*P);
        tXZMLTreeNode* T = Builder.GetTree();
        if (ErrorCode) *ErrorCode = Builder.ErrorCode;
        return T;
    }
    // What a visitor receives from the tree of Text.
    std::vector<std::string> Visit(const std::string& Text) {
        tXZMLTreeNode* T = Tree(Text);
        EXPECT_NE(T, nullptr) << Text;
        if (!T) return {};
        auto* V = NewObject<tRecordingVisitor>();
        T->AcceptVisitor(*V);
        std::vector<std::string> Calls = V->Calls;
        tZObject::DisposeObject(V);
        tZObject::DisposeObject(T);
        return Calls;
    }
};
