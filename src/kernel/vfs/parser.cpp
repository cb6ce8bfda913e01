#include "kernel/vfs/parser.h"

#include <cstring>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/stream.h"
#include "kernel/core/strutils.h"

namespace {
constexpr char Blank = ' ';
constexpr char Tab = 9;
constexpr char Quote = '"';
}  // namespace

bool tSimpleParser::IsDelimiter(char C) { return C != 0 && std::strchr("\"#%&()*+,-/:;=\\^{}", C) != nullptr; }

tSimpleParser::tSimpleParser(tIStream& Stream) {
    if (Stream.EOF() || Stream.GetSize() < 0) Logger->Fatal("Invalid input stream for parser !");
    // Room for the usual text: its lines, their line ends and the end mark.
    Buffer.reserve(static_cast<std::size_t>(Stream.GetSize()) * 2);
    ShortString Line;
    while (!Stream.EOF()) {
        Stream.ReadLine(Line);
        AddString(Line);
    }
    Buffer += TextEnd;
}

void tSimpleParser::AddString(const ShortString& Line) {
    Buffer.append(Line.data(), Line.size());
    Buffer += LineEnd;
}

char tSimpleParser::NextChar() {
    if (BufPos < 0 || BufPos >= static_cast<int32_t>(Buffer.size())) return TextEnd;
    return Buffer[static_cast<std::size_t>(BufPos++)];
}

void tSimpleParser::SkipBlanks() {
    while (BufPos >= 0 && BufPos < static_cast<int32_t>(Buffer.size()) && Buffer[static_cast<std::size_t>(BufPos)] == Blank)
        ++BufPos;
}

void tSimpleParser::NextAtom() {
    Token.clear();
    TokenType = TOKEN_UNKNOWN;
    if (BufPos < 0 || BufPos >= static_cast<int32_t>(Buffer.size())) {
        TokenType = TOKEN_EOF;
        return;
    }
    if (Buffer[static_cast<std::size_t>(BufPos)] == Blank) {
        SkipBlanks();
        Token = " ";
        TokenType = TOKEN_DELIMITER;
        return;
    }
    char C = NextChar();
    if (C == LineEnd) {
        TokenType = TOKEN_EOLN;
    } else if (C == TextEnd) {
        TokenType = TOKEN_EOF;
    } else if (IsDelimiter(C)) {
        Token = ShortString(C);
        TokenType = TOKEN_DELIMITER;
    } else {
        Token = ShortString(C);
        TokenType = TOKEN_STRING;
        while (BufPos < static_cast<int32_t>(Buffer.size())) {
            char Next = Buffer[static_cast<std::size_t>(BufPos)];
            if (IsDelimiter(Next) || Next == Tab || Next == LineEnd || Next == TextEnd || Next == Blank) break;
            Token += Next;  // beyond 255 characters the text is dropped
            ++BufPos;
        }
    }
}

void tSimpleParser::NextToken() {
    do NextAtom();
    while (AtBlankToken());
}

void tSimpleParser::NextToken_SkipLines() {
    SkipBlanks();
    NextAtom();
    while ((TokenType == TOKEN_DELIMITER && Token == ";") || TokenType == TOKEN_EOLN) {
        if (Token == ";") {
            // A comment runs to the end of its line.
            while (!AtTextEnd() && NextChar() != LineEnd) {
            }
        }
        SkipBlanks();
        NextAtom();
    }
}

void tSimpleParser::GetString(ShortString& S) {
    if (!(TokenType == TOKEN_DELIMITER && Token == "\""))
        Logger->Fatal("\" expected at the beginning of string !");
    S.clear();
    // An unterminated string runs to the end of the text.
    while (!AtTextEnd()) {
        char C = NextChar();
        if (C == Quote) break;
        S += C;
    }
    Token = "\"";
    TokenType = TOKEN_DELIMITER;
}

void tSimpleParser::GetStringToEnd(ShortString& S) {
    S.clear();
    if (TokenType == TOKEN_EOLN || TokenType == TOKEN_EOF) return;
    while (!AtTextEnd()) {
        char C = NextChar();
        if (C == LineEnd) break;
        S += C;
    }
}

void tSimpleParser::GetNumber(float& V) {
    NextAtom();
    float Sign = 1;
    if (Token[0] == '-') {
        Sign = -1;
        NextAtom();
    }
    V = Str2Flt(Token) * Sign;
}

void tSimpleParser::PushPosition() {
    if (StackPos >= StackSize - 1) Logger->Fatal("Invalid PushPosition in Parser : StackPos > 98");
    Stack[++StackPos] = BufPos;
}

void tSimpleParser::PopPosition() {
    if (StackPos < 1) Logger->Fatal("Invalid PopPosition in Parser : StackPos < 1");
    --StackPos;
}

void tSimpleParser::RestorePosition() {
    if (StackPos < 1) Logger->Fatal("Invalid RestorePosition in Parser : StackPos < 1");
    BufPos = Stack[StackPos--];
}
