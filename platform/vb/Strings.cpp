#include "platform/vb/Strings.h"

#include "platform/vb/Err.h"
#include "platform/vb/Text.h"

#include <QChar>
#include <QLocale>
#include <QList>
#include <QString>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

namespace vb {

namespace {

char32_t Cp1252ToChar(unsigned char b) { return Windows1252ToChar(b); }

// The byte of a character in Windows-1252, or none when the code page lacks it.
std::optional<unsigned char> CharToCp1252(char32_t c) {
    const int b = CharToWindows1252(c);
    if (b < 0) return std::nullopt;
    return static_cast<unsigned char>(b);
}

bool Blank(char32_t c) { return c == U' '; }

char32_t Fold(char32_t c, Compare cmp) { return cmp == Compare::Text ? LowerChar(c) : c; }

bool MatchAt(const std::u32string& s, std::size_t pos, const std::u32string& find, Compare cmp) {
    if (pos + find.size() > s.size()) return false;
    for (std::size_t i = 0; i < find.size(); ++i)
        if (Fold(s[pos + i], cmp) != Fold(find[i], cmp)) return false;
    return true;
}

// Pure ASCII text has one byte per character: the common case needs no conversion.
bool Ascii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

std::string Sub(const std::u32string& chars, std::size_t from, std::size_t count) {
    if (from >= chars.size()) return {};
    return FromChars(std::u32string_view(chars).substr(from, count));
}

// Half to even, as VB's whole-number conversions round.
double RoundHalfEven(double x) {
    double r = std::round(x);   // half away from zero
    if (std::fabs(x - std::trunc(x)) == 0.5 && std::fmod(r, 2.0) != 0.0) r -= std::copysign(1.0, x);
    return r;
}

// "&H1F" and "&O17": four digits or fewer read as a 16-bit Integer, more as a 32-bit Long,
// as VB's literals (so "&HFFFF" is -1).
std::optional<double> ParseRadix(std::u32string_view digits, int radix) {
    if (digits.empty()) return std::nullopt;
    unsigned long long v = 0;
    for (char32_t c : digits) {
        int d;
        if (c >= U'0' && c <= U'9') d = int(c - U'0');
        else if (c >= U'a' && c <= U'f') d = int(c - U'a') + 10;
        else if (c >= U'A' && c <= U'F') d = int(c - U'A') + 10;
        else return std::nullopt;
        if (d >= radix) return std::nullopt;
        v = v * unsigned(radix) + unsigned(d);
        if (v > 0xFFFFFFFFull) Raise(err::Overflow);
    }
    if (v <= 0xFFFF && (radix == 16 ? digits.size() <= 4 : v <= 0xFFFF))
        return double(static_cast<std::int16_t>(static_cast<std::uint16_t>(v)));
    return double(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
}

// Reads a decimal number (ASCII digits, ".", exponent "E" or "D") from clean text.
double ParseDecimal(const std::string& text) {
    double value = 0;
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), value,
                                   std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; too large a number is VB's overflow.
        bool tiny = false;
        for (char c : text) {
            if (c == 'e' || c == 'E') { tiny = text.find('-', text.find(c)) != std::string::npos; break; }
        }
        if (tiny) return 0.0;
        Raise(err::Overflow);
    }
    (void)p;
    if (!std::isfinite(value)) Raise(err::Overflow);
    return value;
}

// The whole text as a number, or none when it is not one: blanks around, one sign,
// digits with one ".", an exponent, or "&H"/"&O".
std::optional<double> ParseNumber(std::string_view s) {
    const std::u32string chars = ToChars(s);
    std::size_t b = 0, e = chars.size();
    while (b < e && (Blank(chars[b]) || chars[b] == U'\t')) ++b;
    while (e > b && (Blank(chars[e - 1]) || chars[e - 1] == U'\t')) --e;
    if (b == e) return std::nullopt;
    std::u32string_view t(chars.data() + b, e - b);
    if (t.size() >= 2 && t[0] == U'&') {
        if (t[1] == U'H' || t[1] == U'h') return ParseRadix(t.substr(2), 16);
        if (t[1] == U'O' || t[1] == U'o') return ParseRadix(t.substr(2), 8);
        return std::nullopt;
    }
    std::string clean;
    std::size_t i = 0;
    bool negative = false;
    if (t[i] == U'+' || t[i] == U'-') { negative = t[i] == U'-'; ++i; }
    int digits = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        if (t[i] >= U'0' && t[i] <= U'9') { clean += char(t[i]); ++digits; }
        else if (t[i] == U'.' && !point) { clean += '.'; point = true; }
        else break;
    }
    if (digits == 0) return std::nullopt;
    if (i < t.size() && (t[i] == U'e' || t[i] == U'E' || t[i] == U'd' || t[i] == U'D')) {
        ++i;
        std::string exponent = "e";
        if (i < t.size() && (t[i] == U'+' || t[i] == U'-')) exponent += char(t[i++]);
        int expDigits = 0;
        for (; i < t.size() && t[i] >= U'0' && t[i] <= U'9'; ++i) { exponent += char(t[i]); ++expDigits; }
        if (expDigits == 0) return std::nullopt;
        clean += exponent;
    }
    if (i != t.size()) return std::nullopt;
    if (clean.front() == '.') clean.insert(clean.begin(), '0');
    const double v = ParseDecimal(clean);
    return negative ? -v : v;
}

