// The Jet pieces that run inside SQLite: the JET collation, Jet's LIKE and the VB functions
// that Jet SQL may call. Errors of the VB runtime travel through SQLite as a message that
// starts with "\x01<number>\x01", so the caller raises them again with their own number.
#include "platform/dao/JetSql.h"

#include "platform/dao/Dao.h"

#include "platform/vb/DateTime.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <QChar>
#include <QString>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cmath>
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

void fnFormat(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (isNull(argv[0])) { sqlite3_result_null(ctx); return; }
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

void fnInStr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
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
    // SQLite's LIKE operator calls like(pattern, text).
    add(db, "like", 2, guarded<fnLike>);
    add(db, "like", 3, guarded<fnLikeEscape>);
}

}  // namespace dao
