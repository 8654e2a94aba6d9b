// The Jet pieces that run inside SQLite: the JET collation, Jet's LIKE and the VB functions
// that Jet SQL may call. Errors of the VB runtime travel through SQLite as a message that
// starts with "\x01<number>\x01", so the caller raises them again with their own number.
#include "platform/dao/JetSql.h"

#include "platform/dao/Dao.h"
#include "platform/dao/JetLexer.h"

#include "platform/vb/DateTime.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <QChar>
#include <QLocale>
#include <QString>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <charconv>
#include <cstring>
#include <string>
#include <vector>

namespace dao {

namespace {

// ---- UTF-8 ---------------------------------------------------------------------------

// Decodes the character at s[i] and moves i past it; a stray byte stands for itself.
char32_t nextChar(std::string_view s, size_t& i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) { ++i; return c; }
    int len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    if (len == 1 || i + len > s.size()) { ++i; return c; }
    char32_t cp = c & (0xFF >> (len + 1));
    for (int k = 1; k < len; ++k) {
        unsigned char cc = static_cast<unsigned char>(s[i + k]);
        if ((cc & 0xC0) != 0x80) { ++i; return c; }
        cp = (cp << 6) | (cc & 0x3F);
    }
    i += len;
    return cp;
}

char32_t fold(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    return QChar::toCaseFolded(c);
}

// ---- collation -----------------------------------------------------------------------

// Primary weight: the base letter, case folded; non-letters before digits before letters.
// Secondary: the accented letter itself (0 when it has no accent).
struct CharKey {
    std::uint32_t primary;
    std::uint32_t secondary;
};

constexpr char32_t kTableSize = 0x3000;

std::uint32_t classWeight(char32_t folded) {
    if (QChar::isLetter(folded)) return 0x200000u + folded;
    if (QChar::isDigit(folded)) return 0x100000u + folded;
    return folded;
}

CharKey computeKey(char32_t c) {
    char32_t f = fold(c);
    char32_t base = f;
    if (c >= 0x80) {
        char32_t ch = c;
        QString d = QString::fromUcs4(&ch, 1).normalized(QString::NormalizationForm_KD);
        if (!d.isEmpty()) {
            char32_t first = d.at(0).isHighSurrogate() && d.size() > 1
                                 ? QChar::surrogateToUcs4(d.at(0), d.at(1))
                                 : d.at(0).unicode();
            if (QChar::isLetterOrNumber(first)) base = fold(first);
        }
    }
    return {classWeight(base), base == f ? 0u : static_cast<std::uint32_t>(f)};
}

const std::array<CharKey, kTableSize>& keyTable() {
    static const std::array<CharKey, kTableSize> table = [] {
        std::array<CharKey, kTableSize> t;
        for (char32_t c = 0; c < kTableSize; ++c) t[c] = computeKey(c);
        return t;
    }();
    return table;
}

CharKey keyOf(char32_t c) {
    if (c < kTableSize) return keyTable()[c];
    return {classWeight(fold(c)), 0};
}

// The primary weights of ASCII (which has no secondary weight): two ASCII texts compare
// without decoding a character.
const std::array<std::uint32_t, 128>& asciiPrimary() {
    static const std::array<std::uint32_t, 128> table = [] {
        std::array<std::uint32_t, 128> t;
        for (char32_t c = 0; c < 128; ++c) t[c] = keyTable()[c].primary;
        return t;
    }();
    return table;
}

// ---- LIKE ----------------------------------------------------------------------------

struct PatElem {
    enum Kind { Lit, One, Digit, Star, Class } kind = Lit;
    char32_t ch = 0;
    bool negate = false;
    std::vector<std::pair<char32_t, char32_t>> ranges;
};

// Returns false for a malformed pattern (an unclosed class).
bool compilePattern(std::string_view p, std::vector<PatElem>& out) {
    size_t i = 0;
    while (i < p.size()) {
        char32_t c = nextChar(p, i);
        PatElem e;
        e.kind = PatElem::Lit;
        if (c == '*') {
            if (!out.empty() && out.back().kind == PatElem::Star) continue;
            e.kind = PatElem::Star;
        } else if (c == '?') {
            e.kind = PatElem::One;
        } else if (c == '#') {
            e.kind = PatElem::Digit;
        } else if (c == '[') {
            e.kind = PatElem::Class;
            std::vector<char32_t> chars;
            bool closed = false;
            bool first = true;
            while (i < p.size()) {
                char32_t k = nextChar(p, i);
                if (k == ']' ) { closed = true; break; }
                if (first && k == '!') { e.negate = true; first = false; continue; }
                first = false;
                chars.push_back(k);
            }
            if (!closed) return false;
            if (chars.empty() && !e.negate) continue;   // "[]" matches the empty text
            for (size_t k = 0; k < chars.size(); ++k) {
                if (k + 2 < chars.size() && chars[k + 1] == '-') {
                    e.ranges.push_back({fold(chars[k]), fold(chars[k + 2])});
                    k += 2;
                } else {
                    e.ranges.push_back({fold(chars[k]), fold(chars[k])});
                }
            }
        } else {
            e.ch = fold(c);
        }
        out.push_back(std::move(e));
    }
    return true;
}

bool elemMatches(const PatElem& e, char32_t c) {
    switch (e.kind) {
    case PatElem::Lit: return e.ch == c;
    case PatElem::One: return true;
    case PatElem::Digit: return c >= '0' && c <= '9';
    case PatElem::Class: {
        bool in = false;
        for (auto& r : e.ranges)
            if (c >= r.first && c <= r.second) { in = true; break; }
        return in != e.negate;
    }
    case PatElem::Star: return false;
    }
    return false;
}

// The folded character at t[i]; i moves past it. ASCII takes no decoding.
char32_t foldedAt(std::string_view t, size_t& i) {
    const unsigned char b = static_cast<unsigned char>(t[i]);
    if (b < 0x80) {
        ++i;
        return (b >= 'A' && b <= 'Z') ? b + 32 : b;
    }
    return fold(nextChar(t, i));
}

// Greedy matching with a return to the last "*": every other element takes one character.
// Works on the UTF-8 text in place.
bool matchElements(const std::vector<PatElem>& pat, std::string_view t) {
    size_t pi = 0, ti = 0, starP = std::string::npos, starT = 0;
    while (ti < t.size()) {
        if (pi < pat.size() && pat[pi].kind == PatElem::Star) {
            starP = pi++;
            starT = ti;
            continue;
        }
        size_t next = ti;
        const char32_t c = foldedAt(t, next);
        if (pi < pat.size() && elemMatches(pat[pi], c)) {
            ++pi;
            ti = next;
        } else if (starP != std::string::npos) {
            pi = starP + 1;
            foldedAt(t, starT);
            ti = starT;
        } else {
            return false;
        }
    }
    while (pi < pat.size() && pat[pi].kind == PatElem::Star) ++pi;
    return pi == pat.size();
}

// A pattern compiled once for many texts. Plain text with "*" only at its ends (the search
// boxes' "*text*" and "text*") is matched as a substring or prefix of the folded text.
struct CompiledPattern {
    enum Shape { General, Exact, Prefix, Contains, Everything } shape = General;
    std::vector<PatElem> elems;
    std::u32string literal;   // folded, for the plain shapes
    bool valid = false;

