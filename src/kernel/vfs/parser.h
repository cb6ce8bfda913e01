#pragma once
// The text tokenizer of resource scripts and GUI layouts. tSimpleParser copies
// a stream's whole text into memory (each line ended by CR, the text by the
// character 26) and hands out tokens; a stack of saved positions lets the
// XZML tree builder back up.

#include <cstdint>
#include <string>

#include "kernel/core/shortstring.h"

class tIStream;

enum tTokenType : int32_t {
    TOKEN_UNKNOWN = 0,
    TOKEN_DELIMITER = 1,
    TOKEN_STRING = 2,
    TOKEN_NUMBER = 3,
    TOKEN_CHAR = 4,
    TOKEN_EOLN = 5,
    TOKEN_EOF = 6,
    TOKEN_ERROR = 7,
};

class tParser {
public:
    tParser() = default;
    virtual ~tParser() = default;
    tParser(const tParser&) = delete;
    tParser& operator=(const tParser&) = delete;

    // A number, with a leading "-" as its sign; text that is not one reads 0.
    virtual void GetNumber(float& V) = 0;
    // With the current token a double quote: the raw text up to the next one.
    virtual void GetString(ShortString& S) = 0;
    // The raw rest of the current line.
    virtual void GetStringToEnd(ShortString& S) = 0;
    // The next token, skipping blanks; a line end is a TOKEN_EOLN token.
    virtual void NextToken() = 0;
    // The next token, skipping blanks, line ends and ";" comments.
    virtual void NextToken_SkipLines() = 0;
    virtual void PushPosition() = 0;
    virtual void PopPosition() = 0;
    virtual void RestorePosition() = 0;
    // The reading position, as a number that tells places in the text apart.
    virtual int32_t GetPosition() const = 0;

    ShortString Token;
    tTokenType TokenType = TOKEN_UNKNOWN;
};

class tSimpleParser : public tParser {
public:
    static constexpr int32_t StackSize = 100;  // entries 1..99 are used
    static constexpr char LineEnd = 13;
    static constexpr char TextEnd = 26;

    // Reads the stream's whole text; an empty stream is fatal.
    explicit tSimpleParser(tIStream& Stream);

    void GetNumber(float& V) override;
    void GetString(ShortString& S) override;
    void GetStringToEnd(ShortString& S) override;
    void NextToken() override;
    void NextToken_SkipLines() override;
    void PushPosition() override;
    void PopPosition() override;
    void RestorePosition() override;
    int32_t GetPosition() const override { return BufPos; }

    // The 18 characters that form tokens of their own.
    static bool IsDelimiter(char C);

    int32_t StackPos = 0;
    int32_t Stack[StackSize] = {};
    int32_t BufPos = 0;  // 0-based index of the next character

private:
    void AddString(const ShortString& Line);
    // The next character, or TextEnd without advancing past the text.
    char NextChar();
    // Reads one raw token.
    void NextAtom();
    void SkipBlanks();
    bool AtBlankToken() const { return TokenType == TOKEN_DELIMITER && Token == " "; }
    // Whether the next character is the one that ends the whole text.
    bool AtTextEnd() const { return BufPos < 0 || BufPos >= static_cast<int32_t>(Buffer.size()) - 1; }

    std::string Buffer;
};