template <typename T>
T ToWhole(double v) {
    const double r = RoundHalfEven(v);
    if (!(r >= double(std::numeric_limits<T>::min()) && r <= double(std::numeric_limits<T>::max())))
        Raise(err::Overflow);
    return static_cast<T>(r);
}

}  // namespace

// ---- characters ------------------------------------------------------------------------

std::u32string ToChars(std::string_view s) {
    const QList<uint> ucs4 = QString::fromUtf8(s.data(), qsizetype(s.size())).toUcs4();
    return std::u32string(ucs4.begin(), ucs4.end());
}

std::string FromChars(std::u32string_view chars) {
    return QString::fromUcs4(chars.data(), qsizetype(chars.size())).toStdString();
}

char32_t UpperChar(char32_t c) { return QChar::toUpper(c); }
char32_t LowerChar(char32_t c) { return QChar::toLower(c); }

// ---- positions and pieces --------------------------------------------------------------

long Len(std::string_view s) { return Ascii(s) ? long(s.size()) : long(ToChars(s).size()); }

std::string Mid(std::string_view s, long start) {
    if (start < 1) Raise(err::InvalidProcedureCall);
    if (Ascii(s)) return std::size_t(start) > s.size() ? std::string() : std::string(s.substr(std::size_t(start - 1)));
    const std::u32string chars = ToChars(s);
    return Sub(chars, std::size_t(start - 1), std::u32string::npos);
}

std::string Mid(std::string_view s, long start, long length) {
    if (start < 1 || length < 0) Raise(err::InvalidProcedureCall);
    if (Ascii(s))
        return std::size_t(start) > s.size() ? std::string()
                                             : std::string(s.substr(std::size_t(start - 1), std::size_t(length)));
    const std::u32string chars = ToChars(s);
    return Sub(chars, std::size_t(start - 1), std::size_t(length));
}

std::string Left(std::string_view s, long length) {
    if (length < 0) Raise(err::InvalidProcedureCall);
    if (Ascii(s)) return std::string(s.substr(0, std::size_t(length)));
    return Sub(ToChars(s), 0, std::size_t(length));
}

std::string Right(std::string_view s, long length) {
    if (length < 0) Raise(err::InvalidProcedureCall);
    if (Ascii(s)) return std::string(s.substr(s.size() - std::min(s.size(), std::size_t(length))));
    const std::u32string chars = ToChars(s);
    const std::size_t n = std::min(chars.size(), std::size_t(length));
    return Sub(chars, chars.size() - n, n);
}

long InStr(std::string_view s, std::string_view find, Compare cmp) { return InStr(1, s, find, cmp); }

