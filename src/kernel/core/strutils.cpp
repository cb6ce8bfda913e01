#include "kernel/core/strutils.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "kernel/core/textchars.h"

namespace {

TokenVariableResolver TokenResolver = nullptr;

// The first 255 odd primes, built once by trial division.
const std::array<int32_t, 256>& OddPrimes() {
    static const std::array<int32_t, 256> primes = [] {
        std::array<int32_t, 256> p{};
        int count = 0;
        for (int32_t candidate = 3; count < 256; candidate += 2) {
            bool prime = true;
            for (int32_t d = 3; d * d <= candidate; d += 2)
                if (candidate % d == 0) { prime = false; break; }
            if (prime) p[count++] = candidate;
        }
        return p;
    }();
    return primes;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Skips a run of decimal digits; how many there were.
std::size_t SkipDigits(std::string_view s, std::size_t& i) {
    std::size_t first = i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    return i - first;
}

// Whether the whole text is a decimal real: an optional sign, digits with an
// optional "." (at least one digit), an optional exponent. Hexadecimal forms,
// "inf", "nan", blanks and doubled signs are not numbers to the console.
bool IsDecimalReal(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = SkipDigits(s, i);
    if (i < s.size() && s[i] == '.') digits += SkipDigits(s, ++i);
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (SkipDigits(s, i) == 0) return false;
    }
    return i == s.size();
}

// A decimal real that fits a single: a larger one would be stored as infinity.
bool ParseReal(std::string_view s, double& out) {
    if (s.empty() || s.size() > ShortString::Capacity || !IsDecimalReal(s)) return false;
    char buf[ShortString::Capacity + 1];
    std::memcpy(buf, s.data(), s.size());
    buf[s.size()] = '\0';
    out = std::strtod(buf, nullptr);
    return std::fabs(out) <= std::numeric_limits<float>::max();
}

bool ParseInt(std::string_view s, int32_t& out) {
    if (s.empty()) return false;
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (*first == '+') {
        ++first;
        if (first == last || !IsDigit(*first)) return false;  // "+-5" is not a number
    }
    auto [ptr, ec] = std::from_chars(first, last, out);
    return ec == std::errc() && ptr == last;
}

}  // namespace

void SetTokenVariableResolver(TokenVariableResolver resolver) { TokenResolver = resolver; }

// The next token of a line at or after pos, pos moved past it; false when
// there is none. Quotes group a token and are left out of it.
static bool NextRawToken(std::string_view line, std::size_t& pos, std::string_view& token) {
    const std::size_t len = line.size();
    while (pos < len && IsBlank(line[pos])) ++pos;
    if (pos >= len) return false;
    std::size_t start, stop;
    if (line[pos] == '"') {
        start = pos + 1;
        stop = line.find('"', start);
        if (stop == std::string_view::npos) stop = len;
        // Text stuck to the closing quote belongs to no token: a token
        // starts only after a blank or a tab.
        pos = stop + 1;
        while (pos < len && !IsBlank(line[pos])) ++pos;
    } else {
        start = pos;
        stop = start;
        while (stop < len && !IsBlank(line[stop])) ++stop;
        pos = stop;
    }
    token = line.substr(start, stop - start);
    return true;
}

int SplitRawTokens(std::string_view line, std::string_view* tokens, int maxTokens) {
    if (maxTokens < 1) return 0;
    // A line of one character is that character, blank or not.
    if (line.size() == 1) {
        tokens[0] = line;
        return 1;
    }
    int count = 0;
    for (std::size_t pos = 0; count < maxTokens && NextRawToken(line, pos, tokens[count]);) ++count;
    return count;
}

ShortString GetRawToken(const ShortString& line, int n) {
    if (n < 1) return {};
    if (line.size() == 1) return n == 1 ? line : ShortString();
    std::string_view token;
    std::size_t pos = 0;
    for (int count = 0; count < n; ++count)
        if (!NextRawToken(line.view(), pos, token)) return {};
    return ShortString(token);
}

ShortString GetToken(const ShortString& line, int n) {
    ShortString token = GetRawToken(line, n);
    if (token[0] == '%' && TokenResolver) return TokenResolver(token.substr(1));
    return token;
}

int32_t StrHash(const ShortString& s) {
    const auto& primes = OddPrimes();
    int32_t sum = 0;
    for (std::size_t i = 0; i < s.size(); ++i)
        sum += static_cast<int32_t>(static_cast<unsigned char>(s[i])) * primes[i];
    return sum;
}

ShortString Fetch(const ShortString& s, std::size_t n) {
    ShortString r = s.substr(0, n);
    r.resize(n, ' ');
    return r;
}

ShortString UpCaseStr(const ShortString& s) {
    ShortString r = s;
    for (std::size_t i = 0; i < r.size(); ++i)
        r[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(r[i])));
    return r;
}

ShortString Trim(const ShortString& s) {
    std::size_t first = 0, last = s.size();
    while (first < last && static_cast<unsigned char>(s[first]) <= 32) ++first;
    while (last > first && static_cast<unsigned char>(s[last - 1]) <= 32) --last;
    return s.substr(first, last - first);
}

bool IsCorrectInt(const ShortString& s) {
    if (s.find('.') != ShortString::npos) return false;
    int32_t v;
    return ParseInt(s.view(), v);
}

bool IsCorrectGLD(const ShortString& s) {
    double v;
    return ParseReal(s.view(), v);
}

int32_t Str2Int(const ShortString& s) {
    int32_t v;
    return ParseInt(s.view(), v) ? v : 0;
}

float Str2Flt(const ShortString& s) {
    double v;
    return ParseReal(s.view(), v) ? static_cast<float>(v) : 0.0f;
}

ShortString Int2Str(int64_t v) {
    char buf[32];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ShortString(std::string_view(buf, static_cast<std::size_t>(ptr - buf)));
}

ShortString Flt2Str(double v) { return Flt2Str(v, 3); }

ShortString Flt2Str(double v, int decimals) {
    char buf[512];  // the widest double in fixed point has 309 integer digits
    if (decimals < 0) decimals = 0;
    if (decimals > 20) decimals = 20;
    int n = std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    if (n < 0) return {};
    return ShortString(std::string_view(buf, static_cast<std::size_t>(n) < sizeof buf ? n : sizeof buf - 1));
}

ShortString Bool2Str(bool v) { return v ? "True" : "False"; }

ShortString HexStr(uint64_t value, int digits) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    if (digits < 0) digits = 0;
    if (digits > 16) digits = 16;
    ShortString r;
    for (int i = digits - 1; i >= 0; --i) r += Hex[(value >> (i * 4)) & 0xF];
    return r;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}