    void compile(std::string_view pattern) {
        elems.clear();
        literal.clear();
        valid = compilePattern(pattern, elems);
        shape = General;
        if (!valid) return;
        size_t b = 0, e = elems.size();
        const bool starFirst = b < e && elems[b].kind == PatElem::Star;
        if (starFirst) ++b;
        const bool starLast = e > b && elems[e - 1].kind == PatElem::Star;
        if (starLast) --e;
        for (size_t k = b; k < e; ++k) {
            if (elems[k].kind != PatElem::Lit) return;
            literal.push_back(elems[k].ch);
        }
        if (literal.empty()) shape = starFirst ? Everything : Exact;
        else if (starFirst && starLast) shape = Contains;
        else if (starLast) shape = Prefix;
        else if (!starFirst) shape = Exact;
    }

    // Where the literal ends when it stands in t at byte i; npos when it does not.
    size_t literalAt(std::string_view t, size_t i) const {
        for (char32_t want : literal) {
            if (i >= t.size() || foldedAt(t, i) != want) return std::string::npos;
        }
        return i;
    }

    bool matches(std::string_view t) const {
        if (!valid) return false;
        switch (shape) {
        case Everything: return true;
        case Exact: return literalAt(t, 0) == t.size();
        case Prefix: return literalAt(t, 0) != std::string::npos;
        case Contains: {
            const char32_t first = literal.front();
            for (size_t i = 0; i + literal.size() <= t.size();) {
                size_t next = i;
                if (foldedAt(t, next) == first && literalAt(t, i) != std::string::npos) return true;
                i = next;
            }
            return false;
        }
        case General: break;
        }
        return matchElements(elems, t);
    }
};

// ---- function plumbing ---------------------------------------------------------------

void resultError(sqlite3_context* ctx, const vb::Error& e) {
    std::string msg = "\x01" + std::to_string(e.Number()) + "\x01" + e.Description();
    sqlite3_result_error(ctx, msg.c_str(), static_cast<int>(msg.size()));
}

bool isNull(sqlite3_value* v) { return sqlite3_value_type(v) == SQLITE_NULL; }

std::string textOf(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: return std::to_string(sqlite3_value_int64(v));
    case SQLITE_FLOAT: return vb::CStr(sqlite3_value_double(v));
    case SQLITE_NULL: return {};
    default: {
        const unsigned char* p = sqlite3_value_text(v);
        return p ? std::string(reinterpret_cast<const char*>(p), sqlite3_value_bytes(v)) : std::string();
    }
    }
}

double numberOf(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: return static_cast<double>(sqlite3_value_int64(v));
    case SQLITE_FLOAT: return sqlite3_value_double(v);
    case SQLITE_NULL: vb::Raise(vb::err::InvalidUseOfNull);
    default: return vb::CDbl(textOf(v));
    }
}

long longOf(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: {
        sqlite3_int64 n = sqlite3_value_int64(v);
        if (n < INT32_MIN || n > INT32_MAX) vb::Raise(vb::err::Overflow);
        return static_cast<long>(n);
    }
    case SQLITE_FLOAT: {
        double d = std::nearbyint(sqlite3_value_double(v));   // half to even
        if (d < INT32_MIN || d > INT32_MAX) vb::Raise(vb::err::Overflow);
        return static_cast<long>(d);
    }
    case SQLITE_NULL: vb::Raise(vb::err::InvalidUseOfNull);
    default: return vb::CLng(textOf(v));
    }
}

void resultText(sqlite3_context* ctx, const std::string& s) {
    sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

using Fn = void (*)(sqlite3_context*, int, sqlite3_value**);

template <Fn F>
void guarded(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    try {
        F(ctx, argc, argv);
    } catch (const vb::Error& e) {
        resultError(ctx, e);
    } catch (const std::exception& e) {
        sqlite3_result_error(ctx, e.what(), -1);
    }
}

// Any argument Null: the result is Null (the VB text functions on a Variant).
bool nullIn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i)
        if (isNull(argv[i])) { sqlite3_result_null(ctx); return true; }
    return false;
}

// ---- the functions -------------------------------------------------------------------


void fnConcat(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    // Runs for every row of most lists: texts are joined without a copy of each operand, in
    // a buffer on the stack when they are short.
    char small[256];
    std::string large;
    size_t length = 0;
    bool any = false;
    auto append = [&](const char* p, size_t n) {
        if (large.empty() && length + n <= sizeof small) {
            if (n) std::memcpy(small + length, p, n);
        } else {
            if (large.empty()) large.assign(small, length);
            large.append(p, n);
        }
        length += n;
    };
    for (int i = 0; i < argc; ++i) {
        const int type = sqlite3_value_type(argv[i]);
        if (type == SQLITE_NULL) continue;
        any = true;
        if (type == SQLITE_TEXT) {
            const unsigned char* p = sqlite3_value_text(argv[i]);
            append(reinterpret_cast<const char*>(p), p ? static_cast<size_t>(sqlite3_value_bytes(argv[i])) : 0);
        } else {
            const std::string t = textOf(argv[i]);
            append(t.data(), t.size());
        }
    }
    if (!any) sqlite3_result_null(ctx);
    else if (large.empty()) sqlite3_result_text(ctx, small, static_cast<int>(length), SQLITE_TRANSIENT);
    else resultText(ctx, large);
}

bool isDateMask(std::string_view mask) {
    for (size_t i = 0; i < mask.size(); ++i) {
        char c = static_cast<char>(std::tolower(static_cast<unsigned char>(mask[i])));
        if (c == '\\') { ++i; continue; }
        if (c == 'd' || c == 'm' || c == 'y' || c == 'h' || c == 'n' || c == 's') return true;
    }
    return false;
}

// Format of a whole number of up to fifteen digits, not negative, with a mask of "0"
// placeholders and plain ASCII characters (the lists' "00-00-0000" and "00"), as
// vb::FormatNumber gives it: digits fill the placeholders from the right, the first
// placeholder takes any digits left over. False when the value or the mask needs the
// general work.
bool formatDigits(sqlite3_value* v, std::string_view mask, std::string& out) {
    char digits[24];
    size_t n = 0;
    const int type = sqlite3_value_type(v);
    if (type == SQLITE_INTEGER) {
        const sqlite3_int64 x = sqlite3_value_int64(v);
        if (x < 0 || x > 999999999999999LL) return false;
        n = static_cast<size_t>(std::snprintf(digits, sizeof digits, "%lld", static_cast<long long>(x)));
        if (x == 0) n = 0;
    } else if (type == SQLITE_TEXT) {
        const unsigned char* p = sqlite3_value_text(v);
        const int bytes = sqlite3_value_bytes(v);
        if (!p || bytes == 0) return false;
        int i = 0;
        while (i < bytes && p[i] == '0') ++i;
        for (; i < bytes; ++i) {
            if (p[i] < '0' || p[i] > '9' || n == 15) return false;
            digits[n++] = static_cast<char>(p[i]);
        }
    } else {
        return false;
    }
    size_t placeholders = 0;
    for (char c : mask) {
        if (c == '0') ++placeholders;
        else if (static_cast<unsigned char>(c) >= 0x80 || std::strchr("#,.%\\\";", c)) return false;
    }
    if (placeholders == 0) return false;
    const size_t pad = n < placeholders ? placeholders - n : 0;
    const size_t extra = n > placeholders ? n - placeholders : 0;
    out.clear();
    out.reserve(mask.size() + extra);
    size_t d = 0;   // position in the padded digits
    bool first = true;
    for (char c : mask) {
        if (c != '0') {
            out += c;
            continue;
        }
        for (size_t take = first ? extra + 1 : 1; take > 0; --take, ++d) out += d < pad ? '0' : digits[d - pad];
        first = false;
    }
    return true;
}

