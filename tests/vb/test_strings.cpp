// Character-based string functions: positions count code points, not UTF-8 bytes.
#include "platform/vb/Strings.h"
#include "tests/vb/VbErrorMatcher.h"

#include <gtest/gtest.h>

using namespace vb;

namespace {

struct MidCase {
    const char* s;
    long start;
    long length;   // -1: the two-argument form
    const char* expected;
};

TEST(VbStrings, MidLeftRightCountCharacters) {
    const MidCase cases[] = {
        {"Água", 1, 1, "Á"},  {"ação", 2, 2, "çã"}, {"ação", 3, -1, "ão"}, {"abc", 2, -1, "bc"},
        {"abc", 3, 10, "c"},  {"abc", 4, -1, ""},   {"abc", 5, 1, ""},     {"ção", 3, 0, ""},
        {"", 1, 3, ""},
    };
    for (const MidCase& c : cases) {
        const std::string got = c.length < 0 ? Mid(c.s, c.start) : Mid(c.s, c.start, c.length);
        EXPECT_EQ(got, c.expected) << "Mid(\"" << c.s << "\", " << c.start << ", " << c.length << ")";
    }
    EXPECT_EQ(Left("Água", 2), "Ág");
    EXPECT_EQ(Left("abc", 10), "abc");
    EXPECT_EQ(Left("abc", 0), "");
    EXPECT_EQ(Right("ação", 2), "ão");
    EXPECT_EQ(Right("abc", 10), "abc");
    EXPECT_EQ(Right("", 2), "");
    EXPECT_EQ(Len("ção"), 3);
    EXPECT_EQ(Len(""), 0);
}

TEST(VbStrings, NegativeLengthsAndStartsBelowOneRaise5) {
    EXPECT_VB_ERROR(5, Mid("abc", 0));
    EXPECT_VB_ERROR(5, Mid("abc", 0, 1));
    EXPECT_VB_ERROR(5, Mid("abc", 1, -1));
    EXPECT_VB_ERROR(5, Left("abc", -1));
    EXPECT_VB_ERROR(5, Right("abc", -1));
    EXPECT_VB_ERROR(5, InStr(0, "abc", "a"));
    EXPECT_VB_ERROR(5, InStrRev("abc", "a", 0));
    EXPECT_VB_ERROR(5, Replace("abc", "a", "b", 0));
    EXPECT_VB_ERROR(5, Replace("abc", "a", "b", 1, -2));
    EXPECT_VB_ERROR(5, Split("a b", " ", -2));
    EXPECT_VB_ERROR(5, Space(-1));
    EXPECT_VB_ERROR(5, String(-1, U'x'));
}

struct InStrCase {
    long start;
    const char* s;
    const char* find;
    Compare cmp;
    long expected;
};

TEST(VbStrings, InStrFindsCharacterPositions) {
    const InStrCase cases[] = {
        {1, "abcabc", "c", Compare::Binary, 3},
        {4, "abcabc", "c", Compare::Binary, 6},
        {1, "ação", "ã", Compare::Binary, 3},      // a character position, not a byte offset
        {1, "ação", "o", Compare::Binary, 4},
        {1, "abc", "", Compare::Binary, 1},        // empty find gives start
        {2, "abc", "", Compare::Binary, 2},
        {1, "", "", Compare::Binary, 0},           // empty text gives 0 first
        {5, "abc", "a", Compare::Binary, 0},
        {1, "abc", "abcd", Compare::Binary, 0},
        {1, "ABC", "b", Compare::Binary, 0},
        {1, "ABC", "b", Compare::Text, 2},
        {1, "ÁGUA", "á", Compare::Text, 1},
        {1, "ÁGUA", "a", Compare::Text, 4},        // accents stay significant
    };
    for (const InStrCase& c : cases)
        EXPECT_EQ(InStr(c.start, c.s, c.find, c.cmp), c.expected)
            << "InStr(" << c.start << ", \"" << c.s << "\", \"" << c.find << "\")";
    EXPECT_EQ(InStr("xação", "ção"), 3);
}

TEST(VbStrings, InStrRevSearchesBackFromStart) {
    EXPECT_EQ(InStrRev("abcabc", "b"), 5);
    EXPECT_EQ(InStrRev("abcabc", "b", 4), 2);
    EXPECT_EQ(InStrRev("abcabc", "bc", 5), 2);   // the match must end by start
    EXPECT_EQ(InStrRev("abc", ""), 3);
    EXPECT_EQ(InStrRev("abc", "a", 5), 0);
    EXPECT_EQ(InStrRev("ação", "ç"), 2);
    EXPECT_EQ(InStrRev("AbAb", "ab", -1, Compare::Text), 3);
    EXPECT_EQ(InStrRev("", "a"), 0);
}

struct ReplaceCase {
    const char* s;
    const char* find;
    const char* with;
    long start;
    long count;
    Compare cmp;
    const char* expected;
};

TEST(VbStrings, ReplaceReturnsTheTextFromStart) {
    const ReplaceCase cases[] = {
        {"aXbXc", "X", "-", 1, -1, Compare::Binary, "a-b-c"},
        {"aXbXc", "X", "-", 1, 1, Compare::Binary, "a-bXc"},
        {"aXbXc", "X", "-", 3, -1, Compare::Binary, "b-c"},     // the part before start is gone
        {"aXbXc", "X", "-", 6, -1, Compare::Binary, ""},
        {"aXbXc", "", "-", 2, -1, Compare::Binary, "XbXc"},
        {"aXbXc", "X", "-", 1, 0, Compare::Binary, "aXbXc"},
        {"ação", "ç", "c", 1, -1, Compare::Binary, "acão"},
        {"ação", "ã", "", 1, -1, Compare::Binary, "aço"},
        {"AbAB", "ab", "x", 1, -1, Compare::Text, "xx"},
        {"AbAB", "ab", "x", 1, -1, Compare::Binary, "AbAB"},
        {"aaa", "aa", "b", 1, -1, Compare::Binary, "ba"},       // matches do not overlap
        {"", "a", "b", 1, -1, Compare::Binary, ""},
    };
    for (const ReplaceCase& c : cases)
        EXPECT_EQ(Replace(c.s, c.find, c.with, c.start, c.count, c.cmp), c.expected)
            << "Replace(\"" << c.s << "\", \"" << c.find << "\", \"" << c.with << "\", " << c.start
            << ", " << c.count << ")";
}

struct SplitCase {
    const char* s;
    const char* delimiter;
    long limit;
    std::vector<std::string> expected;
};

TEST(VbStrings, SplitEdgeCases) {
    const SplitCase cases[] = {
        {"", ",", -1, {}},
        {"", "", -1, {}},
        {"abc", "", -1, {"abc"}},
        {"a,b,,c", ",", -1, {"a", "b", "", "c"}},
        {",a", ",", -1, {"", "a"}},
        {"a,", ",", -1, {"a", ""}},
        {"a,b,c", ",", 2, {"a", "b,c"}},
        {"a,b,c", ",", 1, {"a,b,c"}},
        {"a,b,c", ",", 0, {}},
        {"a<>b<>", "<>", -1, {"a", "b", ""}},
        {"ção;Água", ";", -1, {"ção", "Água"}},
        {"a b", " ", -1, {"a", "b"}},
    };
    for (const SplitCase& c : cases)
        EXPECT_EQ(Split(c.s, c.delimiter, c.limit), c.expected) << "Split(\"" << c.s << "\", \"" << c.delimiter << "\")";
    EXPECT_EQ(Split("a b"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(Join(Split("x|ção||y", "|"), "|"), "x|ção||y");
    EXPECT_EQ(Join({}, ","), "");
}

TEST(VbStrings, TrimRemovesBlanksOnly) {
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Trim("\ta\t"), "\ta\t");
    EXPECT_EQ(LTrim("  a "), "a ");
    EXPECT_EQ(RTrim("  a "), "  a");
    EXPECT_EQ(Trim("   "), "");
}

TEST(VbStrings, CaseMappingIsPerCharacter) {
    const std::pair<const char*, const char*> upper[] = {
        {"ação", "AÇÃO"}, {"água", "ÁGUA"}, {"straße", "STRAßE"}, {"abc123-é", "ABC123-É"}, {"ÿ", "Ÿ"},
    };
    for (const auto& [in, out] : upper) {
        EXPECT_EQ(UCase(in), out) << in;
        EXPECT_EQ(Len(UCase(in)), Len(in)) << in;
    }
    EXPECT_EQ(LCase("ÁGUA Ç"), "água ç");
    EXPECT_EQ(UpperChar(U'ñ'), U'Ñ');
    EXPECT_EQ(LowerChar(U'Ñ'), U'ñ');
}

TEST(VbStrings, ReverseSpaceAndString) {
    EXPECT_EQ(StrReverse("ação"), "oãça");
    EXPECT_EQ(Space(3), "   ");
    EXPECT_EQ(String(3, U'ç'), "ççç");
    EXPECT_EQ(String(0, U'x'), "");
    EXPECT_EQ(FromChars(ToChars("Água €")), "Água €");
    EXPECT_EQ(ToChars("ç€").size(), 2u);
}

TEST(VbStrings, ChrAndAscUseWindows1252) {
    const std::pair<long, const char*> cases[] = {
        {65, "A"}, {128, "€"}, {138, "Š"}, {150, "–"}, {159, "Ÿ"}, {231, "ç"}, {233, "é"}, {255, "ÿ"},
        {129, "\u0081"}, {160, "\u00A0"},
    };
    for (const auto& [code, text] : cases) {
        EXPECT_EQ(Chr(code), text) << code;
        EXPECT_EQ(Asc(text), code) << text;
    }
    for (long i = 0; i < 256; ++i) EXPECT_EQ(Asc(Chr(i)), i) << i;
    EXPECT_EQ(Chr(0).size(), 1u);
    EXPECT_EQ(Asc("Ω"), 63);      // not in the code page
    EXPECT_EQ(Asc("ação"), 97);   // the first character only
    EXPECT_VB_ERROR(5, Chr(256));
    EXPECT_VB_ERROR(5, Chr(-1));
    EXPECT_VB_ERROR(5, Asc(""));
}

TEST(VbStrings, ChrWAndAscWUseUnicode) {
    EXPECT_EQ(ChrW(937), "Ω");
    EXPECT_EQ(AscW("Ω"), 937);
    EXPECT_EQ(ChrW(8364), "€");
    EXPECT_EQ(ChrW(-1), "\uFFFF");   // an Integer's negative reading
    EXPECT_EQ(AscW("ç"), 231);
    EXPECT_VB_ERROR(5, ChrW(65536));
    EXPECT_VB_ERROR(5, ChrW(-32769));
    EXPECT_VB_ERROR(5, AscW(""));
}

}  // namespace
