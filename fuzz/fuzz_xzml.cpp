// XZML scripts: the tokenizer, the tree builder with its backtracking, and a
// visit of every tree built; then the same text walked token by token with
// the string and number readers the GUI loader uses.

#include "fuzzsupport.h"
#include "kernel/vfs/parametrizable.h"
#include "kernel/vfs/parser.h"
#include "kernel/vfs/xzml.h"

namespace {

class tNullVisitor : public tParametrizable {
    Z_DECLARE_CLASS(tNullVisitor, tParametrizable)
public:
    void AcceptParameter(const ShortString&, const ShortString&) override {}
};
Z_IMPLEMENT_CLASS(tNullVisitor)

constexpr int MaxTokens = 100000;

void WalkTokens(tParser& P) {
    for (int I = 0; I < MaxTokens && P.TokenType != TOKEN_EOF; ++I) {
        P.NextToken_SkipLines();
        ShortString S;
        float V;
        if (P.Token == "\"") P.GetString(S);
        else if (P.Token == "=") P.GetStringToEnd(S);
        else if (P.Token == "#") P.GetNumber(V);
        else if (P.Token == "(") P.PushPosition();
        else if (P.Token == ")") P.PopPosition();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    InitFuzzEngine();
    static tNullVisitor* Visitor = NewObject<tNullVisitor>();
    std::string_view Text(reinterpret_cast<const char*>(Data), Size);
    RejectingFatals([&] {
        tMemoryStream Script(Text);
        tSimpleParser P(Script);
        tFileXZMLTreeBuilder Builder(P);
        tOwned<tXZMLTreeNode> Tree(Builder.GetTree());
        if (Tree) Tree->AcceptVisitor(*Visitor);
    });
    RejectingFatals([&] {
        tMemoryStream Script(Text);
        tSimpleParser P(Script);
        WalkTokens(P);
    });
    return 0;
}