// ---- dates ---------------------------------------------------------------------------

// A date as a day number and the seconds of its day, counted on one line (the OLE value
// counts the time away from zero before 1899-12-30).
struct DayTime {
    long long day;
    long long seconds;
};

DayTime dayTime(vb::Date d) {
    const long long day = static_cast<long long>(vb::DateSerial(vb::Year(d), vb::Month(d), vb::Day(d)));
    return {day, vb::Hour(d) * 3600LL + vb::Minute(d) * 60LL + vb::Second(d)};
}

vb::Date oleDate(long long day, long long seconds) {
    const long long carry = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
    day += carry;
    seconds -= carry * 86400;
    if (day < -657434 || day > 2958465) vb::Raise(vb::err::InvalidProcedureCall);
    const double t = static_cast<double>(seconds) / 86400.0;
    return day >= 0 ? static_cast<double>(day) + t : static_cast<double>(day) - t;
}

// The runtime's English names: of month m (1..12), of weekday k (0 Sunday .. 6 Saturday).
std::string monthName(long m, bool abbreviated) {
    return vb::FormatDate(vb::DateSerial(2000, m, 1), abbreviated ? "mmm" : "mmmm");
}
std::string dayName(long k, bool abbreviated) {
    return vb::FormatDate(vb::DateSerial(2000, 1, 2 + k), abbreviated ? "ddd" : "dddd");
}

// A text as the scripts' Jet reads a date: the forms of a #date# literal, and a month by its
// name or its first three letters ("February 12, 1969", "12 Feb 1969", "12-Feb-69"), with an
// optional time. False when it names no date.
bool parseDateText(std::string_view text, vb::Date& out) {
    try {
        out = detail::ParseJetDate(text);
        return true;
    } catch (const vb::Error&) {
    }
    std::string s(text);
    int month = 0;
    std::vector<std::string> numbers;
    std::string time;
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (std::isdigit(c)) {
            size_t j = i;
            while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
            if (j < s.size() && s[j] == ':') {   // the time runs to the end
                time = s.substr(i);
                break;
            }
            numbers.push_back(s.substr(i, j - i));
            i = j;
        } else if (std::isalpha(c)) {
            size_t j = i;
            while (j < s.size() && std::isalpha(static_cast<unsigned char>(s[j]))) ++j;
            std::string word = s.substr(i, j - i);
            for (auto& ch : word) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            int found = 0;
            for (int m = 1; m <= 12 && !found; ++m)
                if (word == vb::LCase(monthName(m, word.size() == 3))) found = m;
            if (!found || month) return false;
            month = found;
            i = j;
        } else if (c == ' ' || c == ',' || c == '-' || c == '/' || c == '.') {
            ++i;
        } else {
            return false;
        }
    }
    if (!month || numbers.size() != 2 || numbers[0].size() > 2) return false;
    try {
        out = detail::ParseJetDate(std::to_string(month) + "/" + numbers[0] + "/" + numbers[1] +
                                   (time.empty() ? "" : " " + time));
        return true;
    } catch (const vb::Error&) {
        return false;
    }
}

// A date argument: a number is a date already, a text is read as one.
vb::Date dateOf(sqlite3_value* v) {
    const int type = sqlite3_value_type(v);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) return sqlite3_value_double(v);
    if (type == SQLITE_NULL) vb::Raise(vb::err::InvalidUseOfNull);
    vb::Date d = 0;
    if (!parseDateText(textOf(v), d)) vb::Raise(vb::err::TypeMismatch);
    return d;
}

std::string intervalOf(sqlite3_value* v) {
    std::string s = textOf(v);
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    static const char* const known[] = {"yyyy", "q", "m", "y", "d", "w", "ww", "h", "n", "s"};
    for (const char* k : known)
        if (s == k) return s;
    vb::Raise(vb::err::InvalidProcedureCall);
}

// The first day of the week argument: 0 (the system's: Sunday in US English) or 1..7.
int firstDayOf(int argc, sqlite3_value** argv, int at) {
    if (argc <= at || isNull(argv[at])) return 1;
    const long f = longOf(argv[at]);
    if (f < 0 || f > 7) vb::Raise(vb::err::InvalidProcedureCall);
    return f == 0 ? 1 : static_cast<int>(f);
}

int weekdayFrom(long long day, int firstDay) {
    const int w = vb::Weekday(static_cast<double>(day));   // 1 Sunday .. 7 Saturday
    return (w - firstDay + 7) % 7 + 1;
}

long long weekStart(long long day, int firstDay) { return day - (weekdayFrom(day, firstDay) - 1); }

// The first day of week 1 of a year: the week of January 1 (1), the first week with four days
// of the year (2), the first whole week (3).
long long firstWeekStart(int year, int firstDay, int firstWeek) {
    const long long jan1 = static_cast<long long>(vb::DateSerial(year, 1, 1));
    long long start = weekStart(jan1, firstDay);
    if (firstWeek == 3 && start != jan1) start += 7;
    if (firstWeek == 2 && 7 - (jan1 - start) < 4) start += 7;
    return start;
}

// A number through vb::FormatNumber with US English separators, whatever the system's: the
// update scripts' Jet formats as US English.
std::string formatUs(double value, std::string_view mask) {
    std::string s = vb::FormatNumber(value, mask);
    const QLocale locale;
    const std::string point = locale.decimalPoint().toStdString();
    const std::string group = locale.groupSeparator().toStdString();
    if (point == "." && group == ",") return s;
    std::string out;
    for (size_t i = 0; i < s.size();) {
        if (!group.empty() && s.compare(i, group.size(), group) == 0) { out += ','; i += group.size(); }
        else if (!point.empty() && s.compare(i, point.size(), point) == 0) { out += '.'; i += point.size(); }
        else out += s[i++];
    }
    return out;
}

std::string twelveHour(vb::Date d, bool twoDigits, bool seconds) {
    const int h = vb::Hour(d);
    const int h12 = h % 12 == 0 ? 12 : h % 12;
    std::string out = (twoDigits && h12 < 10 ? "0" : "") + std::to_string(h12);
    out += vb::FormatDate(d, seconds ? ":nn:ss" : ":nn");
    return out + (h < 12 ? " AM" : " PM");
}

