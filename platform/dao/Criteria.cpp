#include "platform/dao/Criteria.h"

#include "platform/dao/Dao.h"
#include "platform/dao/JetLexer.h"
#include "platform/dao/JetSql.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <cctype>
#include <optional>
#include <stdexcept>
#include <variant>

namespace dao::detail {

namespace {

constexpr long kTypeMismatch = jet::CriteriaTypeMismatch;
constexpr long kUnknownName = jet::UnknownName;

[[noreturn]] void bad(const std::string& what) {
    throw vb::Error(jet::SyntaxError, "Syntax error in criteria expression: " + what + ".");
}

std::string upperAscii(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The value as a number when it is one (Booleans are -1/0, Dates their day number).
std::optional<double> numberOf(const vb::Variant& v) {
    const auto& s = vb::VariantAccess::Storage(v);
    if (auto p = std::get_if<bool>(&s)) return *p ? -1.0 : 0.0;
    if (auto p = std::get_if<std::int64_t>(&s)) return static_cast<double>(*p);
    if (auto p = std::get_if<double>(&s)) return *p;
    return std::nullopt;
}

std::string textOf(const vb::Variant& v) {
    const auto& s = vb::VariantAccess::Storage(v);
    if (auto p = std::get_if<std::string>(&s)) return *p;
    if (auto p = std::get_if<std::int64_t>(&s)) return std::to_string(*p);
    if (auto p = std::get_if<double>(&s)) return vb::CStr(*p);
    if (auto p = std::get_if<bool>(&s)) return *p ? "True" : "False";
    return {};
}

}  // namespace

bool CompareValues(const vb::Variant& a, const vb::Variant& b, int* result) {
    if (a.IsNull() || b.IsNull()) return false;
    if (a.IsString() && b.IsString()) {
        *result = JetCollate(textOf(a), textOf(b));
        return true;
    }
    // A number against a text: the text must read as a number.
    auto asNumber = [](const vb::Variant& v) {
        if (auto n = numberOf(v)) return *n;
        std::string s = textOf(v);
        if (!vb::IsNumeric(s))
            throw vb::Error(kTypeMismatch, "Data type mismatch in criteria expression.");
        return vb::CDbl(s);
    };
    double x = asNumber(a), y = asNumber(b);
    *result = x < y ? -1 : x > y ? 1 : 0;
    return true;
}

struct CriteriaNode {
    enum Kind { Or, And, Not, Cmp, Like, IsNull, Literal, Field } kind;
    std::string op;                    // for Cmp
    bool negate = false;               // NOT LIKE, IS NOT NULL
    std::unique_ptr<CriteriaNode> a, b;
    vb::Variant value;                 // Literal
    int field = -1;                    // Field

    // Three-valued: nullopt is Null.
    std::optional<bool> truth(const Criteria::Row& row) const {
        switch (kind) {
        case Or: {
            auto x = a->truth(row), y = b->truth(row);
            if ((x && *x) || (y && *y)) return true;
            if (!x || !y) return std::nullopt;
            return false;
        }
        case And: {
            auto x = a->truth(row), y = b->truth(row);
            if ((x && !*x) || (y && !*y)) return false;
            if (!x || !y) return std::nullopt;
            return true;
        }
        case Not: {
            auto x = a->truth(row);
            if (!x) return std::nullopt;
            return !*x;
        }
        case Cmp: {
            int r = 0;
            if (!CompareValues(a->eval(row), b->eval(row), &r)) return std::nullopt;
            if (op == "=") return r == 0;
            if (op == "<>" || op == "!=") return r != 0;
            if (op == "<") return r < 0;
            if (op == ">") return r > 0;
            if (op == "<=") return r <= 0;
            return r >= 0;
        }
        case Like: {
            vb::Variant x = a->eval(row), p = b->eval(row);
            if (x.IsNull() || p.IsNull()) return std::nullopt;
            return JetLike(textOf(p), textOf(x)) != negate;
        }
        case IsNull: return a->eval(row).IsNull() != negate;
        case Literal:
        case Field: {
            vb::Variant v = eval(row);
            if (v.IsNull()) return std::nullopt;
            auto n = numberOf(v);
            if (!n) {
                std::string s = textOf(v);
                if (!vb::IsNumeric(s)) throw vb::Error(kTypeMismatch, "Data type mismatch in criteria expression.");
                n = vb::Val(s);
            }
            return *n != 0;
        }
        }
        return std::nullopt;
    }

