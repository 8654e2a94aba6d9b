// Jet SQL text to SQLite SQL. The lexer keeps literals and [names] whole; the translation
// works on one parenthesis level at a time, so the operands of "&" and the arguments of IIF
// are found by the precedence of the tokens around them, not by text search.
#include "platform/dao/JetSql.h"

#include "platform/dao/Dao.h"
#include "platform/dao/JetInstrucoes.h"
#include "platform/dao/JetLexer.h"
#include "platform/vb/DateTime.h"
#include "platform/vb/Err.h"

#include <cctype>
#include <cstdio>
#include <optional>
#include <set>

namespace dao {
namespace detail {

namespace {

[[noreturn]] void syntax(const std::string& what) {
    throw vb::Error(jet::SyntaxError, "Syntax error in query expression: " + what + ".");
}

bool isWordStart(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool isWordChar(unsigned char c) { return std::isalnum(c) || c == '_' || c >= 0x80; }

}  // namespace

bool IsWord(const Token& t, std::string_view kw) {
    if (t.kind != Tok::Word || t.text.size() != kw.size()) return false;
    for (size_t i = 0; i < kw.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(t.text[i])) != kw[i]) return false;
    return true;
}

std::vector<Token> Lex(std::string_view s) {
    std::vector<Token> out;
    size_t i = 0;
    bool space = false;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (std::isspace(c)) { space = true; ++i; continue; }
        Token t{Tok::Symbol, {}, space};
        space = false;
        if (c == '\'' || c == '"') {
            char q = static_cast<char>(c);
            size_t j = i + 1;
            for (;;) {
                if (j >= s.size()) syntax("unclosed text literal");
                if (s[j] == q) {
                    if (j + 1 < s.size() && s[j + 1] == q) { t.text += q; j += 2; continue; }
                    break;
                }
                t.text += s[j++];
            }
            t.kind = Tok::String;
            i = j + 1;
        } else if (c == '[' || c == '#') {
            // A [name] or a #date#: everything up to the closing mark, taken as it stands.
            const bool bracket = c == '[';
            size_t j = s.find(bracket ? ']' : '#', i + 1);
            if (j == std::string_view::npos) syntax(bracket ? "unclosed [name]" : "unclosed #date#");
            t.kind = bracket ? Tok::Bracket : Tok::Date;
            t.text = std::string(s.substr(i + 1, j - i - 1));
            i = j + 1;
        } else if (std::isdigit(c) || (c == '.' && i + 1 < s.size() && std::isdigit(static_cast<unsigned char>(s[i + 1])))) {
            size_t j = i;
            while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
            if (j < s.size() && s[j] == '.') {
                ++j;
                while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
            }
            if (j < s.size() && (s[j] == 'e' || s[j] == 'E')) {
                size_t k = j + 1;
                if (k < s.size() && (s[k] == '+' || s[k] == '-')) ++k;
                if (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) {
                    j = k;
                    while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
                }
            }
            t.kind = Tok::Number;
            t.text = std::string(s.substr(i, j - i));
            i = j;
        } else if (isWordStart(c)) {
            size_t j = i;
            while (j < s.size() && isWordChar(static_cast<unsigned char>(s[j]))) ++j;
            t.kind = Tok::Word;
            t.text = std::string(s.substr(i, j - i));
            i = j;
        } else {
            std::string_view two = s.substr(i, 2);
            if (two == "<>" || two == "<=" || two == ">=" || two == "!=" || two == "||") {
                t.text = std::string(two);
                i += 2;
            } else {
                t.text = std::string(1, static_cast<char>(c));
                ++i;
            }
        }
        out.push_back(std::move(t));
    }
    return out;
}

namespace {

bool leapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

bool validDate(int y, int m, int d) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 100 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
    return d <= days[m - 1] + (m == 2 && leapYear(y) ? 1 : 0);
}

// Two-digit years as Jet reads them: 00 to 29 in this century, 30 to 99 in the last.
int fullYear(int y, size_t digits) {
    if (digits > 2) return y;
    return y < 30 ? 2000 + y : 1900 + y;
}

[[noreturn]] void badDate(std::string_view text) {
    throw vb::Error(jet::SyntaxError, "Syntax error in date in query expression '#" + std::string(text) + "#'.");
}

}  // namespace

// Jet reads #a/b/c# month first, and day first only when a cannot be a month; a year first
// when a has more than two digits or cannot be a day (yyyy-mm-dd). A date or a time that
// does not exist is an error, never a neighbour of it.
double ParseJetDate(std::string_view text) {
    std::string s(text);
    size_t i = 0;
    auto blanks = [&] {
        while (i < s.size() && s[i] == ' ') ++i;
    };
    // A whole number; its digit count goes to digits.
    auto number = [&](int& value, size_t& digits) {
        size_t start = i;
        value = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && i - start < 5)
            value = value * 10 + (s[i++] - '0');
        digits = i - start;
        return digits > 0 && !(i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])));
    };
    blanks();
    double date = 0;
    bool hasDate = false;
    size_t mark = i;
    int a = 0, b = 0, c = 0;
    size_t da = 0, db = 0, dc = 0;
    if (number(a, da) && i < s.size() && (s[i] == '/' || s[i] == '-')) {
        const char sep = s[i++];
        if (!number(b, db) || i >= s.size() || s[i] != sep) badDate(text);
        ++i;
        if (!number(c, dc)) badDate(text);
        int y = 0, m = 0, d = 0;
        if (da > 2 || a > 31) {
            y = a, m = b, d = c;
        } else {
            y = fullYear(c, dc);
            if (validDate(y, a, b)) m = a, d = b;
            else m = b, d = a;
        }
        if (!validDate(y, m, d)) badDate(text);
        date = vb::DateSerial(y, m, d);
        hasDate = true;
    } else {
        i = mark;
    }
    blanks();
    if (i == s.size()) {
        if (!hasDate) badDate(text);
        return date;
    }
    // The time: h:nn[:ss] [AM|PM].
    int h = 0, n = 0, sec = 0;
    size_t dh = 0, dn = 0, ds = 0;
    if (!number(h, dh) || i >= s.size() || s[i] != ':') badDate(text);
    ++i;
    if (!number(n, dn)) badDate(text);
    if (i < s.size() && s[i] == ':') {
        ++i;
        if (!number(sec, ds)) badDate(text);
    }
    blanks();
    std::string ampm;
    while (i < s.size() && std::isalpha(static_cast<unsigned char>(s[i])))
        ampm += static_cast<char>(std::toupper(static_cast<unsigned char>(s[i++])));
    blanks();
    if (i != s.size() || (!ampm.empty() && ampm != "AM" && ampm != "PM")) badDate(text);
    if (!ampm.empty()) {
        if (h < 1 || h > 12) badDate(text);
        if (ampm == "PM" && h < 12) h += 12;
        if (ampm == "AM" && h == 12) h = 0;
    }
    if (h > 23 || n > 59 || sec > 59) badDate(text);
    double t = vb::TimeSerial(h, n, sec);
    return date < 0 ? date - t : date + t;
}

}  // namespace detail