// Format's named formats, as US English gives them (Short Date m/d/yyyy, Currency
// $1,234.50 and ($1,234.50)); false when the mask names none.
bool formatNamed(sqlite3_value* v, std::string mask, std::string& out) {
    for (auto& c : mask) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    static const char* const numeric[] = {"general number", "currency", "fixed", "standard", "percent",
                                          "scientific", "yes/no", "true/false", "on/off"};
    static const char* const dates[] = {"general date", "long date", "medium date", "short date",
                                        "long time", "medium time", "short time"};
    const bool isNumeric = std::find(std::begin(numeric), std::end(numeric), mask) != std::end(numeric);
    const bool isDate = std::find(std::begin(dates), std::end(dates), mask) != std::end(dates);
    if (!isNumeric && !isDate) return false;
    const int type = sqlite3_value_type(v);
    double x = 0;
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        x = sqlite3_value_double(v);
    } else {
        const std::string t = textOf(v);
        if (vb::IsNumeric(t)) x = vb::CDbl(t);
        else if (!(isDate && parseDateText(t, x))) { out = t; return true; }   // given back unchanged
    }
    if (mask == "general number") out = type == SQLITE_INTEGER ? textOf(v) : vb::CStr(x);
    else if (mask == "fixed") out = formatUs(x, "0.00");
    else if (mask == "standard") out = formatUs(x, "#,##0.00");
    else if (mask == "percent") out = formatUs(x, "0.00%");
    else if (mask == "currency") out = x < 0 ? "($" + formatUs(-x, "#,##0.00") + ")" : "$" + formatUs(x, "#,##0.00");
    else if (mask == "scientific") {
        char buf[40];
        const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 2);
        out.assign(buf, res.ptr);   // 1.23e+04
        const size_t e = out.find('e');
        std::string exponent = out.substr(e + 2);
        if (exponent.size() < 2) exponent.insert(0, "0");
        out = out.substr(0, e) + "E" + out[e + 1] + exponent;
    }
    else if (mask == "yes/no") out = x != 0 ? "Yes" : "No";
    else if (mask == "true/false") out = x != 0 ? "True" : "False";
    else if (mask == "on/off") out = x != 0 ? "On" : "Off";
    else if (mask == "short date") out = vb::FormatDate(x, "m/d/yyyy");
    else if (mask == "long date") out = vb::FormatDate(x, "dddd, mmmm d, yyyy");
    else if (mask == "medium date") out = vb::FormatDate(x, "dd-mmm-yy");
    else if (mask == "long time") out = twelveHour(x, false, true);
    else if (mask == "medium time") out = twelveHour(x, true, false);
    else if (mask == "short time") out = vb::FormatDate(x, "hh:nn");
    else {   // general date: the parts the value has
        const DayTime p = dayTime(x);
        out = p.day != 0 ? vb::FormatDate(x, "m/d/yyyy") : std::string();
        if (p.seconds != 0 || p.day == 0) out += (out.empty() ? "" : " ") + twelveHour(x, false, true);
    }
    return true;
}

void fnFormat(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (isNull(argv[0])) { sqlite3_result_null(ctx); return; }
    if (argc == 2 && sqlite3_value_type(argv[1]) == SQLITE_TEXT && sqlite3_value_bytes(argv[1]) > 4) {
        std::string named;
        if (formatNamed(argv[0], textOf(argv[1]), named)) {
            resultText(ctx, named);
            return;
        }
    }
    if (argc == 2 && sqlite3_value_type(argv[1]) == SQLITE_TEXT) {
        const std::string_view mask(reinterpret_cast<const char*>(sqlite3_value_text(argv[1])),
                                    static_cast<size_t>(sqlite3_value_bytes(argv[1])));
        std::string out;
        if (!isDateMask(mask) && formatDigits(argv[0], mask, out)) {
            resultText(ctx, out);
            return;
        }
    }
    if (argc < 2 || isNull(argv[1]) || textOf(argv[1]).empty()) {
        resultText(ctx, textOf(argv[0]));
        return;
    }
    std::string mask = textOf(argv[1]);
    int type = sqlite3_value_type(argv[0]);
    bool numeric = type == SQLITE_INTEGER || type == SQLITE_FLOAT || vb::IsNumeric(textOf(argv[0]));
    if (!numeric) {   // VB's Format gives a text that is no number back unchanged
        resultText(ctx, textOf(argv[0]));
        return;
    }
    double value = numberOf(argv[0]);
    resultText(ctx, isDateMask(mask) ? vb::FormatDate(value, mask) : vb::FormatNumber(value, mask));
}

void fnIsNumeric(sqlite3_context* ctx, int, sqlite3_value** argv) {
    int type = sqlite3_value_type(argv[0]);
    bool r = type == SQLITE_INTEGER || type == SQLITE_FLOAT ||
             (type != SQLITE_NULL && vb::IsNumeric(textOf(argv[0])));
    sqlite3_result_int(ctx, r ? -1 : 0);
}

void fnIsNull(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_result_int(ctx, isNull(argv[0]) ? -1 : 0);
}

void fnMid(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (isNull(argv[0])) { sqlite3_result_null(ctx); return; }
    std::string s = textOf(argv[0]);
    long start = longOf(argv[1]);
    resultText(ctx, argc == 3 ? vb::Mid(s, start, longOf(argv[2])) : vb::Mid(s, start));
}

void fnLeft(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (isNull(argv[0])) { sqlite3_result_null(ctx); return; }
    (void)argc;
    resultText(ctx, vb::Left(textOf(argv[0]), longOf(argv[1])));
}

void fnRight(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0])) { sqlite3_result_null(ctx); return; }
    resultText(ctx, vb::Right(textOf(argv[0]), longOf(argv[1])));
}

void fnLen(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullIn(ctx, argc, argv)) return;
    sqlite3_result_int64(ctx, vb::Len(textOf(argv[0])));
}

template <std::string (*F)(std::string_view)>
void fnText(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullIn(ctx, argc, argv)) return;
    resultText(ctx, F(textOf(argv[0])));
}

void fnVal(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0])) vb::Raise(vb::err::InvalidUseOfNull);
    int type = sqlite3_value_type(argv[0]);
    double d = type == SQLITE_INTEGER || type == SQLITE_FLOAT ? sqlite3_value_double(argv[0])
                                                              : vb::Val(textOf(argv[0]));
    sqlite3_result_double(ctx, d);
}

void fnCStr(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0])) vb::Raise(vb::err::InvalidUseOfNull);
    resultText(ctx, textOf(argv[0]));
}

void fnCLng(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_result_int64(ctx, longOf(argv[0]));
}

void fnCInt(sqlite3_context* ctx, int, sqlite3_value** argv) {
    long n = longOf(argv[0]);
    if (n < -32768 || n > 32767) vb::Raise(vb::err::Overflow);
    sqlite3_result_int64(ctx, n);
}

void fnCDbl(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_result_double(ctx, numberOf(argv[0]));
}

void fnNz(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (!isNull(argv[0])) sqlite3_result_value(ctx, argv[0]);
    else if (argc == 2) sqlite3_result_value(ctx, argv[1]);
    else resultText(ctx, "");
}