long InStr(long start, std::string_view s, std::string_view find, Compare cmp) {
    if (start < 1) Raise(err::InvalidProcedureCall);
    const std::u32string chars = ToChars(s);
    if (chars.empty() || std::size_t(start) > chars.size()) return 0;
    const std::u32string f = ToChars(find);
    if (f.empty()) return start;
    for (std::size_t p = std::size_t(start - 1); p + f.size() <= chars.size(); ++p)
        if (MatchAt(chars, p, f, cmp)) return long(p + 1);
    return 0;
}

long InStrRev(std::string_view s, std::string_view find, long start, Compare cmp) {
    if (start == 0 || start < -1) Raise(err::InvalidProcedureCall);
    const std::u32string chars = ToChars(s);
    if (chars.empty()) return 0;
    if (start == -1) start = long(chars.size());
    if (std::size_t(start) > chars.size()) return 0;
    const std::u32string f = ToChars(find);
    if (f.empty()) return start;
    if (f.size() > std::size_t(start)) return 0;
    for (std::size_t p = std::size_t(start) - f.size() + 1; p-- > 0;)
        if (MatchAt(chars, p, f, cmp)) return long(p + 1);
    return 0;
}

std::string Replace(std::string_view s, std::string_view find, std::string_view replacement,
                    long start, long count, Compare cmp) {
    if (start < 1 || count < -1) Raise(err::InvalidProcedureCall);
    const std::u32string chars = ToChars(s);
    if (std::size_t(start) > chars.size()) return {};
    // VB gives back the text from start on, not the whole text.
    const std::u32string text = chars.substr(std::size_t(start - 1));
    const std::u32string f = ToChars(find);
    if (f.empty() || count == 0) return FromChars(text);
    const std::u32string r = ToChars(replacement);
    std::u32string out;
    long done = 0;
    std::size_t p = 0;
    while (p < text.size()) {
        if ((count == -1 || done < count) && MatchAt(text, p, f, cmp)) {
            out += r;
            p += f.size();
            ++done;
        } else {
            out += text[p++];
        }
    }
    return FromChars(out);
}

std::vector<std::string> Split(std::string_view s, std::string_view delimiter, long limit) {
    if (limit < -1) Raise(err::InvalidProcedureCall);
    std::vector<std::string> parts;
    if (s.empty() || limit == 0) return parts;
    if (delimiter.empty() || limit == 1) {
        parts.emplace_back(s);
        return parts;
    }
    // Byte search is exact on UTF-8: a delimiter's bytes never start inside a character.
    std::size_t from = 0;
    while (true) {
        if (limit != -1 && long(parts.size()) == limit - 1) break;
        const std::size_t at = s.find(delimiter, from);
        if (at == std::string_view::npos) break;
        parts.emplace_back(s.substr(from, at - from));
        from = at + delimiter.size();
    }
    parts.emplace_back(s.substr(from));
    return parts;
}

std::string Join(const std::vector<std::string>& parts, std::string_view delimiter) {
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i) out += delimiter;
        out += parts[i];
    }
    return out;
}

std::string LTrim(std::string_view s) {
    const std::size_t b = s.find_first_not_of(' ');
    return b == std::string_view::npos ? std::string() : std::string(s.substr(b));
}

