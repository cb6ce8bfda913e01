#include <gtest/gtest.h>

#include "kernel/core/strutils.h"

TEST(ShortString, ConcatenationCutsAt255Characters) {
    ShortString a(std::string(200, 'a'));
    ShortString b(std::string(100, 'b'));
    ShortString c = a + b;
    EXPECT_EQ(c.size(), 255u);
    EXPECT_EQ(c[199], 'a');
    EXPECT_EQ(c[200], 'b');
    EXPECT_EQ(c[254], 'b');
    EXPECT_EQ(std::string(c.c_str()).size(), 255u);  // stays zero-terminated
    c += 'x';
    EXPECT_EQ(c.size(), 255u);
    EXPECT_EQ(ShortString(std::string(300, 'z')).size(), 255u);
}

// A default std::string_view holds a null pointer; the sanitizer build fails
// here if it ever reaches memcpy.
TEST(ShortString, EmptyViewsWithoutStorageGiveEmptyText) {
    ShortString s(std::string_view{});
    EXPECT_TRUE(s.empty());
    EXPECT_STREQ(s.c_str(), "");
    s = "ab";
    s += std::string_view{};
    EXPECT_EQ(s, ShortString("ab"));
    s = std::string_view{};
    EXPECT_TRUE(s.empty());
    EXPECT_EQ(ShortString("x") + std::string_view{}, ShortString("x"));
}

TEST(GetToken, BlanksTabsAndQuotesSeparateTokens) {
    ShortString line = "bind  \"VK_F1\"\t\"exec demo.cfg; quit\" last";
    EXPECT_EQ(GetToken(line, 1), "bind");
    EXPECT_EQ(GetToken(line, 2), "VK_F1");
    EXPECT_EQ(GetToken(line, 3), "exec demo.cfg; quit");
    EXPECT_EQ(GetToken(line, 4), "last");
    EXPECT_EQ(GetToken(line, 5), "");
    EXPECT_EQ(GetToken(line, 0), "");
    // An unclosed quote runs to the end of the line.
    EXPECT_EQ(GetToken("say \"hello world", 2), "hello world");
    // A line of one character is that token, even a blank.
    EXPECT_EQ(GetToken(" ", 1), " ");
    EXPECT_EQ(GetToken("x", 2), "");
    EXPECT_EQ(GetToken("", 1), "");
    EXPECT_EQ(GetToken("   ", 1), "");
    EXPECT_EQ(GetToken("a \"\" b", 2), "");
    EXPECT_EQ(GetToken("a \"\" b", 3), "b");
    // Text stuck to a closing quote starts no token of its own.
    EXPECT_EQ(GetToken("Set \"quoted\"x 5", 2), "quoted");
    EXPECT_EQ(GetToken("Set \"quoted\"x 5", 3), "5");
}

namespace {
ShortString ResolveForTest(const ShortString& name) { return "<" + name + ">"; }
}  // namespace

TEST(GetToken, PercentTokensAreReplacedByTheResolver) {
    EXPECT_EQ(GetToken("set %speed", 2), "%speed");  // no variables manager yet
    SetTokenVariableResolver(ResolveForTest);
    EXPECT_EQ(GetToken("set %speed", 2), "<speed>");
    EXPECT_EQ(GetToken("set \"%quoted name\"", 2), "<quoted name>");
    EXPECT_EQ(GetToken("set 50%", 2), "50%");
    SetTokenVariableResolver(nullptr);
}

TEST(StrHash, SumsCharacterCodesTimesOddPrimes) {
    EXPECT_EQ(StrHash(""), 0);
    EXPECT_EQ(StrHash("A"), 65 * 3);
    EXPECT_EQ(StrHash("AB"), 65 * 3 + 66 * 5);
    EXPECT_EQ(StrHash("ABCD"), 65 * 3 + 66 * 5 + 67 * 7 + 68 * 11);
    EXPECT_NE(StrHash("AB"), StrHash("BA"));
    // The 255th odd prime is 1621; the longest string still fits in 32 bits.
    EXPECT_GT(StrHash(ShortString(std::string(255, '\xff'))), 0);
}

TEST(StringHelpers, CaseTrimAndFixedWidth) {
    EXPECT_EQ(UpCaseStr("MainLoop()"), "MAINLOOP()");
    EXPECT_EQ(Trim("\t \x01 text here \r\n"), "text here");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Fetch("Calls", 8), "Calls   ");
    EXPECT_EQ(Fetch("TotalTime, s", 5), "Total");
    EXPECT_TRUE(SameText("Lucida", "LUCIDA"));
    EXPECT_FALSE(SameText("Lucida", "Lucid"));
}

TEST(StringHelpers, NumberTextIsStrict) {
    EXPECT_TRUE(IsCorrectInt("-2147483648"));
    EXPECT_TRUE(IsCorrectInt("+12"));
    EXPECT_FALSE(IsCorrectInt("2147483648"));
    EXPECT_FALSE(IsCorrectInt("1.0"));
    EXPECT_FALSE(IsCorrectInt("12a"));
    EXPECT_FALSE(IsCorrectInt(" 12"));
    EXPECT_FALSE(IsCorrectInt(""));
    EXPECT_FALSE(IsCorrectInt("+-5"));
    EXPECT_FALSE(IsCorrectInt("0x1A"));
    EXPECT_TRUE(IsCorrectGLD("1.5"));
    EXPECT_TRUE(IsCorrectGLD("-3e2"));
    EXPECT_TRUE(IsCorrectGLD("7"));
    EXPECT_FALSE(IsCorrectGLD("1.5x"));
    EXPECT_FALSE(IsCorrectGLD(""));
    EXPECT_FALSE(IsCorrectGLD("nan"));
    EXPECT_FALSE(IsCorrectGLD("+-5"));
    EXPECT_FALSE(IsCorrectGLD("0x1A"));
    EXPECT_FALSE(IsCorrectGLD("0x1p-2"));
    EXPECT_FALSE(IsCorrectGLD("1e39"));  // too large for a single
    EXPECT_TRUE(IsCorrectGLD("3.4e38"));
    EXPECT_TRUE(IsCorrectGLD(".5"));
    EXPECT_FALSE(IsCorrectGLD("."));
    EXPECT_FALSE(IsCorrectGLD("1e"));
    EXPECT_EQ(Str2Int("42"), 42);
    EXPECT_EQ(Str2Int("forty"), 0);
    EXPECT_FLOAT_EQ(Str2Flt("0.25"), 0.25f);
    EXPECT_FLOAT_EQ(Str2Flt("x"), 0.0f);
    EXPECT_EQ(Int2Str(-17), "-17");
    EXPECT_EQ(Flt2Str(1.0 / 3.0), "0.333");
    EXPECT_EQ(Flt2Str(-2.5), "-2.500");
    EXPECT_EQ(Flt2Str(1e300).size(), 255u);  // cut, never overflowing
    EXPECT_EQ(Bool2Str(true), "True");
    EXPECT_EQ(Bool2Str(false), "False");
    EXPECT_EQ(HexStr(0xBEEF, 8), "0000BEEF");
    EXPECT_EQ(HexStr(0x1ABC, 2), "BC");
}