void fnDateSerial(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_result_double(ctx, vb::DateSerial(longOf(argv[0]), longOf(argv[1]), longOf(argv[2])));
}

void fnTimeSerial(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_result_double(ctx, vb::TimeSerial(longOf(argv[0]), longOf(argv[1]), longOf(argv[2])));
}

void fnNow(sqlite3_context* ctx, int, sqlite3_value**) { sqlite3_result_double(ctx, vb::Now()); }
void fnDate(sqlite3_context* ctx, int, sqlite3_value**) { sqlite3_result_double(ctx, vb::Today()); }

template <int (*F)(vb::Date)>
void fnDatePart(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullIn(ctx, argc, argv)) return;
    sqlite3_result_int(ctx, F(numberOf(argv[0])));
}

// The compare argument: 0 by character codes, 1 as text without regard to case.
vb::Compare compareOf(sqlite3_value* v) {
    const long c = longOf(v);
    if (c != 0 && c != 1) vb::Raise(vb::err::InvalidProcedureCall);
    return c == 1 ? vb::Compare::Text : vb::Compare::Binary;
}

void fnInStr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc == 4) {   // InStr(start, s1, s2, compare)
        if (isNull(argv[1]) || isNull(argv[2])) { sqlite3_result_null(ctx); return; }
        sqlite3_result_int64(ctx, vb::InStr(longOf(argv[0]), textOf(argv[1]), textOf(argv[2]), compareOf(argv[3])));
        return;
    }
    if (argc == 3) {
        if (isNull(argv[1]) || isNull(argv[2])) { sqlite3_result_null(ctx); return; }
        sqlite3_result_int64(ctx, vb::InStr(longOf(argv[0]), textOf(argv[1]), textOf(argv[2])));
        return;
    }
    if (nullIn(ctx, argc, argv)) return;
    sqlite3_result_int64(ctx, vb::InStr(textOf(argv[0]), textOf(argv[1])));
}

// The text of a LIKE operand without copying it when SQLite holds it as text.
std::string_view textView(sqlite3_value* v, std::string& scratch) {
    if (sqlite3_value_type(v) == SQLITE_TEXT) {
        const unsigned char* p = sqlite3_value_text(v);
        return p ? std::string_view(reinterpret_cast<const char*>(p), static_cast<size_t>(sqlite3_value_bytes(v)))
                 : std::string_view();
    }
    scratch = textOf(v);
    return scratch;
}

void fnLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullIn(ctx, argc, argv)) return;
    std::string scratch;
    // A constant pattern is compiled once per statement and kept with it (a word filter puts
    // several LIKEs in one WHERE, so a single last-pattern cache would compile on every row).
    if (auto* kept = static_cast<const CompiledPattern*>(sqlite3_get_auxdata(ctx, 0))) {
        sqlite3_result_int(ctx, kept->matches(textView(argv[1], scratch)) ? 1 : 0);
        return;
    }
    auto* cp = new CompiledPattern;
    cp->compile(textOf(argv[0]));
    sqlite3_result_int(ctx, cp->matches(textView(argv[1], scratch)) ? 1 : 0);
    // SQLite may free it at once; it is not used after this call.
    sqlite3_set_auxdata(ctx, 0, cp, [](void* p) { delete static_cast<CompiledPattern*>(p); });
}

// LIKE ... ESCAPE reaches no statement (the translation refuses it); should one call it, it
// fails rather than match with SQLite's wildcards.
void fnLikeEscape(sqlite3_context* ctx, int, sqlite3_value**) {
    resultError(ctx, vb::Error(jet::SyntaxError, "Syntax error in query expression: LIKE ... ESCAPE."));
}

// Jet's "+": Null gives Null, two texts are joined, anything else adds as numbers, a text
// that reads as a number counting as that number; any other text is a type mismatch.
double addend(sqlite3_value* v) {
    const int type = sqlite3_value_type(v);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) return sqlite3_value_double(v);
    const std::string t = textOf(v);
    if (!vb::IsNumeric(t)) throw vb::Error(jet::CriteriaTypeMismatch, "Data type mismatch in criteria expression.");
    return vb::CDbl(t);
}

void fnAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]) || isNull(argv[1])) {
        sqlite3_result_null(ctx);
        return;
    }
    const int ta = sqlite3_value_type(argv[0]), tb = sqlite3_value_type(argv[1]);
    if (ta == SQLITE_TEXT && tb == SQLITE_TEXT) {
        resultText(ctx, textOf(argv[0]) + textOf(argv[1]));
        return;
    }
    if (ta == SQLITE_INTEGER && tb == SQLITE_INTEGER) {
        const sqlite3_int64 x = sqlite3_value_int64(argv[0]), y = sqlite3_value_int64(argv[1]);
        sqlite3_int64 sum = 0;
        if (!__builtin_add_overflow(x, y, &sum)) {
            sqlite3_result_int64(ctx, sum);
            return;
        }
    }
    sqlite3_result_double(ctx, addend(argv[0]) + addend(argv[1]));
}

// ---- arithmetic ----------------------------------------------------------------------

// The operands of "\" and Mod: rounded to whole numbers first (half to even), as Jet does.
long long wholeOf(sqlite3_value* v) {
    if (sqlite3_value_type(v) == SQLITE_INTEGER) return sqlite3_value_int64(v);
    const double d = std::nearbyint(addend(v));
    if (!(d >= -9.2e18 && d <= 9.2e18)) vb::Raise(vb::err::Overflow);
    return static_cast<long long>(d);
}

// a \ b: the quotient of the rounded operands, truncated.
void fnIntDiv(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullIn(ctx, argc, argv)) return;
    const long long a = wholeOf(argv[0]), b = wholeOf(argv[1]);
    if (b == 0) vb::Raise(vb::err::DivisionByZero);
    if (b == -1) sqlite3_result_int64(ctx, -a);
    else sqlite3_result_int64(ctx, a / b);
}

// a Mod b: the remainder of the rounded operands, with the sign of a.
void fnMod(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullIn(ctx, argc, argv)) return;
    const long long a = wholeOf(argv[0]), b = wholeOf(argv[1]);
    if (b == 0) vb::Raise(vb::err::DivisionByZero);
    sqlite3_result_int64(ctx, b == -1 ? 0 : a % b);
}

void fnPow(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullIn(ctx, argc, argv)) return;
    const double base = addend(argv[0]), exponent = addend(argv[1]);
    if (base == 0 && exponent < 0) vb::Raise(vb::err::DivisionByZero);
    const double r = std::pow(base, exponent);
    if (std::isnan(r)) vb::Raise(vb::err::InvalidProcedureCall);   // a negative base, a fractional power
    if (std::isinf(r)) vb::Raise(vb::err::Overflow);
    sqlite3_result_double(ctx, r);
}