std::string RTrim(std::string_view s) {
    const std::size_t e = s.find_last_not_of(' ');
    return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

std::string Trim(std::string_view s) { return LTrim(RTrim(s)); }

std::string UCase(std::string_view s) {
    std::u32string chars = ToChars(s);
    for (char32_t& c : chars) c = UpperChar(c);
    return FromChars(chars);
}

std::string LCase(std::string_view s) {
    std::u32string chars = ToChars(s);
    for (char32_t& c : chars) c = LowerChar(c);
    return FromChars(chars);
}

std::string Space(long n) {
    if (n < 0) Raise(err::InvalidProcedureCall);
    return std::string(std::size_t(n), ' ');
}

std::string String(long n, char32_t ch) {
    if (n < 0) Raise(err::InvalidProcedureCall);
    return FromChars(std::u32string(std::size_t(n), ch));
}

std::string StrReverse(std::string_view s) {
    std::u32string chars = ToChars(s);
    std::reverse(chars.begin(), chars.end());
    return FromChars(chars);
}

// ---- character codes -------------------------------------------------------------------

std::string Chr(long code) {
    if (code < 0 || code > 255) Raise(err::InvalidProcedureCall);
    const char32_t c = Cp1252ToChar(static_cast<unsigned char>(code));
    return FromChars(std::u32string_view(&c, 1));
}

long Asc(std::string_view s) {
    const std::u32string chars = ToChars(s);
    if (chars.empty()) Raise(err::InvalidProcedureCall);
    const std::optional<unsigned char> b = CharToCp1252(chars[0]);
    return b ? long(*b) : 63;
}

std::string ChrW(long code) {
    if (code < -32768 || code > 65535) Raise(err::InvalidProcedureCall);
    if (code < 0) code += 65536;
    char32_t c = char32_t(code);
    // A lone surrogate has no UTF-8 form.
    if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
    return FromChars(std::u32string_view(&c, 1));
}

long AscW(std::string_view s) {
    const std::u32string chars = ToChars(s);
    if (chars.empty()) Raise(err::InvalidProcedureCall);
    return long(chars[0]);
}

// ---- numbers ---------------------------------------------------------------------------

bool IsNumeric(std::string_view s) {
    try {
        return ParseNumber(s).has_value();
    } catch (const Error&) {
        return false;   // too large for a Double: no conversion would take it
    }
}

double Val(std::string_view s) {
    // Blanks, tabs and line feeds are skipped anywhere, as VB's Val does ("1 2" is 12).
    std::u32string t;
    for (char32_t c : ToChars(s))
        if (c != U' ' && c != U'\t' && c != U'\n' && c != U'\r') t += c;
    if (t.size() >= 2 && t[0] == U'&') {
        const int radix = (t[1] == U'H' || t[1] == U'h') ? 16 : (t[1] == U'O' || t[1] == U'o') ? 8 : 0;
        if (radix == 0) return 0;
        std::size_t n = 2;
        while (n < t.size() && (radix == 16 ? std::isxdigit(int(t[n] < 128 ? t[n] : 0)) != 0
                                            : (t[n] >= U'0' && t[n] <= U'7')))
            ++n;
        const std::optional<double> v = ParseRadix(std::u32string_view(t).substr(2, n - 2), radix);
        return v ? *v : 0;
    }
    std::string clean;
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == U'+' || t[i] == U'-')) { negative = t[i] == U'-'; ++i; }
    bool point = false;
    int digits = 0;
    for (; i < t.size(); ++i) {
        if (t[i] >= U'0' && t[i] <= U'9') { clean += char(t[i]); ++digits; }
        else if (t[i] == U'.' && !point) { clean += '.'; point = true; }
        else break;
    }
    if (digits == 0) return 0;
    if (i < t.size() && (t[i] == U'e' || t[i] == U'E' || t[i] == U'd' || t[i] == U'D')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < t.size() && (t[j] == U'+' || t[j] == U'-')) exponent += char(t[j++]);
        bool any = false;
        for (; j < t.size() && t[j] >= U'0' && t[j] <= U'9'; ++j) { exponent += char(t[j]); any = true; }
        if (any) clean += exponent;   // an exponent without digits is not read
    }
    if (clean.front() == '.') clean.insert(clean.begin(), '0');
    const double v = ParseDecimal(clean);
    return negative ? -v : v;
}

std::int32_t CLng(std::string_view s) { return ToWhole<std::int32_t>(CDbl(s)); }
std::int16_t CInt(std::string_view s) { return ToWhole<std::int16_t>(CDbl(s)); }
std::uint8_t CByte(std::string_view s) { return ToWhole<std::uint8_t>(CDbl(s)); }
std::int32_t CLng(double d) { return ToWhole<std::int32_t>(d); }
std::int16_t CInt(double d) { return ToWhole<std::int16_t>(d); }
std::uint8_t CByte(double d) { return ToWhole<std::uint8_t>(d); }

double CDbl(std::string_view s) {
    const std::optional<double> v = ParseNumber(s);
    if (!v) Raise(err::TypeMismatch);
    return *v;
}