    vb::Variant eval(const Criteria::Row& row) const {
        if (kind == Literal) return value;
        if (kind == Field) return row(field);
        auto t = truth(row);
        if (!t) return vb::Variant::Null();
        return vb::Variant(*t ? -1 : 0);
    }
};

namespace {

class Parser {
public:
    Parser(std::vector<Token> t, const std::vector<std::string>& names) : t_(std::move(t)), names_(names) {}

    std::unique_ptr<CriteriaNode> parse() {
        if (t_.empty()) bad("empty criteria");
        auto n = orExpr();
        if (i_ != t_.size()) bad("unexpected \"" + t_[i_].text + "\"");
        return n;
    }

private:
    bool atWord(std::string_view kw) const { return i_ < t_.size() && IsWord(t_[i_], kw); }
    bool atSym(std::string_view s) const {
        return i_ < t_.size() && t_[i_].kind == Tok::Symbol && t_[i_].text == s;
    }

    static std::unique_ptr<CriteriaNode> node(CriteriaNode::Kind k) {
        auto n = std::make_unique<CriteriaNode>();
        n->kind = k;
        return n;
    }

    // Operands of the next tighter level joined by one operator word, grouped from the left.
    std::unique_ptr<CriteriaNode> chain(std::string_view word, CriteriaNode::Kind kind,
                                        std::unique_ptr<CriteriaNode> (Parser::*next)()) {
        auto l = (this->*next)();
        while (atWord(word)) {
            ++i_;
            auto n = node(kind);
            n->a = std::move(l);
            n->b = (this->*next)();
            l = std::move(n);
        }
        return l;
    }

    std::unique_ptr<CriteriaNode> orExpr() { return chain("OR", CriteriaNode::Or, &Parser::andExpr); }
    std::unique_ptr<CriteriaNode> andExpr() { return chain("AND", CriteriaNode::And, &Parser::notExpr); }

    std::unique_ptr<CriteriaNode> notExpr() {
        if (atWord("NOT")) {
            ++i_;
            Nesting level(depth_);
            auto n = node(CriteriaNode::Not);
            n->a = notExpr();
            return n;
        }
        return comparison();
    }

    std::unique_ptr<CriteriaNode> comparison() {
        auto l = operand();
        if (atWord("IS")) {
            ++i_;
            auto n = node(CriteriaNode::IsNull);
            if (atWord("NOT")) { n->negate = true; ++i_; }
            if (!atWord("NULL")) bad("IS without NULL");
            ++i_;
            n->a = std::move(l);
            return n;
        }
        bool notLike = false;
        if (atWord("NOT") && i_ + 1 < t_.size() && IsWord(t_[i_ + 1], "LIKE")) { notLike = true; ++i_; }
        if (atWord("LIKE")) {
            ++i_;
            auto n = node(CriteriaNode::Like);
            n->negate = notLike;
            n->a = std::move(l);
            n->b = operand();
            return n;
        }
        static const char* ops[] = {"=", "<>", "!=", "<=", ">=", "<", ">"};
        for (const char* op : ops) {
            if (!atSym(op)) continue;
            ++i_;
            if (atWord("NULL") && (std::string(op) == "=" || std::string(op) == "<>")) {
                // Jet 3.x reads "x = Null" as a test for Null.
                ++i_;
                auto n = node(CriteriaNode::IsNull);
                n->negate = std::string(op) == "<>";
                n->a = std::move(l);
                return n;
            }
            auto n = node(CriteriaNode::Cmp);
            n->op = op;
            n->a = std::move(l);
            n->b = operand();
            return n;
        }
        return l;
    }