// x rounded at n decimals, a tie to the even digit, on the fifteen significant digits a
// Double shows (so that 1.25 and 0.125 are ties, as written).
double roundHalfEven(double x, long n) {
    if (n == 0 || !std::isfinite(x) || x == 0) return std::nearbyint(x);
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 14);
    const std::string sci(buf, res.ptr);
    const size_t epos = sci.find('e');
    std::string digits;
    for (size_t i = 0; i < epos; ++i)
        if (sci[i] != '.') digits += sci[i];
    const int exp10 = std::stoi(sci.substr(epos + 1));
    const long keep = exp10 + 1 + n;   // digits before the rounding place
    if (keep >= static_cast<long>(digits.size())) return x;
    if (keep < 0) return 0.0 * x;
    std::string kept = digits.substr(0, static_cast<size_t>(keep));
    const std::string rest = digits.substr(static_cast<size_t>(keep));
    const bool tie = rest[0] == '5' && rest.find_first_not_of('0', 1) == std::string::npos;
    const bool up = rest[0] > '5' || (rest[0] == '5' && !tie) ||
                    (tie && !kept.empty() && (kept.back() - '0') % 2 == 1);
    double r = kept.empty() ? 0 : std::stod(kept);
    if (up) r += 1;
    r = r / std::pow(10.0, static_cast<double>(n));
    return x < 0 ? -r : r;
}

void fnRound(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (isNull(argv[0])) { sqlite3_result_null(ctx); return; }
    const long n = argc == 2 ? longOf(argv[1]) : 0;
    if (n < 0) vb::Raise(vb::err::InvalidProcedureCall);
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER) { sqlite3_result_value(ctx, argv[0]); return; }
    sqlite3_result_double(ctx, roundHalfEven(numberOf(argv[0]), n));
}

// Int (down), Fix (towards zero) and Sgn keep a whole number whole.
template <int Kind>
void fnWholePart(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullIn(ctx, argc, argv)) return;
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER) {
        const sqlite3_int64 n = sqlite3_value_int64(argv[0]);
        sqlite3_result_int64(ctx, Kind == 2 ? (n > 0) - (n < 0) : n);
        return;
    }
    const double d = addend(argv[0]);
    if (Kind == 0) sqlite3_result_double(ctx, std::floor(d));
    else if (Kind == 1) sqlite3_result_double(ctx, std::trunc(d));
    else sqlite3_result_int(ctx, (d > 0) - (d < 0));
}

// ---- characters ----------------------------------------------------------------------

void fnChr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullIn(ctx, argc, argv)) return;
    resultText(ctx, vb::Chr(longOf(argv[0])));
}

void fnAsc(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullIn(ctx, argc, argv)) return;
    sqlite3_result_int64(ctx, vb::Asc(textOf(argv[0])));
}

// Str: a number as text, a blank where a positive number has no sign.
void fnStr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullIn(ctx, argc, argv)) return;
    std::string t;
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER) t = vb::CStr(static_cast<long long>(sqlite3_value_int64(argv[0])));
    else t = vb::CStr(addend(argv[0]));
    resultText(ctx, t[0] == '-' ? t : " " + t);
}

// A length the functions that build texts accept: VB's own limit lies far beyond what a
// statement should build.
long lengthOf(sqlite3_value* v) {
    const long n = longOf(v);
    if (n > 16 * 1024 * 1024) vb::Raise(vb::err::OutOfMemory);
    return n;
}

void fnSpace(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullIn(ctx, argc, argv)) return;
    resultText(ctx, vb::Space(lengthOf(argv[0])));
}

// String(n, c): c is a character code (taken Mod 256) or a text whose first character counts.
void fnString(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullIn(ctx, argc, argv)) return;
    const long n = lengthOf(argv[0]);
    const int type = sqlite3_value_type(argv[1]);
    std::u32string c;
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        long code = longOf(argv[1]) % 256;
        if (code < 0) code += 256;
        c = vb::ToChars(vb::Chr(code));
    } else {
        c = vb::ToChars(textOf(argv[1]));
        if (c.empty()) vb::Raise(vb::err::InvalidProcedureCall);
    }
    resultText(ctx, vb::String(n, c[0]));
}

// StrComp: -1, 0 or 1; as text without regard to case (compare 1), else by character codes.
void fnStrComp(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullIn(ctx, 2, argv)) return;
    const std::string a = textOf(argv[0]), b = textOf(argv[1]);
    int r = 0;
    if (argc == 3 && compareOf(argv[2]) == vb::Compare::Text) {
        const std::u32string ca = vb::ToChars(a), cb = vb::ToChars(b);
        size_t i = 0;
        while (i < ca.size() && i < cb.size() && vb::LowerChar(ca[i]) == vb::LowerChar(cb[i])) ++i;
        if (i < ca.size() && i < cb.size()) r = vb::LowerChar(ca[i]) < vb::LowerChar(cb[i]) ? -1 : 1;
        else r = ca.size() == cb.size() ? 0 : (ca.size() < cb.size() ? -1 : 1);
    } else {
        const std::u32string ca = vb::ToChars(a), cb = vb::ToChars(b);
        r = ca == cb ? 0 : (ca < cb ? -1 : 1);
    }
    sqlite3_result_int(ctx, r);
}

// ---- choices -------------------------------------------------------------------------

// Choose(index, c1, c2, ...): the index rounded; Null outside the choices.
void fnChoose(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc < 2) vb::Raise(vb::err::InvalidProcedureCall);
    if (isNull(argv[0])) { sqlite3_result_null(ctx); return; }
    const long k = longOf(argv[0]);
    if (k < 1 || k >= argc) sqlite3_result_null(ctx);
    else sqlite3_result_value(ctx, argv[k]);
}

// First and Last: the value of the first or the last row of the group, Null included.
template <bool Last>
void stepFirstLast(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto** kept = static_cast<sqlite3_value**>(sqlite3_aggregate_context(ctx, sizeof(sqlite3_value*)));
    if (!kept) { sqlite3_result_error_nomem(ctx); return; }
    // The context starts zeroed: a row seen is kept as a copy, Null as a copy of Null.
    if (*kept && !Last) return;
    sqlite3_value* copy = sqlite3_value_dup(argv[0]);
    if (!copy) { sqlite3_result_error_nomem(ctx); return; }
    sqlite3_value_free(*kept);
    *kept = copy;
}

void finalFirstLast(sqlite3_context* ctx) {
    auto** kept = static_cast<sqlite3_value**>(sqlite3_aggregate_context(ctx, 0));
    if (!kept || !*kept) { sqlite3_result_null(ctx); return; }
    sqlite3_result_value(ctx, *kept);
    sqlite3_value_free(*kept);
    *kept = nullptr;
}