std::string CStr(long long n) { return std::to_string(n); }
std::string CStr(long n) { return std::to_string(n); }
std::string CStr(int n) { return std::to_string(n); }

std::string CStr(double d) {
    if (d == 0) return "0";   // also -0
    // Fifteen significant digits, exponent form from E+15 and below E-4, as VB prints.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::general, 15);
    std::string out(buf, res.ptr);
    for (char& c : out)
        if (c == 'e') c = 'E';
    return out;
}

std::string Hex(long long n) {
    // A Long's range, and the unsigned reading of the same 32 bits above it.
    if (n < std::numeric_limits<std::int32_t>::min() || n > 0xFFFFFFFFll) Raise(err::Overflow);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(static_cast<std::uint32_t>(n)));
    return buf;
}

// ---- Format with a digit mask ----------------------------------------------------------

namespace {

struct MaskItem {
    enum Kind { Zero, Hash, Literal } kind;
    std::string text;   // for literals
};

// Splits a section of the mask into placeholders and literal runs; "\x" and "..." are literal.
std::vector<MaskItem> ParseMask(std::string_view mask, bool& grouping, bool& percent) {
    std::vector<MaskItem> items;
    const std::u32string m = ToChars(mask);
    auto literal = [&](char32_t c) {
        const std::string t = FromChars(std::u32string_view(&c, 1));
        if (!items.empty() && items.back().kind == MaskItem::Literal) items.back().text += t;
        else items.push_back({MaskItem::Literal, t});
    };
    for (std::size_t i = 0; i < m.size(); ++i) {
        const char32_t c = m[i];
        if (c == U'0') items.push_back({MaskItem::Zero, {}});
        else if (c == U'#') items.push_back({MaskItem::Hash, {}});
        else if (c == U',') grouping = true;
        else if (c == U'%') { percent = true; literal(c); }
        else if (c == U'\\' && i + 1 < m.size()) literal(m[++i]);
        else if (c == U'"') {
            while (++i < m.size() && m[i] != U'"') literal(m[i]);
        } else literal(c);
    }
    return items;
}

bool IsPlaceholder(const MaskItem& it) { return it.kind != MaskItem::Literal; }

}  // namespace

