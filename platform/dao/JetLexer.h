// Tokens of Jet SQL text, shared by the SQL translation and the Find criteria.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dao::detail {

enum class Tok {
    Word,      // a name or keyword: letters, digits, "_" (text as written)
    Bracket,   // [name]: text is the name without the brackets
    String,    // '...' or "...": text is the value, quotes undoubled
    Number,    // 12, 1.5, .5, 1E+3
    Date,      // #...#: text is what stands between the signs
    Symbol,    // operators and punctuation: = <> != <= >= < > & + - * / \ ( ) , . ; ? :
};

struct Token {
    Tok kind;
    std::string text;
    bool spaceBefore = false;   // whitespace stood before it in the source
};

// Throws vb::Error 3075 for an unclosed literal, bracket or date.
std::vector<Token> Lex(std::string_view text);

// ASCII case-insensitive comparison of a word with an upper-case keyword.
bool IsWord(const Token& t, std::string_view upperKeyword);

// Jet's #date# literal (m/d/yyyy, d/m/yyyy when the first number cannot be a month, or
// yyyy-mm-dd; optionally followed by a time, or a time alone) as an OLE date. Throws 3075
// when it does not read as a date or names one that does not exist.
double ParseJetDate(std::string_view text);

}  // namespace dao::detail