void fnDateAdd(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullIn(ctx, argc, argv)) return;
    const std::string iv = intervalOf(argv[0]);
    const double number = std::trunc(addend(argv[1]));
    if (std::fabs(number) > 1e10) vb::Raise(vb::err::InvalidProcedureCall);
    const long long k = static_cast<long long>(number);
    const vb::Date d = dateOf(argv[2]);
    DayTime p = dayTime(d);
    if (iv == "yyyy" || iv == "q" || iv == "m") {
        const long long months = k * (iv == "yyyy" ? 12 : iv == "q" ? 3 : 1);
        const long long total = vb::Year(d) * 12LL + (vb::Month(d) - 1) + months;
        if (total < 100 * 12 || total >= 10000 * 12) vb::Raise(vb::err::InvalidProcedureCall);
        const long y = static_cast<long>(total / 12), m = static_cast<long>(total % 12) + 1;
        // The day stays, or becomes the last of a shorter month.
        const long last = vb::Day(vb::DateSerial(y, m + 1, 0));
        p.day = static_cast<long long>(vb::DateSerial(y, m, std::min<long>(vb::Day(d), last)));
    } else if (iv == "y" || iv == "d" || iv == "w") {
        p.day += k;
    } else if (iv == "ww") {
        p.day += 7 * k;
    } else {
        p.seconds += k * (iv == "h" ? 3600 : iv == "n" ? 60 : 1);
    }
    sqlite3_result_double(ctx, oleDate(p.day, p.seconds));
}

void fnDateDiff(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullIn(ctx, 3, argv)) return;
    const std::string iv = intervalOf(argv[0]);
    const vb::Date d1 = dateOf(argv[1]), d2 = dateOf(argv[2]);
    const int firstDay = firstDayOf(argc, argv, 3);
    const DayTime a = dayTime(d1), b = dayTime(d2);
    const long long sa = a.day * 86400 + a.seconds, sb = b.day * 86400 + b.seconds;
    auto floorDiv = [](long long x, long long y) { return x / y - ((x % y != 0) && ((x < 0) != (y < 0))); };
    long long r = 0;
    if (iv == "yyyy") r = vb::Year(d2) - vb::Year(d1);
    else if (iv == "q") r = (vb::Year(d2) * 4LL + (vb::Month(d2) - 1) / 3) - (vb::Year(d1) * 4LL + (vb::Month(d1) - 1) / 3);
    else if (iv == "m") r = (vb::Year(d2) * 12LL + vb::Month(d2)) - (vb::Year(d1) * 12LL + vb::Month(d1));
    else if (iv == "y" || iv == "d") r = b.day - a.day;
    else if (iv == "w") r = (b.day - a.day) / 7;
    else if (iv == "ww") r = (weekStart(b.day, firstDay) - weekStart(a.day, firstDay)) / 7;
    else if (iv == "h") r = floorDiv(sb, 3600) - floorDiv(sa, 3600);
    else if (iv == "n") r = floorDiv(sb, 60) - floorDiv(sa, 60);
    else r = sb - sa;
    sqlite3_result_int64(ctx, r);
}

void fnDatePartOf(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullIn(ctx, 2, argv)) return;
    const std::string iv = intervalOf(argv[0]);
    const vb::Date d = dateOf(argv[1]);
    const int firstDay = firstDayOf(argc, argv, 2);
    long firstWeek = argc > 3 && !isNull(argv[3]) ? longOf(argv[3]) : 1;
    if (firstWeek < 0 || firstWeek > 3) vb::Raise(vb::err::InvalidProcedureCall);
    if (firstWeek == 0) firstWeek = 1;
    const DayTime p = dayTime(d);
    const int year = vb::Year(d);
    long long r = 0;
    if (iv == "yyyy") r = year;
    else if (iv == "q") r = (vb::Month(d) - 1) / 3 + 1;
    else if (iv == "m") r = vb::Month(d);
    else if (iv == "y") r = p.day - static_cast<long long>(vb::DateSerial(year, 1, 1)) + 1;
    else if (iv == "d") r = vb::Day(d);
    else if (iv == "w") r = weekdayFrom(p.day, firstDay);
    else if (iv == "ww") {
        const int fw = static_cast<int>(firstWeek);
        long long start = firstWeekStart(year, firstDay, fw);
        if (p.day < start) start = firstWeekStart(year - 1, firstDay, fw);   // the last week of the year before
        else if (fw != 1 && p.day >= firstWeekStart(year + 1, firstDay, fw)) start = firstWeekStart(year + 1, firstDay, fw);
        r = (weekStart(p.day, firstDay) - start) / 7 + 1;
    } else if (iv == "h") r = vb::Hour(d);
    else if (iv == "n") r = vb::Minute(d);
    else r = vb::Second(d);
    sqlite3_result_int64(ctx, r);
}

// DateValue: the day without its time; TimeValue: the time on day 0; CDate: the whole date.
template <int Part>
void fnDateConvert(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (Part != 2 && nullIn(ctx, argc, argv)) return;
    const vb::Date d = dateOf(argv[0]);
    if (Part == 0) sqlite3_result_double(ctx, static_cast<double>(dayTime(d).day));
    else if (Part == 1) sqlite3_result_double(ctx, oleDate(0, dayTime(d).seconds));
    else sqlite3_result_double(ctx, d);
}

// IsDate: a text that reads as a date, or a date value (our dates are Doubles; a whole
// number of another type is no date).
void fnIsDate(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int type = sqlite3_value_type(argv[0]);
    bool r = false;
    vb::Date d = 0;
    if (type == SQLITE_FLOAT) {
        const double x = sqlite3_value_double(argv[0]);
        r = x > -657435.0 && x < 2958466.0;
    }
    else if (type == SQLITE_TEXT) r = parseDateText(textOf(argv[0]), d);
    sqlite3_result_int(ctx, r ? -1 : 0);
}

void fnWeekday(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullIn(ctx, 1, argv)) return;
    sqlite3_result_int(ctx, weekdayFrom(dayTime(dateOf(argv[0])).day, firstDayOf(argc, argv, 1)));
}

bool abbreviated(int argc, sqlite3_value** argv, int at) {
    return argc > at && !isNull(argv[at]) && numberOf(argv[at]) != 0;
}

void fnWeekdayName(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullIn(ctx, 1, argv)) return;
    const long n = longOf(argv[0]);
    if (n < 1 || n > 7) vb::Raise(vb::err::InvalidProcedureCall);
    resultText(ctx, dayName((n - 1 + firstDayOf(argc, argv, 2) - 1) % 7, abbreviated(argc, argv, 1)));
}

void fnMonthName(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullIn(ctx, 1, argv)) return;
    const long n = longOf(argv[0]);
    if (n < 1 || n > 12) vb::Raise(vb::err::InvalidProcedureCall);
    resultText(ctx, monthName(n, abbreviated(argc, argv, 1)));
}

int collateJet(void*, int na, const void* a, int nb, const void* b) {
    // Grouped and sorted lists compare many texts with themselves.
    if (na == nb && std::memcmp(a, b, static_cast<size_t>(na)) == 0) return 0;
    return JetCollate(std::string_view(static_cast<const char*>(a), static_cast<size_t>(na)),
                      std::string_view(static_cast<const char*>(b), static_cast<size_t>(nb)));
}

void add(sqlite3* db, const char* name, int nArg, Fn f, bool deterministic = true) {
    int flags = SQLITE_UTF8 | (deterministic ? SQLITE_DETERMINISTIC : 0);
    sqlite3_create_function(db, name, nArg, flags, nullptr, f, nullptr, nullptr);
}

}  // namespace