namespace {

using detail::IsWord;
using detail::Tok;
using detail::Token;

// Jet functions that run as registered functions; the SQL names get a prefix so that none
// collides with SQLite's own (date, trim, left as a join word).
const std::set<std::string>& jetFunctions() {
    static const std::set<std::string> f = {
        "FORMAT", "ISNUMERIC", "MID", "LEFT", "RIGHT", "LEN", "UCASE", "LCASE", "TRIM",
        "LTRIM", "RTRIM", "VAL", "CSTR", "NZ", "DATESERIAL", "TIMESERIAL", "NOW", "DATE",
        "YEAR", "MONTH", "DAY", "CLNG", "CINT", "CDBL", "INSTR", "ISNULL", "ROUND", "INT", "FIX",
        "SGN", "CHR", "ASC", "STR", "SPACE", "STRING", "STRCOMP", "HOUR", "MINUTE", "SECOND",
        "WEEKDAY", "WEEKDAYNAME", "MONTHNAME", "CHOOSE", "FIRST", "LAST", "DATEADD", "DATEDIFF",
        "DATEPART", "DATEVALUE", "TIMEVALUE", "CDATE", "ISDATE"};
    return f;
}

// Words at which the operand of "&" ends (they bind more loosely, or start a clause).
const std::set<std::string>& boundaryWords() {
    static const std::set<std::string> w = {
        "SELECT", "DISTINCT", "DISTINCTROW", "ALL", "FROM", "WHERE", "AS", "ON", "JOIN", "INNER",
        "LEFT", "RIGHT", "OUTER", "CROSS", "ORDER", "GROUP", "BY", "HAVING", "UNION", "ASC",
        "DESC", "AND", "OR", "NOT", "XOR", "LIKE", "IN", "IS", "BETWEEN", "EXISTS", "TOP",
        "SET", "VALUES", "INTO", "INSERT", "UPDATE", "DELETE", "WHEN", "THEN", "ELSE", "END",
        "CASE", "ESCAPE", "LIMIT", "CREATE", "DROP", "ALTER", "TABLE", "INDEX"};
    return w;
}

std::string upper(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string quoteText(const std::string& v) {
    std::string o = "'";
    for (char c : v) {
        o += c;
        if (c == '\'') o += '\'';
    }
    return o + "'";
}

struct Item {
    std::string sql;
    bool space = false;
    bool boundary = false;
    bool amp = false;
    bool logic = false;           // a comparison or logical operator: SQLite gives 1 for True
    std::string op;               // an arithmetic operator: + - * / \ ^ & MOD
    const Token* tok = nullptr;   // the single token it came from, if any
};

class Translator {
public:
    static constexpr std::size_t kMaxNesting = 200;


    explicit Translator(std::vector<Token> toks) : t_(std::move(toks)), match_(t_.size(), -1) {
        std::vector<int> stack;
        for (int i = 0; i < static_cast<int>(t_.size()); ++i) {
            if (isSym(i, "(")) {
                // Each level is a recursion of the translation; SQLite's parser refuses far
                // fewer, so a deeper text is refused here instead of running out of stack.
                if (stack.size() >= kMaxNesting) syntax("parentheses nested too deeply");
                stack.push_back(i);
            } else if (isSym(i, ")")) {
                if (stack.empty()) syntax("unbalanced parentheses");
                match_[stack.back()] = i;
                stack.pop_back();
            }
        }
        if (!stack.empty()) syntax("unbalanced parentheses");
    }

    std::string statement() {
        int n = static_cast<int>(t_.size());
        while (n > 0 && isSym(n - 1, ";")) --n;   // a closing ";" is allowed
        ddlStatement_ = n > 0 && (IsWord(t_[0], "CREATE") || IsWord(t_[0], "ALTER"));
        if (n >= 2 && IsWord(t_[0], "CREATE") && IsWord(t_[1], "TABLE")) return createTable(n);
        if (n >= 4 && IsWord(t_[0], "ALTER") && IsWord(t_[1], "TABLE")) return alterTable(n);
        if (n >= 2 && IsWord(t_[0], "CREATE") &&
            (IsWord(t_[1], "INDEX") || (n >= 3 && IsWord(t_[1], "UNIQUE") && IsWord(t_[2], "INDEX"))))
            return createIndex(n);
        // Jet's "DELETE * FROM T" / "DELETE T.* FROM T": SQLite names no columns there.
        if (n >= 2 && IsWord(t_[0], "DELETE") && !IsWord(t_[1], "FROM")) {
            int from = 1;
            while (from < n && !IsWord(t_[from], "FROM")) ++from;
            if (from == n) syntax("DELETE without FROM");
            return "DELETE " + seq(from, n);
        }
        // Jet's "DROP INDEX i ON T": SQLite's index names are unique per file.
        if (n >= 5 && IsWord(t_[0], "DROP") && IsWord(t_[1], "INDEX") && IsWord(t_[3], "ON"))
            return "DROP INDEX " + nameText(2);
        return seq(0, n);
    }

private:
    static void syntax(const std::string& what) {
        throw vb::Error(jet::SyntaxError, "Syntax error in query expression: " + what + ".");
    }

    bool isSym(int i, std::string_view s) const {
        return i >= 0 && i < static_cast<int>(t_.size()) && t_[i].kind == Tok::Symbol && t_[i].text == s;
    }

    // Top-level comma positions split [b, e) into ranges.
    std::vector<std::pair<int, int>> splitCommas(int b, int e) const {
        std::vector<std::pair<int, int>> parts;
        int start = b;
        for (int i = b; i < e; ++i) {
            if (isSym(i, "(")) { i = match_[i]; continue; }
            if (isSym(i, ",")) { parts.push_back({start, i}); start = i + 1; }
        }
        parts.push_back({start, e});
        return parts;
    }

    // Tokens that stood side by side in Jet may not once translated: "'x'ORDER BY" becomes
    // "'x' COLLATE JET" before ORDER, "Qt-True" becomes "Qt--1", which SQLite reads as a
    // comment. Such neighbours get a blank.
    static bool needsGap(const std::string& left, const std::string& right) {
        if (left.empty() || right.empty()) return false;
        unsigned char a = static_cast<unsigned char>(left.back());
        unsigned char b = static_cast<unsigned char>(right.front());
        return (detail::isWordChar(a) && detail::isWordChar(b)) || (a == '-' && b == '-') || (a == '/' && b == '*');
    }

    static std::string join(const std::vector<Item>& items) {
        std::string o;
        for (size_t i = 0; i < items.size(); ++i) {
            if (i > 0 && (items[i].space || needsGap(o, items[i].sql))) o += ' ';
            o += items[i].sql;
        }
        return o;
    }

    bool isTopSelect(int b, int e) const {
        if (b >= e || !IsWord(t_[b], "SELECT")) return false;
        int i = b + 1;
        while (i < e && (IsWord(t_[i], "DISTINCT") || IsWord(t_[i], "DISTINCTROW") || IsWord(t_[i], "ALL"))) ++i;
        return i < e && IsWord(t_[i], "TOP");
    }

    // A UNION, when it needs more than its words translated (nullopt when it does not):
    // - Jet's TOP in one of its SELECTs limits that SELECT alone; SQLite takes LIMIT only
    //   after the whole compound, so such a SELECT becomes a subquery of its own;
    // - its ORDER BY (after the last SELECT, for the whole union, as in Jet) sorts the
    //   union as a subquery: SQLite 3.15 cannot resolve a UNION whose later SELECT groups
    //   rows when the ORDER BY terms name a collation.
    std::optional<std::string> compoundSelect(int b, int e) {
        std::vector<int> unions;
        int firstSelect = -1;
        for (int i = b; i < e; ++i) {
            if (isSym(i, "(")) { i = match_[i]; continue; }
            if (isSym(i - 1, ".") || isSym(i + 1, ".")) continue;
            if (firstSelect < 0 && IsWord(t_[i], "SELECT")) firstSelect = i;
            if (IsWord(t_[i], "UNION")) unions.push_back(i);
        }
        if (unions.empty() || firstSelect < 0) return std::nullopt;
        std::vector<std::pair<int, int>> members;
        std::vector<std::string> joins;
        int start = firstSelect;
        for (int u : unions) {
            members.push_back({start, u});
            start = u + 1;
            if (start < e && IsWord(t_[start], "ALL")) {
                joins.push_back(" UNION ALL ");
                ++start;
            } else {
                joins.push_back(" UNION ");
            }
        }
        int orderAt = e;
        for (int i = start; i + 1 < e; ++i) {
            if (isSym(i, "(")) { i = match_[i]; continue; }
            if (IsWord(t_[i], "ORDER") && IsWord(t_[i + 1], "BY")) { orderAt = i; break; }
        }
        members.push_back({start, orderAt});
        bool anyTop = false;
        for (auto& [mb, me] : members) anyTop = anyTop || isTopSelect(mb, me);
        if (!anyTop && orderAt == e) return std::nullopt;
        std::string compound;
        for (size_t k = 0; k < members.size(); ++k) {
            if (k) compound += joins[k - 1];
            auto [mb, me] = members[k];
            if (mb >= me) syntax("UNION without a SELECT");
            std::string m = seq(mb, me);
            compound += isTopSelect(mb, me) ? "SELECT * FROM (" + m + ")" : m;
        }
        std::string out = firstSelect > b ? seq(b, firstSelect) + " " : std::string();
        if (orderAt < e) out += "SELECT * FROM (" + compound + ") " + seq(orderAt, e);
        else out += compound;
        return out;
    }

    // Where a level's value goes: used as a value (a select list, an assignment, an operand),
    // or tested as a condition (WHERE, ON, HAVING, IIF's first argument, an operand of AND/OR).
    enum class Ctx { Value, Condition };

    // Words around a parenthesised group that make it a condition, not a value.
    static bool logicalLeft(const Token& t) {
        static const std::set<std::string> w = {"AND", "OR", "NOT", "XOR", "WHERE", "HAVING", "ON", "WHEN"};
        return t.kind == Tok::Word && w.count(upper(t.text)) > 0;
    }
    static bool logicalRight(const Token& t) {
        if (t.kind == Tok::Symbol) return t.text == ";";
        static const std::set<std::string> operand = {"LIKE", "IN", "IS", "BETWEEN", "NOT", "AS", "ESCAPE"};
        const std::string up = upper(t.text);
        return t.kind == Tok::Word && boundaryWords().count(up) > 0 && operand.count(up) == 0;
    }

    // Words that make a level a statement or a clause of one (its value slots are found by
    // the clauses), not an expression.
    bool statementLevel(int b, int e) const {
        static const std::set<std::string> w = {"SELECT", "UPDATE", "INSERT", "DELETE", "FROM", "WHERE", "SET",
                                                "ORDER", "GROUP", "HAVING", "UNION", "INTO", "VALUES", "JOIN",
                                                "ON", "CREATE", "ALTER", "DROP", "TABLE", "INDEX", "AS"};
        for (int i = b; i < e; ++i) {
            if (isSym(i, "(")) { i = match_[i]; continue; }
            if (t_[i].kind == Tok::Word && !isSym(i - 1, ".") && !isSym(i + 1, ".") && w.count(upper(t_[i].text)))
                return true;
        }
        return false;
    }

    // The group at [i, j]: a condition when logical words (or the edges of a condition, or of
    // a clause) stand on both sides, else a value.
    Ctx groupContext(int b, int e, int i, int j, Ctx ctx, bool statement) const {
        const bool left = i == b ? ctx == Ctx::Condition : logicalLeft(t_[i - 1]);
        const bool right = j + 1 == e ? (ctx == Ctx::Condition || statement) : logicalRight(t_[j + 1]);
        return left && right ? Ctx::Condition : Ctx::Value;
    }

    // x op ANY|SOME|ALL (subquery): the subquery's first column gets a name of ours, so the
    // comparison can stand inside EXISTS: " AS zk_v" goes before the token that ends the
    // column, or the alias written there is renamed.
    void nameFirstColumn(int b, int e) {
        int s = b;
        while (s < e && !IsWord(t_[s], "SELECT")) {
            if (isSym(s, "(")) s = match_[s];
            ++s;
        }
        if (s >= e) syntax("ANY, SOME or ALL needs a subquery");
        int c = s + 1;
        while (c < e && (IsWord(t_[c], "DISTINCT") || IsWord(t_[c], "DISTINCTROW") || IsWord(t_[c], "ALL"))) ++c;
        if (c < e && IsWord(t_[c], "TOP")) c += IsWord(t_[std::min(c + 2, e - 1)], "PERCENT") ? 3 : 2;
        int end = c;
        while (end < e && !isSym(end, ",") && !IsWord(t_[end], "FROM") && !IsWord(t_[end], "UNION") &&
               !IsWord(t_[end], "INTO")) {
            if (isSym(end, "(")) end = match_[end];
            ++end;
        }
        if (end == c) syntax("ANY, SOME or ALL needs a subquery of one column");
        if (end - 2 >= c && IsWord(t_[end - 2], "AS")) renameAt_.insert(end - 1);
        else aliasBefore_.insert(end);
    }

    static Item columnAlias() {
        Item alias;
        alias.space = true;
        alias.sql = "AS zk_v";
        alias.boundary = true;
        return alias;
    }

    // One parenthesis level: tokens [b, e).
    std::string seq(int b, int e, Ctx ctx = Ctx::Value) {
        if (auto u = compoundSelect(b, e)) return *u;
        // The statement's own level is never a value, whatever it holds (PRAGMA x = y).
        struct Depth {
            int& d;
            explicit Depth(int& x) : d(++x) {}
            ~Depth() { --d; }
        } depth(depth_);
        const bool statement = depth_ == 1 || statementLevel(b, e);
        std::vector<Item> items;
        bool inSet = false;
        std::string limit;
        bool percent = false;    // TOP n PERCENT
        for (int i = b; i < e; ++i) {
            const Token& tk = t_[i];
            Item it;
            it.space = tk.spaceBefore;
            if (aliasBefore_.erase(i)) items.push_back(columnAlias());
            if (renameAt_.erase(i)) {
                it.sql = "zk_v";
                items.push_back(std::move(it));
                continue;
            }
            if (isSym(i, "(")) {
                int j = match_[i];
                it.sql = "(" + seq(i + 1, j, groupContext(b, e, i, j, ctx, statement)) + ")";
                items.push_back(std::move(it));
                i = j;
                continue;
            }
            if (tk.kind == Tok::Word && isSym(i + 1, "(")) {
                std::string up = upper(tk.text);
                bool qualified = isSym(i - 1, ".");
                if (!qualified && up == "IIF") {
                    int j = match_[i + 1];
                    auto args = splitCommas(i + 2, j);
                    if (args.size() != 3 || j == i + 2) syntax("IIF needs three arguments");
                    it.sql = "(CASE WHEN " + seq(args[0].first, args[0].second, Ctx::Condition) + " THEN " +
                             seq(args[1].first, args[1].second) + " ELSE " +
                             seq(args[2].first, args[2].second) + " END)";
                    items.push_back(std::move(it));
                    i = j;
                    continue;
                }
                if (!qualified && up == "SWITCH") {
                    // Switch(c1, v1, c2, v2, ...): the value of the first true condition, else Null.
                    int j = match_[i + 1];
                    auto args = splitCommas(i + 2, j);
                    if (j == i + 2 || args.size() % 2 != 0) syntax("Switch needs pairs of arguments");
                    it.sql = "(CASE";
                    for (size_t a = 0; a < args.size(); a += 2)
                        it.sql += " WHEN " + seq(args[a].first, args[a].second, Ctx::Condition) + " THEN " +
                                  seq(args[a + 1].first, args[a + 1].second);
                    it.sql += " END)";
                    items.push_back(std::move(it));
                    i = j;
                    continue;
                }
                if (!qualified && jetFunctions().count(up)) {
                    int j = match_[i + 1];
                    it.sql = "jet_" + lower(tk.text) + "(" + seq(i + 2, j) + ")";
                    items.push_back(std::move(it));
                    i = j;
                    continue;
                }
            }
            if (tk.kind == Tok::Word && (IsWord(tk, "ANY") || IsWord(tk, "SOME") || IsWord(tk, "ALL")) &&
                isSym(i + 1, "(") && !items.empty() && items.back().tok &&
                items.back().tok->kind == Tok::Symbol && items.back().logic) {
                // x op ANY (s) -> EXISTS a row of s that compares so; x op ALL (s) -> no row of s
                // that does not (a Null comparison counts as not), so an empty s gives True.
                size_t opAt = items.size() - 1, start = opAt;
                while (start > 0 && !items[start - 1].boundary) --start;
                if (start == opAt) syntax("a comparison without an operand");
                std::vector<Item> left(items.begin() + static_cast<long>(start), items.begin() + static_cast<long>(opAt));
                operators(left);
                const std::string x = join(left), op = items[opAt].sql;
                int j = match_[i + 1];
                nameFirstColumn(i + 2, j);
                const std::string sub = "SELECT 1 FROM (" + seq(i + 2, j) + ") AS zk_q WHERE ";
                const bool all = IsWord(tk, "ALL");
                it.sql = all ? "NOT EXISTS (" + sub + "(" + x + " " + op + " zk_q.zk_v) IS NOT 1)"
                             : "EXISTS (" + sub + x + " " + op + " zk_q.zk_v)";
                it.logic = true;
                it.space = items[start].space;
                items.erase(items.begin() + static_cast<long>(start), items.end());
                items.push_back(std::move(it));
                i = j;
                continue;
            }
            it.tok = &tk;
            switch (tk.kind) {
            case Tok::String:
                // Jet compares texts without regard to case wherever they come from; the
                // literal's collation makes SQLite do so also against expressions.
                it.sql = quoteText(tk.text) + (ddl_ ? "" : " COLLATE JET");
                break;
            case Tok::Bracket: it.sql = "[" + tk.text + "]"; break;
            case Tok::Number: it.sql = tk.text; break;
            case Tok::Date: {
                char buf[40];
                std::snprintf(buf, sizeof buf, "%.17g", detail::ParseJetDate(tk.text));
                it.sql = buf;
                break;
            }
            case Tok::Symbol:
                it.sql = tk.text;
                it.amp = tk.text == "&";
                it.logic = tk.text == "=" || tk.text == "<>" || tk.text == "!=" || tk.text == "<" ||
                           tk.text == ">" || tk.text == "<=" || tk.text == ">=";
                it.boundary = it.logic || tk.text == "," || tk.text == ";";
                if (arithmetic().count(tk.text)) it.op = tk.text;
                break;
            case Tok::Word: {
                std::string up = upper(tk.text);
                bool qualified = isSym(i - 1, ".") || isSym(i + 1, ".");
                it.sql = tk.text;
                if (!qualified && (up == "TRUE" || up == "FALSE")) {
                    it.sql = up == "TRUE" ? "-1" : "0";
                } else if (!qualified && constantHere(i, b, up)) {
                    it.sql = up == "YES" || up == "ON" ? "-1" : "0";
                } else if (!qualified && up == "MOD") {
                    it.op = "MOD";
                } else if (!qualified && up == "NULL" && !inSet && !items.empty() &&
                           items.back().tok && items.back().tok->kind == Tok::Symbol &&
                           (items.back().sql == "=" || items.back().sql == "<>" ||
                            items.back().sql == "!=")) {
                    // Jet 3.x: "x = Null" tests for Null.
                    items.back().sql = items.back().sql == "=" ? "IS" : "IS NOT";
                    items.back().boundary = true;
                    items.back().space = true;
                    it.sql = "NULL";
                    it.space = true;
                } else if (!qualified && up == "TOP" && !items.empty() && items.back().tok &&
                           (IsWord(*items.back().tok, "SELECT") || IsWord(*items.back().tok, "DISTINCT") ||
                            IsWord(*items.back().tok, "ALL") || IsWord(*items.back().tok, "DISTINCTROW"))) {
                    if (i + 1 >= e || t_[i + 1].kind != Tok::Number) syntax("TOP needs a number");
                    if (!limit.empty()) syntax("more than one TOP at one level");
                    limit = t_[i + 1].text;
                    ++i;
                    if (i + 1 < e && IsWord(t_[i + 1], "PERCENT")) {
                        percent = true;
                        ++i;
                    }
                    continue;
                } else if (up == "DISTINCTROW") {
                    it.sql = "DISTINCT";
                } else if (!qualified && up == "ESCAPE") {
                    // Jet's LIKE knows no ESCAPE (SQLite's would take % and _ as wildcards
                    // again); Jet puts a wildcard in brackets to match it as itself.
                    for (auto k = items.rbegin(); k != items.rend(); ++k) {
                        if (!k->boundary) continue;
                        if (k->tok && IsWord(*k->tok, "LIKE"))
                            syntax("LIKE ... ESCAPE (Jet matches a wildcard character put in brackets, as [*])");
                        break;
                    }
                }
                if (!qualified && up == "SET") inSet = true;
                if (!qualified && up == "WHERE") inSet = false;
                it.boundary = !qualified && boundaryWords().count(up) > 0;
                it.logic = it.boundary && logicWords().count(up) > 0;
                break;
            }
            }
            items.push_back(std::move(it));
        }
        if (aliasBefore_.erase(e)) items.push_back(columnAlias());
        operators(items);
        if (!ddlStatement_) {
            if (statement) statementValues(items);
            else if (ctx == Ctx::Value) valueSlots(items, 0, items.size());
        }
        if (percent) {
            // The rows to count: the SELECT (the one of this level) without its ORDER BY.
            size_t from = 0;
            while (from < items.size() && !(items[from].tok && IsWord(*items[from].tok, "SELECT"))) ++from;
            if (from == items.size()) syntax("TOP n PERCENT outside a SELECT");
            size_t order = from;
            while (order + 1 < items.size() && !(items[order].tok && IsWord(*items[order].tok, "ORDER") &&
                                                 items[order + 1].tok && IsWord(*items[order + 1].tok, "BY")))
                ++order;
            if (order + 1 >= items.size()) order = items.size();
            limit = detail::LimitePercentual(
                join(std::vector<Item>(items.begin() + static_cast<long>(from), items.begin() + static_cast<long>(order))), limit);
        }
        orderCollation(items);
        std::string out = join(items);
        // OFFSET 0 keeps SQLite (3.15) from merging this SELECT into the query around it:
        // merged into a UNION ALL that is itself a subquery, the limit of one SELECT cuts the
        // rows of the whole union or is lost.
        if (!limit.empty()) out += " LIMIT " + limit + " OFFSET 0";
        return out;
    }

    static const std::set<std::string>& arithmetic() {
        static const std::set<std::string> ops = {"+", "-", "*", "/", "\\", "^", "&"};
        return ops;
    }

    // The words whose result is True or False (SQLite's 1 or 0).
    static const std::set<std::string>& logicWords() {
        static const std::set<std::string> w = {"AND", "OR", "NOT", "XOR", "LIKE", "IN", "IS", "BETWEEN", "EXISTS"};
        return w;
    }

    // Yes, No, On and Off are Jet's constants for True and False where a value may stand:
    // not in a table definition, nor as ON of a join (after its table) or NO of NO ACTION.
    bool constantHere(int i, int b, const std::string& up) const {
        if (ddlStatement_ || (up != "YES" && up != "NO" && up != "ON" && up != "OFF")) return false;
        if (isSym(i + 1, "(") || (i > b && IsWord(t_[i - 1], "AS"))) return false;
        if (up == "NO") return !(i + 1 < static_cast<int>(t_.size()) && IsWord(t_[i + 1], "ACTION"));
        if (up != "ON") return true;
        if (i == b) return true;
        const Token& before = t_[i - 1];
        if (before.kind == Tok::Symbol) return before.text != ")" && before.text != ".";
        static const std::set<std::string> w = {"SELECT", "SET", "WHERE", "AND", "OR", "NOT", "XOR", "IS",
                                                "LIKE", "IN", "BETWEEN", "HAVING", "MOD", "THEN", "ELSE", "WHEN"};
        return before.kind == Tok::Word && w.count(upper(before.text)) > 0;
    }

    // A slot [a, z) of items whose value is a comparison or a logical operation gives Jet's
    // True, -1, where SQLite gives 1.
    static void wrapLogical(std::vector<Item>& items, size_t a, size_t z) {
        if (a >= z) return;
        bool logical = false;
        for (size_t m = a; m < z; ++m) logical = logical || items[m].logic;
        if (!logical) return;
        Item merged;
        merged.space = items[a].space;
        const std::vector<Item> slot(items.begin() + static_cast<long>(a), items.begin() + static_cast<long>(z));
        merged.sql = "-(" + join(slot) + ")";
        items.erase(items.begin() + static_cast<long>(a), items.begin() + static_cast<long>(z));
        items.insert(items.begin() + static_cast<long>(a), std::move(merged));
    }

    static bool isComma(const Item& it) { return it.tok && it.tok->kind == Tok::Symbol && it.sql == ","; }
    static bool isWordItem(const Item& it, std::string_view kw) { return it.tok && IsWord(*it.tok, kw); }

    // The comma-separated values of an expression level (a list of arguments or values).
    static void valueSlots(std::vector<Item>& items, size_t a, size_t z) {
        size_t start = a, m = a;
        for (;;) {
            if (m < z && !isComma(items[m])) { ++m; continue; }
            const size_t before = items.size();
            wrapLogical(items, start, m);
            m -= before - items.size();
            z -= before - items.size();
            if (m >= z) break;
            start = ++m;
        }
    }

    static bool clauseEnd(const Item& it) {
        static const char* const w[] = {"FROM", "INTO", "WHERE", "UNION", "ORDER", "GROUP", "HAVING"};
        for (const char* k : w)
            if (isWordItem(it, k)) return true;
        return it.tok && it.sql == ";";
    }

    // The value slots of a statement level: the select list (up to AS), the assigned values
    // of SET, the ORDER BY terms.
    static void statementValues(std::vector<Item>& items) {
        for (size_t k = 0; k < items.size(); ++k) {
            if (isWordItem(items[k], "SELECT")) {
                size_t a = k + 1;
                while (a < items.size() && (isWordItem(items[a], "DISTINCT") || isWordItem(items[a], "DISTINCTROW") ||
                                            isWordItem(items[a], "ALL")))
                    ++a;
                while (a < items.size()) {
                    // The value runs to a comma or a clause word; comparisons and logical
                    // operators stay inside it, AS ends it.
                    size_t z = a;
                    while (z < items.size() && !isComma(items[z]) && (!items[z].boundary || items[z].logic)) ++z;
                    const size_t before = items.size();
                    wrapLogical(items, a, z);
                    z -= before - items.size();
                    while (z < items.size() && !isComma(items[z]) && !clauseEnd(items[z])) ++z;
                    if (z >= items.size() || !isComma(items[z])) break;
                    a = z + 1;
                }
            } else if (isWordItem(items[k], "SET")) {
                size_t a = k + 1;
                while (a < items.size() && !isWordItem(items[a], "WHERE")) {
                    size_t eq = a;
                    while (eq < items.size() && !(items[eq].tok && items[eq].sql == "=") && !isComma(items[eq])) ++eq;
                    size_t z = eq + 1;
                    while (z < items.size() && !isComma(items[z]) && !isWordItem(items[z], "WHERE")) ++z;
                    if (eq < items.size() && !isComma(items[eq])) {
                        const size_t before = items.size();
                        wrapLogical(items, eq + 1, std::min(z, items.size()));
                        z -= before - items.size();
                    }
                    if (z >= items.size() || !isComma(items[z])) break;
                    a = z + 1;
                }
            } else if (k + 1 < items.size() && isWordItem(items[k], "ORDER") && isWordItem(items[k + 1], "BY")) {
                size_t a = k + 2;
                while (a < items.size()) {
                    size_t z = a;
                    while (z < items.size() && !isComma(items[z]) && !isWordItem(items[z], "ASC") &&
                           !isWordItem(items[z], "DESC") && !isWordItem(items[z], "UNION"))
                        ++z;
                    const size_t before = items.size();
                    wrapLogical(items, a, z);
                    z -= before - items.size();
                    while (z < items.size() && !isComma(items[z])) ++z;
                    if (z >= items.size()) break;
                    a = z + 1;
                }
            }
        }
    }

    // Operators that bind an operand on their left: after one of them a "+" or "-" is a sign.
    static bool takesOperand(const Item& it) { return !it.op.empty() || (it.tok && it.sql == "."); }

    // The arithmetic of one region of items (between boundaries), by Jet's precedence:
    // ^, unary -, * and /, \, Mod, + and -, & (loosest). Jet's own operators become functions
    // or forms that give its results: "/" divides as floating point, "\" and Mod round their
    // operands first, "+" joins two texts, "&" joins with Null as "".
    class Arithmetic {
    public:
        Arithmetic(const std::vector<Item>& items, size_t lo, size_t hi) : items_(items), p_(lo), hi_(hi) {}

        std::string parse() {
            Node n = expression(0);
            if (p_ <= hi_) syntax("an operator without an operand");
            return n.sql;
        }

    private:
        struct Node {
            std::string sql;
            bool atom = true;      // needs no parentheses as an operand
            bool concat = false;   // a jet_concat that a further & extends
        };

        static int precedence(const std::string& op) {
            if (op == "&") return 1;
            if (op == "+" || op == "-") return 2;
            if (op == "MOD") return 3;
            if (op == "\\") return 4;
            if (op == "*" || op == "/") return 5;
            if (op == "^") return 7;
            return -1;
        }
        static constexpr int kUnary = 6;

        // A signed operand gets parentheses too: "- -1" must not become "--1", a comment.
        static std::string operand(const Node& n) {
            return n.atom && !n.sql.empty() && n.sql.front() != '-' ? n.sql : "(" + n.sql + ")";
        }

        Node expression(int minPrec) {
            Node left = unary();
            while (p_ <= hi_) {
                const std::string& op = items_[p_].op;
                const int prec = precedence(op);
                if (prec < 0 || prec < minPrec) break;
                ++p_;
                Node right = expression(prec + 1);
                left = combine(op, std::move(left), std::move(right));
            }
            return left;
        }

        Node unary() {
            if (p_ > hi_) syntax("an operator without an operand");
            const std::string& op = items_[p_].op;
            if (op == "-" || op == "+") {
                // Each sign is a recursion, as a parenthesis is.
                if (++signs_ > kMaxNesting) syntax("signs nested too deeply");
                ++p_;
                Node n = expression(kUnary + 1);
                --signs_;
                if (op == "+") return n;
                return {"-" + operand(n), false, false};
            }
            return primary();
        }

        // An operand: the items up to the next operator, taken together (a name, T.name,
        // T.*, a function call, a literal, a parenthesised group).
        Node primary() {
            const Item& first = items_[p_];
            if (!first.op.empty() && first.op != "*") syntax("an operator without an operand");
            std::vector<Item> glued{first};
            ++p_;
            while (p_ <= hi_ && (items_[p_].op.empty() || (items_[p_].op == "*" && glued.back().sql == ".")))
                glued.push_back(items_[p_++]);
            const std::string& last = glued.back().sql;
            return {join(glued), glued.size() == 1 || glued[1].sql == "." || (!last.empty() && last.front() == '('), false};
        }

        static Node combine(const std::string& op, Node l, Node r) {
            if (op == "&") {   // a & b & c: one jet_concat, extended in place
                if (!l.concat) return {"jet_concat(" + l.sql + "," + r.sql + ")", true, true};
                l.sql.pop_back();
                l.sql += "," + r.sql + ")";
                return l;
            }
            if (op == "+") return {"jet_add(" + l.sql + "," + r.sql + ")", true, false};
            if (op == "\\") return {"jet_intdiv(" + l.sql + "," + r.sql + ")", true, false};
            if (op == "MOD") return {"jet_mod(" + l.sql + "," + r.sql + ")", true, false};
            if (op == "^") return {"jet_pow(" + l.sql + "," + r.sql + ")", true, false};
            if (op == "/") return {"CAST(" + l.sql + " AS REAL) / " + operand(r), false, false};
            return {operand(l) + " " + op + " " + operand(r), false, false};
        }

        const std::vector<Item>& items_;
        size_t p_;
        size_t hi_;
        size_t signs_ = 0;
    };

    // Each region of items between boundaries that holds one of Jet's own operators (&, a
    // binary +, /, \, ^, Mod) becomes one item; other regions stay as they are.
    static void operators(std::vector<Item>& items) {
        size_t k = 0;
        while (k < items.size()) {
            if (items[k].boundary) { ++k; continue; }
            size_t lo = k, hi = k;
            while (hi + 1 < items.size() && !items[hi + 1].boundary) ++hi;
            bool jets = false;
            for (size_t m = lo; m <= hi && !jets; ++m) {
                const std::string& op = items[m].op;
                jets = op == "&" || op == "/" || op == "\\" || op == "^" || op == "MOD" ||
                       (op == "+" && m > lo && !takesOperand(items[m - 1]));
            }
            if (!jets) {
                k = hi + 1;
                continue;
            }
            Item merged;
            merged.space = items[lo].space;
            merged.sql = Arithmetic(items, lo, hi).parse();
            items.erase(items.begin() + static_cast<long>(lo), items.begin() + static_cast<long>(hi) + 1);
            items.insert(items.begin() + static_cast<long>(lo), std::move(merged));
            k = lo + 1;
        }
    }

    std::string nameText(int i) const {
        if (t_[i].kind == Tok::Bracket) return "[" + t_[i].text + "]";
        if (t_[i].kind == Tok::Word) return t_[i].text;
        syntax("a name was expected");
        return {};
    }

    // The n of Text(n): a whole number that fits (the scripts come from outside).
    static long sizeOf(const std::string& text, const std::string& column) {
        if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
            syntax("bad size of column " + column);
        return std::stol(text);
    }

    // Column type at token i (a group "(n)" may follow); returns the SQLite declaration and
    // moves i past what it used.
    std::string columnType(int& i, int e, const std::string& column, int ordinal) {
        if (i >= e || t_[i].kind != Tok::Word) syntax("a column type was expected");
        std::string up = upper(t_[i].text);
        ++i;
        long size = -1;
        const bool counter = up == "COUNTER" || up == "AUTOINCREMENT" || up == "IDENTITY";
        bool seeded = false;
        if (isSym(i, "(")) {
            int j = match_[i];
            long long seed = 0, step = 0;
            if (j == i + 2 && t_[i + 1].kind == Tok::Number) size = sizeOf(t_[i + 1].text, column);
            else if (counter && detail::LeSementeContador(t_, i + 1, j, seed, step)) seeded = true;
            else if (!(up == "DECIMAL" || up == "NUMERIC")) syntax("bad size of column " + column);
            i = j + 1;
        }
        auto textType = [&](long n) {
            return "VARCHAR(" + std::to_string(n) + ") COLLATE JET CONSTRAINT zk_len_" +
                   std::to_string(ordinal) + " CHECK(length(" + column + ")<=" + std::to_string(n) + ")";
        };
        if (up == "LONG" || up == "INT" || up == "INTEGER" || up == "INTEGER4") return "LONGINT";
        if (up == "SHORT" || up == "SMALLINT" || up == "INTEGER2") return "SMALLINT";
        if (up == "BYTE" || up == "TINYINT" || up == "INTEGER1") return "TINYINT";
        if (up == "TEXT" || up == "CHAR" || up == "VARCHAR" || up == "ALPHANUMERIC" ||
            up == "STRING" || up == "CHARACTER")
            return textType(size < 0 ? 255 : size);
        if (up == "MEMO" || up == "LONGTEXT" || up == "LONGCHAR" || up == "NOTE")
            return "LONGTEXT COLLATE JET";
        if (up == "DATE" || up == "DATETIME" || up == "TIME" || up == "TIMESTAMP") return "DATETIME REAL";
        if (up == "DOUBLE" || up == "FLOAT" || up == "FLOAT8" || up == "NUMBER" || up == "NUMERIC" ||
            up == "DECIMAL")
            return "DOUBLE";
        if (up == "SINGLE" || up == "REAL" || up == "FLOAT4" || up == "IEEESINGLE") return "FLOAT";
        if (up == "BIT" || up == "YESNO" || up == "LOGICAL" || up == "BOOLEAN" || up == "LOGICAL1")
            return "YESNO INTEGER";
        // The rowid of SQLite numbers the rows when the counter column is the primary key;
        // a counter with its own seed and step is numbered by a trigger (JetInstrucoes.h).
        if (counter) return seeded ? "COUNTER INTEGER" : "INTEGER";
        if (up == "CURRENCY" || up == "MONEY") return "CURRENCY REAL";
        if (up == "BINARY" || up == "VARBINARY" || up == "LONGBINARY" || up == "OLEOBJECT" ||
            up == "IMAGE" || up == "GENERAL")
            return "BLOB";
        syntax("unknown column type " + up);
        return {};
    }

    std::string columnDef(int b, int e, int ordinal) {
        if (b >= e) syntax("empty column definition");
        static const char* tableConstraints[] = {"CONSTRAINT", "PRIMARY", "UNIQUE", "FOREIGN", "CHECK"};
        for (const char* w : tableConstraints)
            if (IsWord(t_[b], w)) return seq(b, e);
        std::string name = nameText(b);
        int i = b + 1;
        std::string type = columnType(i, e, name, ordinal);
        ddl_ = true;   // DEFAULT takes a bare literal
        std::string rest = i < e ? seq(i, e) : std::string();
        ddl_ = false;
        return name + " " + type + (rest.empty() ? "" : " " + rest);
    }

    std::string createTable(int n) {
        if (n < 4) syntax("CREATE TABLE without columns");
        std::string name = nameText(2);
        if (!isSym(3, "(")) syntax("CREATE TABLE without columns");
        int close = match_[3];
        std::string out = "CREATE TABLE " + name + "(";
        auto defs = splitCommas(4, close);
        for (size_t k = 0; k < defs.size(); ++k)
            out += (k ? "," : "") + columnDef(defs[k].first, defs[k].second, static_cast<int>(k));
        out += ")";
        if (close + 1 < n) out += " " + seq(close + 1, n);
        return out;
    }

    std::string alterTable(int n) {
        std::string name = nameText(2);
        int i = 3;
        if (!IsWord(t_[i], "ADD")) return seq(0, n);
        ++i;
        if (i < n && IsWord(t_[i], "COLUMN")) ++i;
        if (i < n && IsWord(t_[i], "CONSTRAINT"))
            throw vb::Error(jet::NotSupported, "ALTER TABLE ... ADD CONSTRAINT is not supported.");
        return "ALTER TABLE " + name + " ADD COLUMN " + columnDef(i, n, 1000);
    }

    std::string createIndex(int n) {
        // Jet's "WITH PRIMARY / DISALLOW NULL / IGNORE NULL" has no SQLite form; the index is
        // made without it.
        int end = n;
        for (int i = 0; i < n; ++i) {
            if (isSym(i, "(")) { i = match_[i]; continue; }
            if (IsWord(t_[i], "WITH")) { end = i; break; }
        }
        return seq(0, end);
    }

    // ORDER BY terms sort texts as Jet does: expressions, aggregates and column numbers.
    static void orderCollation(std::vector<Item>& items) {
        size_t k = 0;
        while (k + 1 < items.size() &&
               !(items[k].tok && IsWord(*items[k].tok, "ORDER") && items[k + 1].tok && IsWord(*items[k + 1].tok, "BY")))
            ++k;
        if (k + 1 >= items.size()) return;
        size_t i = k + 2;
        while (i < items.size()) {
            size_t end = i;
            while (end < items.size() && !(items[end].tok && items[end].sql == ",")) ++end;
            if (end == i) syntax("empty ORDER BY term");
            size_t at = end;
            if (items[end - 1].tok && (IsWord(*items[end - 1].tok, "ASC") || IsWord(*items[end - 1].tok, "DESC")))
                at = end - 1;
            // Column numbers too: the collation of a result column is SQLite's BINARY when
            // it is an aggregate or an expression of columns, and SQLite keeps the collation
            // of a numbered term, also in a UNION's ORDER BY.
            Item c;
            c.space = true;
            c.sql = "COLLATE JET";
            c.boundary = true;
            items.insert(items.begin() + static_cast<long>(at), std::move(c));
            i = end + 2;
        }
    }

    std::vector<Token> t_;
    std::vector<int> match_;
    bool ddl_ = false;
    bool ddlStatement_ = false;   // CREATE or ALTER: no values to make Jet's
    int depth_ = 0;               // levels of seq under way
    std::set<int> aliasBefore_;   // tokens before which a subquery's first column is named zk_v
    std::set<int> renameAt_;      // a subquery's first column alias, renamed zk_v
};

}  // namespace

std::string TranslateJetSql(std::string_view jet) {
    std::vector<detail::Token> toks = detail::Lex(jet);
    detail::ReescreveInstrucao(toks);
    Translator tr(std::move(toks));
    return tr.statement();
}

}  // namespace dao
