#pragma once
// The string helpers every subsystem shares: the console tokenizer, the name
// hash of the variables manager and the text/number conversions.

#include <cstdint>
#include "kernel/core/shortstring.h"

// Replaces a "%name" token by the value of the console variable "name". The
// variables manager installs it; until then such tokens stay as they are.
using TokenVariableResolver = ShortString (*)(const ShortString& name);
void SetTokenVariableResolver(TokenVariableResolver resolver);

// Token n (1-based) of a command line: blanks and tabs separate tokens, double
// quotes group one and are removed, "%name" is a console variable's value.
ShortString GetToken(const ShortString& line, int n);
// The same token as written, "%name" left as it stands.
ShortString GetRawToken(const ShortString& line, int n);
// The first maxTokens raw tokens at once (views into line), for readers that
// take several tokens of every line; returns how many there are.
int SplitRawTokens(std::string_view line, std::string_view* tokens, int maxTokens);

// Sum of the character codes times the i-th odd prime (3, 5, 7, 11, ...).
int32_t StrHash(const ShortString& s);

ShortString Fetch(const ShortString& s, std::size_t n);  // cut or blank-padded to n
ShortString UpCaseStr(const ShortString& s);
ShortString Trim(const ShortString& s);  // without leading/trailing codes 0..32

bool IsCorrectInt(const ShortString& s);  // a whole signed 32-bit number, no "."
bool IsCorrectGLD(const ShortString& s);  // a whole real number
int32_t Str2Int(const ShortString& s);    // 0 when not a number
float Str2Flt(const ShortString& s);      // 0 when not a number
ShortString Int2Str(int64_t v);
ShortString Flt2Str(double v);            // fixed point, three decimals
ShortString Flt2Str(double v, int decimals);
ShortString Bool2Str(bool v);             // "True" / "False"
ShortString HexStr(uint64_t value, int digits);  // upper case, fixed width

// Case-insensitive equality of two names (ASCII).
bool SameText(std::string_view a, std::string_view b);