bool JetLike(std::string_view pattern, std::string_view text) {
    // The same pattern is tried against every row of a query: keep the last one compiled.
    thread_local std::string lastPattern;
    thread_local CompiledPattern compiled;
    thread_local bool ready = false;
    if (!ready || pattern != lastPattern) {
        compiled.compile(pattern);
        lastPattern = std::string(pattern);
        ready = true;
    }
    return compiled.matches(text);
}

int JetCollate(std::string_view a, std::string_view b) {
    const auto& ascii = asciiPrimary();
    size_t i = 0, j = 0;
    int secondary = 0;
    while (i < a.size() && j < b.size()) {
        const unsigned char ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[j]);
        if ((ca | cb) < 0x80) {
            if (ca != cb && ascii[ca] != ascii[cb]) return ascii[ca] < ascii[cb] ? -1 : 1;
            ++i;
            ++j;
            continue;
        }
        CharKey ka = keyOf(nextChar(a, i));
        CharKey kb = keyOf(nextChar(b, j));
        if (ka.primary != kb.primary) return ka.primary < kb.primary ? -1 : 1;
        if (secondary == 0 && ka.secondary != kb.secondary)
            secondary = ka.secondary < kb.secondary ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return secondary;
}

void SizePageCache(sqlite3* db, long long fileBytes) {
    // The whole file with room to grow, within a bound: each search reads most of the
    // catalogue's pages, and decrypting them again on every keystroke costs more than the
    // search. The memory goes with the connection.
    constexpr long long minimumKiB = 2048, maximumKiB = 64 * 1024;
    const long long kib = std::clamp(fileBytes / 1024 + fileBytes / 4096 + 256, minimumKiB, maximumKiB);
    const std::string pragma = "PRAGMA cache_size=-" + std::to_string(kib);
    sqlite3_exec(db, pragma.c_str(), nullptr, nullptr, nullptr);
}

void RegisterJetFunctions(sqlite3* db) {
    sqlite3_create_collation(db, "JET", SQLITE_UTF8, nullptr, collateJet);
    add(db, "jet_concat", -1, guarded<fnConcat>);
    add(db, "jet_format", 1, guarded<fnFormat>);
    add(db, "jet_format", 2, guarded<fnFormat>);
    add(db, "jet_isnumeric", 1, guarded<fnIsNumeric>);
    add(db, "jet_isnull", 1, guarded<fnIsNull>);
    add(db, "jet_mid", 2, guarded<fnMid>);
    add(db, "jet_mid", 3, guarded<fnMid>);
    add(db, "jet_left", 2, guarded<fnLeft>);
    add(db, "jet_right", 2, guarded<fnRight>);
    add(db, "jet_len", 1, guarded<fnLen>);
    add(db, "jet_ucase", 1, guarded<fnText<vb::UCase>>);
    add(db, "jet_lcase", 1, guarded<fnText<vb::LCase>>);
    add(db, "jet_trim", 1, guarded<fnText<vb::Trim>>);
    add(db, "jet_ltrim", 1, guarded<fnText<vb::LTrim>>);
    add(db, "jet_rtrim", 1, guarded<fnText<vb::RTrim>>);
    add(db, "jet_val", 1, guarded<fnVal>);
    add(db, "jet_cstr", 1, guarded<fnCStr>);
    add(db, "jet_clng", 1, guarded<fnCLng>);
    add(db, "jet_cint", 1, guarded<fnCInt>);
    add(db, "jet_cdbl", 1, guarded<fnCDbl>);
    add(db, "jet_nz", 1, guarded<fnNz>);
    add(db, "jet_nz", 2, guarded<fnNz>);
    add(db, "jet_dateserial", 3, guarded<fnDateSerial>);
    add(db, "jet_timeserial", 3, guarded<fnTimeSerial>);
    add(db, "jet_now", 0, guarded<fnNow>, false);
    add(db, "jet_date", 0, guarded<fnDate>, false);
    add(db, "jet_year", 1, guarded<fnDatePart<vb::Year>>);
    add(db, "jet_month", 1, guarded<fnDatePart<vb::Month>>);
    add(db, "jet_day", 1, guarded<fnDatePart<vb::Day>>);
    add(db, "jet_instr", 2, guarded<fnInStr>);
    add(db, "jet_instr", 3, guarded<fnInStr>);
    add(db, "jet_add", 2, guarded<fnAdd>);
    add(db, "jet_intdiv", 2, guarded<fnIntDiv>);
    add(db, "jet_mod", 2, guarded<fnMod>);
    add(db, "jet_pow", 2, guarded<fnPow>);
    add(db, "jet_round", 1, guarded<fnRound>);
    add(db, "jet_round", 2, guarded<fnRound>);
    add(db, "jet_int", 1, guarded<fnWholePart<0>>);
    add(db, "jet_fix", 1, guarded<fnWholePart<1>>);
    add(db, "jet_sgn", 1, guarded<fnWholePart<2>>);
    add(db, "jet_chr", 1, guarded<fnChr>);
    add(db, "jet_asc", 1, guarded<fnAsc>);
    add(db, "jet_str", 1, guarded<fnStr>);
    add(db, "jet_space", 1, guarded<fnSpace>);
    add(db, "jet_string", 2, guarded<fnString>);
    add(db, "jet_strcomp", 2, guarded<fnStrComp>);
    add(db, "jet_strcomp", 3, guarded<fnStrComp>);
    add(db, "jet_instr", 4, guarded<fnInStr>);
    add(db, "jet_choose", -1, guarded<fnChoose>);
    add(db, "jet_hour", 1, guarded<fnDatePart<vb::Hour>>);
    add(db, "jet_minute", 1, guarded<fnDatePart<vb::Minute>>);
    add(db, "jet_second", 1, guarded<fnDatePart<vb::Second>>);
    for (int n = 1; n <= 2; ++n) add(db, "jet_weekday", n, guarded<fnWeekday>);
    for (int n = 1; n <= 3; ++n) add(db, "jet_weekdayname", n, guarded<fnWeekdayName>);
    for (int n = 1; n <= 2; ++n) add(db, "jet_monthname", n, guarded<fnMonthName>);
    add(db, "jet_dateadd", 3, guarded<fnDateAdd>);
    for (int n = 3; n <= 5; ++n) add(db, "jet_datediff", n, guarded<fnDateDiff>);
    for (int n = 2; n <= 4; ++n) add(db, "jet_datepart", n, guarded<fnDatePartOf>);
    add(db, "jet_datevalue", 1, guarded<fnDateConvert<0>>);
    add(db, "jet_timevalue", 1, guarded<fnDateConvert<1>>);
    add(db, "jet_cdate", 1, guarded<fnDateConvert<2>>);
    add(db, "jet_isdate", 1, guarded<fnIsDate>);
    sqlite3_create_function(db, "jet_first", 1, SQLITE_UTF8, nullptr, nullptr, stepFirstLast<false>, finalFirstLast);
    sqlite3_create_function(db, "jet_last", 1, SQLITE_UTF8, nullptr, nullptr, stepFirstLast<true>, finalFirstLast);
    // SQLite's LIKE operator calls like(pattern, text).
    add(db, "like", 2, guarded<fnLike>);
    add(db, "like", 3, guarded<fnLikeEscape>);
}

}  // namespace dao
