#include <gtest/gtest.h>

#include "vfs/xzml_fixture.h"

namespace {

using Tokens = std::vector<std::string>;

// "type:text" for each token up to the end, read with NextToken.
Tokens ReadAll(tParser& P, bool SkipLines = false) {
    Tokens T;
    for (int Guard = 0; Guard < 1000; ++Guard) {
        SkipLines ? P.NextToken_SkipLines() : P.NextToken();
        T.push_back(std::to_string(P.TokenType) + ":" + P.Token.str());
        if (P.TokenType == TOKEN_EOF) break;
    }
    return T;
}

}  // namespace

TEST_F(XZMLTest, TokensDelimitersLineEndsAndTabs) {
    // 1 delimiter, 2 string, 5 line end, 6 end of text.
    auto P = Parser("Name(\"x y\")  a.b!_[c]<d>\r\n\tTabbed\t\tz\r\n+-=\\");
    EXPECT_EQ(ReadAll(*P), (Tokens{"2:Name", "1:(", "1:\"", "2:x", "2:y", "1:\"", "1:)", "2:a.b!_[c]<d>", "5:",
                                   "2:\tTabbed", "2:\t", "2:\tz", "5:", "1:+", "1:-", "1:=", "1:\\", "5:", "6:"}));
    // Line ends, blank lines and comments are skipped; a tab is not.
    auto Q = Parser("; comment\r\n\r\n   first ; trailing comment\r\n\tsecond\r\n");
    EXPECT_EQ(ReadAll(*Q, true), (Tokens{"2:first", "2:\tsecond", "6:"}));
}

TEST_F(XZMLTest, StringsRestOfLineAndNumbers) {
    auto P = Parser("\"two\r\nlines; {x}\" after\r\nValue   a b ; c  \r\n-0.5 +0.5 -x 7\r\n\"open");
    ShortString S;
    P->NextToken();
    P->GetString(S);
    EXPECT_EQ(S, "two\rlines; {x}");
    EXPECT_EQ(P->Token, "\"");
    EXPECT_EQ(P->TokenType, TOKEN_DELIMITER);
    P->GetStringToEnd(S);
    EXPECT_EQ(S, " after");
    P->NextToken();
    EXPECT_EQ(P->Token, "Value");
    P->GetStringToEnd(S);
    EXPECT_EQ(S, "   a b ; c  ");
    EXPECT_EQ(P->Token, "Value");  // left as it was

    float V = 1;
    P->GetNumber(V);
    EXPECT_FLOAT_EQ(V, -0.5f);
    P->GetNumber(V);  // the blank before "+0.5" is an atom of its own
    EXPECT_FLOAT_EQ(V, 0.0f);
    P->GetNumber(V);
    EXPECT_FLOAT_EQ(V, 0.0f);  // "+" is a delimiter...
    P->NextToken();
    EXPECT_EQ(P->Token, "0.5");  // ...so the digits remain
    P->GetNumber(V);
    P->GetNumber(V);
    EXPECT_FLOAT_EQ(V, -0.0f);  // "-x" is not a number
    P->GetNumber(V);
    P->GetNumber(V);
    EXPECT_FLOAT_EQ(V, 7.0f);

    // At a line end the rest of the line is empty; an unclosed string runs to the end.
    P->NextToken();
    EXPECT_EQ(P->TokenType, TOKEN_EOLN);
    P->GetStringToEnd(S);
    EXPECT_EQ(S, "");
    P->NextToken();
    P->GetString(S);
    EXPECT_EQ(S, "open\r");
    P->NextToken();
    EXPECT_EQ(P->TokenType, TOKEN_EOF);
    P->NextToken();
    EXPECT_EQ(P->TokenType, TOKEN_EOF);
    P->GetStringToEnd(S);
    EXPECT_EQ(S, "");
}

TEST_F(XZMLTest, PositionStackRestoresOnlyTheReadingPosition) {
    auto P = Parser("a b c d");
    P->NextToken();
    P->PushPosition();
    P->NextToken();
    P->NextToken();
    EXPECT_EQ(P->Token, "c");
    P->RestorePosition();
    EXPECT_EQ(P->Token, "c");  // the token stays until the next read
    P->NextToken();
    EXPECT_EQ(P->Token, "b");
    P->PushPosition();
    P->PopPosition();
    P->NextToken();
    EXPECT_EQ(P->Token, "c");

    EXPECT_EXIT(P->PopPosition(), ::testing::ExitedWithCode(255), "Invalid PopPosition in Parser : StackPos < 1");
    EXPECT_EXIT(P->RestorePosition(), ::testing::ExitedWithCode(255),
                "Invalid RestorePosition in Parser : StackPos < 1");
    EXPECT_EXIT(
        {
            for (int I = 0; I < 100; ++I) P->PushPosition();
        },
        ::testing::ExitedWithCode(255), "Invalid PushPosition in Parser");
    for (int I = 0; I < 99; ++I) P->PushPosition();
}

TEST_F(XZMLTest, ParserRefusesAnEmptyFileAndQuotesAreRequiredForStrings) {
    EXPECT_EXIT(Parser(""), ::testing::ExitedWithCode(255), "Invalid input stream for parser !");
    auto P = Parser("x");
    P->NextToken();
    ShortString S;
    EXPECT_EXIT(P->GetString(S), ::testing::ExitedWithCode(255), "\" expected at the beginning of string !");
}