    std::unique_ptr<CriteriaNode> operand() {
        if (i_ >= t_.size()) bad("an operand is missing");
        const Token& tk = t_[i_];
        if (atSym("(")) {
            ++i_;
            Nesting level(depth_);
            auto n = orExpr();
            if (!atSym(")")) bad("\")\" is missing");
            ++i_;
            return n;
        }
        bool negative = false;
        if (atSym("-") || atSym("+")) {
            negative = tk.text == "-";
            ++i_;
            if (i_ >= t_.size() || t_[i_].kind != Tok::Number) bad("a number must follow the sign");
        }
        const Token& t = t_[i_++];
        auto lit = node(CriteriaNode::Literal);
        switch (t.kind) {
        case Tok::Number: {
            double d = 0;
            try {
                d = std::stod(t.text);
            } catch (const std::out_of_range&) {
                bad("number out of range: " + t.text);
            }
            if (negative) d = -d;
            bool whole = t.text.find_first_of(".eE") == std::string::npos && d >= -2147483648.0 && d <= 2147483647.0;
            lit->value = whole ? vb::Variant(static_cast<long>(d)) : vb::Variant(d);
            return lit;
        }
        case Tok::String: lit->value = vb::Variant(t.text); return lit;
        case Tok::Date: lit->value = vb::Variant::Date(ParseJetDate(t.text)); return lit;
        case Tok::Word:
            if (IsWord(t, "NULL")) { lit->value = vb::Variant::Null(); return lit; }
            if (IsWord(t, "TRUE")) { lit->value = vb::Variant(-1); return lit; }
            if (IsWord(t, "FALSE")) { lit->value = vb::Variant(0); return lit; }
            [[fallthrough]];
        case Tok::Bracket: {
            std::string name = t.text;
            // table.field: the recordset's field names carry no table.
            while (atSym(".") && i_ + 1 < t_.size() &&
                   (t_[i_ + 1].kind == Tok::Word || t_[i_ + 1].kind == Tok::Bracket)) {
                name = t_[i_ + 1].text;
                i_ += 2;
            }
            auto f = node(CriteriaNode::Field);
            f->field = resolve(name);
            return f;
        }
        case Tok::Symbol: break;
        }
        bad("unexpected \"" + t.text + "\"");
    }

    int resolve(const std::string& name) const {
        std::string up = upperAscii(name);
        for (size_t k = 0; k < names_.size(); ++k)
            if (upperAscii(names_[k]) == up) return static_cast<int>(k);
        for (size_t k = 0; k < names_.size(); ++k)
            if (vb::UCase(names_[k]) == vb::UCase(name)) return static_cast<int>(k);
        throw vb::Error(kUnknownName, "The database engine does not recognize '" + name +
                                          "' as a valid field name or expression.");
    }

    // Each "(" and NOT is a recursion here and in the evaluation; a deeper text is refused
    // instead of running out of stack. Real criteria need a handful.
    struct Nesting {
        static constexpr int kMax = 200;
        int& depth;
        explicit Nesting(int& d) : depth(d) {
            if (++depth > kMax) bad("nested too deeply");
        }
        ~Nesting() { --depth; }
    };

    std::vector<Token> t_;
    const std::vector<std::string>& names_;
    size_t i_ = 0;
    int depth_ = 0;
};

}  // namespace

Criteria::Criteria(std::string_view text, const std::vector<std::string>& fieldNames)
    : root_(Parser(Lex(text), fieldNames).parse()) {}
Criteria::~Criteria() = default;
Criteria::Criteria(Criteria&&) noexcept = default;

bool Criteria::Matches(const Row& row) const {
    auto t = root_->truth(row);
    return t && *t;
}

}  // namespace dao::detail