std::string FormatNumber(double value, std::string_view mask) {
    // Only the first section of a mask with sections is used.
    const std::size_t semi = mask.find(';');
    if (semi != std::string_view::npos) mask = mask.substr(0, semi);
    const std::size_t dot = mask.find('.');
    bool grouping = false, percent = false;
    bool fracGrouping = false;
    std::vector<MaskItem> intItems = ParseMask(mask.substr(0, dot), grouping, percent);
    std::vector<MaskItem> fracItems;
    if (dot != std::string_view::npos)
        fracItems = ParseMask(mask.substr(dot + 1), fracGrouping, percent);
    if (percent) value *= 100;
    if (!std::isfinite(value)) Raise(err::Overflow);

    int decimals = 0;
    for (const MaskItem& it : fracItems) decimals += IsPlaceholder(it) ? 1 : 0;

    // The number as decimal digits (fifteen significant, as VB works), rounded half away
    // from zero at the mask's decimals.
    bool negative = value < 0;
    std::string intDigits, fracDigits;
    if (value != 0) {
        char buf[64];
        const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                       std::chars_format::scientific, 14);
        const std::string sci(buf, res.ptr);
        const std::size_t epos = sci.find('e');
        std::string mant;
        for (std::size_t i = 0; i < epos; ++i)
            if (sci[i] != '.') mant += sci[i];
        const int exp10 = std::stoi(sci.substr(epos + 1));
        const int pointAt = exp10 + 1;   // digits of mant before the decimal point
        if (pointAt <= 0) {
            fracDigits = std::string(std::size_t(-pointAt), '0') + mant;
        } else if (std::size_t(pointAt) >= mant.size()) {
            intDigits = mant + std::string(std::size_t(pointAt) - mant.size(), '0');
        } else {
            intDigits = mant.substr(0, std::size_t(pointAt));
            fracDigits = mant.substr(std::size_t(pointAt));
        }
    }
    bool roundUp = fracDigits.size() > std::size_t(decimals) && fracDigits[std::size_t(decimals)] >= '5';
    fracDigits.resize(std::size_t(decimals), '0');
    if (roundUp) {
        std::string all = intDigits + fracDigits;
        int i = int(all.size()) - 1;
        while (i >= 0 && all[std::size_t(i)] == '9') all[std::size_t(i--)] = '0';
        if (i >= 0) ++all[std::size_t(i)];
        else all.insert(all.begin(), '1');
        intDigits = all.substr(0, all.size() - fracDigits.size());
        fracDigits = all.substr(all.size() - fracDigits.size());
    }
    const std::size_t firstNonZero = intDigits.find_first_not_of('0');
    intDigits = firstNonZero == std::string::npos ? std::string() : intDigits.substr(firstNonZero);
    if (intDigits.empty() && fracDigits.find_first_not_of('0') == std::string::npos) negative = false;

    const QLocale locale;
    const std::string point = locale.decimalPoint().toStdString();
    const std::string groupSep = locale.groupSeparator().toStdString();

    std::string intText;
    if (grouping) {
        int zeros = 0;
        std::size_t firstPh = intItems.size(), lastPh = 0;
        for (std::size_t i = 0; i < intItems.size(); ++i) {
            if (!IsPlaceholder(intItems[i])) continue;
            if (intItems[i].kind == MaskItem::Zero) ++zeros;
            firstPh = std::min(firstPh, i);
            lastPh = i;
        }
        std::string digits = intDigits;
        if (digits.size() < std::size_t(zeros)) digits.insert(0, std::size_t(zeros) - digits.size(), '0');
        std::string grouped;
        for (std::size_t i = 0; i < digits.size(); ++i) {
            if (i && (digits.size() - i) % 3 == 0) grouped += groupSep;
            grouped += digits[i];
        }
        for (std::size_t i = 0; i < intItems.size(); ++i) {
            if (i == firstPh) intText += grouped;
            if (!IsPlaceholder(intItems[i]) && (i < firstPh || i > lastPh)) intText += intItems[i].text;
        }
        if (firstPh == intItems.size()) intText += grouped;
    } else {
        // Digits fill the placeholders from the right; digits left over go where the
        // leftmost placeholder stands.
        std::size_t firstPh = intItems.size();
        for (std::size_t i = 0; i < intItems.size(); ++i)
            if (IsPlaceholder(intItems[i])) { firstPh = i; break; }
        std::string out;   // built backwards
        std::size_t next = intDigits.size();
        for (std::size_t k = intItems.size(); k-- > 0;) {
            const MaskItem& it = intItems[k];
            if (!IsPlaceholder(it)) {
                out.insert(0, it.text);
                continue;
            }
            if (next > 0) out.insert(0, 1, intDigits[--next]);
            else if (it.kind == MaskItem::Zero) out.insert(0, 1, '0');
            if (k == firstPh && next > 0) {
                out.insert(0, intDigits.substr(0, next));
                next = 0;
            }
        }
        if (firstPh == intItems.size()) out.insert(0, intDigits);
        intText = out;
    }

    std::string fracText;
    if (dot != std::string_view::npos) {
        // Trailing "#" positions drop their zeros; the point itself always stands.
        std::size_t keep = fracDigits.size();
        {
            std::size_t ph = fracDigits.size();
            for (std::size_t k = fracItems.size(); k-- > 0;) {
                if (!IsPlaceholder(fracItems[k])) continue;
                --ph;
                if (fracItems[k].kind == MaskItem::Hash && fracDigits[ph] == '0' && keep == ph + 1) keep = ph;
                else break;
            }
        }
        fracText = point;
        std::size_t ph = 0;
        for (const MaskItem& it : fracItems) {
            if (!IsPlaceholder(it)) { fracText += it.text; continue; }
            if (ph < keep) fracText += fracDigits[ph];
            ++ph;
        }
    }
    return (negative ? "-" : "") + intText + fracText;
}

}  // namespace vb
