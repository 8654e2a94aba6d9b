// Text to number and number to text with the runtime's rules.
#include "platform/vb/Strings.h"
#include "tests/vb/VbErrorMatcher.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vb;

namespace {

TEST(VbNumbers, CLngRoundsHalfToEven) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"2.5", 2},      {"3.5", 4},          {"-2.5", -2},         {"-3.5", -4},
        {"2.4999", 2},   {"2.5001", 3},       {" 12 ", 12},         {"+7", 7},
        {"1e3", 1000},   {"1.5E1", 15},       {"&HFF", 255},        {"&HFFFF", -1},
        {"&H10000", 65536}, {"&O17", 15},     {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(CLng(text), expected) << text;
    EXPECT_EQ(CLng(0.5), 0);
    EXPECT_EQ(CLng(1.5), 2);
    EXPECT_EQ(CLng(-1.5), -2);
}

TEST(VbNumbers, WholeConversionsRaiseMismatchAndOverflow) {
    for (const char* text : {"abc", "", " ", "1a", "1 2", "1e", "--1", "&HG"})
        EXPECT_VB_ERROR(13, CLng(text));
    EXPECT_VB_ERROR(6, CLng("2147483648"));
    EXPECT_VB_ERROR(6, CLng("2147483647.5"));   // rounds up to 2^31
    EXPECT_VB_ERROR(6, CLng("-2147483649"));
    EXPECT_VB_ERROR(6, CLng(1e300));
    EXPECT_VB_ERROR(6, CLng(std::nan("")));

    EXPECT_EQ(CInt("-32768"), -32768);
    EXPECT_EQ(CInt("32766.5"), 32766);
    EXPECT_VB_ERROR(6, CInt("32767.5"));
    EXPECT_VB_ERROR(6, CInt("32768"));
    EXPECT_VB_ERROR(13, CInt("x"));

    EXPECT_EQ(CByte("255"), 255);
    EXPECT_EQ(CByte("-0.4"), 0);
    EXPECT_EQ(CByte("0.5"), 0);
    EXPECT_EQ(CByte("1.5"), 2);
    EXPECT_VB_ERROR(6, CByte("256"));
    EXPECT_VB_ERROR(6, CByte("-1"));
}

TEST(VbNumbers, CDblReadsTheWholeText) {
    const std::pair<const char*, double> cases[] = {
        {"1.5", 1.5}, {".5", 0.5}, {"1.", 1.0}, {"-1E-2", -0.01}, {"1D2", 100.0}, {" \t3\t ", 3.0},
        {"1e-400", 0.0},
    };
    for (const auto& [text, expected] : cases) EXPECT_DOUBLE_EQ(CDbl(text), expected) << text;
    EXPECT_VB_ERROR(6, CDbl("1e400"));
    EXPECT_VB_ERROR(13, CDbl("1,5"));
    EXPECT_VB_ERROR(13, CDbl("."));
}

TEST(VbNumbers, ValReadsTheLeadingNumber) {
    const std::pair<const char*, double> cases[] = {
        {"1 2", 12},       {" 1 2 3", 123},  {"  -3.5abc", -3.5}, {"1e3x", 1000}, {"1e", 1},
        {"1e+", 1},        {"abc", 0},       {"", 0},             {"-", 0},       {"&HFF", 255},
        {"&HFFFF", -1},    {"&hff", 255},    {"&O17", 15},        {"&H", 0},      {"1.2.3", 1.2},
        {"1,000", 1},      {". 5", 0.5},     {"\t4\n2", 42},      {"+7", 7},      {"2D2", 200},
        {"- 5", -5},       {"0012", 12},
    };
    for (const auto& [text, expected] : cases) EXPECT_DOUBLE_EQ(Val(text), expected) << text;
    EXPECT_VB_ERROR(6, Val("1e400"));
}

TEST(VbNumbers, IsNumericTable) {
    for (const char* yes : {"1", " 1 ", "-1.5", "+.5", "1e5", "1E-5", "&H1F", "&o7", "1.", "0012"})
        EXPECT_TRUE(IsNumeric(yes)) << yes;
    for (const char* no : {"", " ", "abc", "1a", "a1", "1e", ".", "-", "1 2", "&H", "&HG", "1,5", "1.2.3", "1e400", "&H123456789"})
        EXPECT_FALSE(IsNumeric(no)) << no;
}

TEST(VbNumbers, CStrPrintsAsTheRuntime) {
    const std::pair<double, const char*> cases[] = {
        {0.5, "0.5"},
        {2.0, "2"},
        {-1.5, "-1.5"},
        {1e20, "1E+20"},
        {1.5e20, "1.5E+20"},
        {1e15, "1E+15"},
        {123456789012345.0, "123456789012345"},
        {0.0001, "0.0001"},
        {0.00001, "1E-05"},
        {0.1 + 0.2, "0.3"},                 // fifteen significant digits
        {1.0 / 3.0, "0.333333333333333"},
        {-0.0, "0"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(CStr(value), text) << value;
    EXPECT_EQ(CStr(5), "5");
    EXPECT_EQ(CStr(-12L), "-12");
    EXPECT_EQ(CStr(9007199254740993LL), "9007199254740993");
}

TEST(VbNumbers, HexOfALong) {
    const std::pair<long long, const char*> cases[] = {
        {255, "FF"}, {0, "0"}, {-1, "FFFFFFFF"}, {0xFFFFFFFFLL, "FFFFFFFF"}, {-2147483648LL, "80000000"},
        {0x1A281CEA, "1A281CEA"},
    };
    for (const auto& [n, text] : cases) EXPECT_EQ(Hex(n), text) << n;
    EXPECT_VB_ERROR(6, Hex(0x100000000LL));
    EXPECT_VB_ERROR(6, Hex(-2147483649LL));
}

struct FormatCase {
    double value;
    const char* mask;
    const char* expected;
};

TEST(VbNumbers, FormatNumberWithDigitMasks) {
    const FormatCase cases[] = {
        {5, "00", "05"},
        {123, "00", "123"},
        {7, "000", "007"},
        {0, "#", ""},
        {5, "#", "5"},
        {2.5, "0", "3"},                    // Format rounds half away from zero
        {-2.5, "0", "-3"},
        {9.5, "0", "10"},
        {0.125, "0.00", "0.13"},
        {1.005, "0.00", "1.01"},            // the decimal reading, not the binary one
        {-1.5, "0.00", "-1.50"},
        {-0.001, "0.00", "0.00"},           // no sign on a rounded zero
        {99.999, "0.00", "100.00"},
        {12.5, "##0.00", "12.50"},
        {0.5, "##0.00", "0.50"},
        {1.5, "0.##", "1.5"},
        {1, "0.##", "1."},
        {0.5, "#.##", ".5"},
        {1234567, "#,##0", "1,234,567"},
        {0, "#,##0", "0"},
        {12, "#,##0", "12"},
        {-1234.5, "#,##0.00", "-1,234.50"},
        {0.25, "0%", "25%"},
        {12345678, "00-00-0000", "12-34-5678"},
        {123, "00-00-0000", "00-00-0123"},
        {0, "00-00-0000", "00-00-0000"},
        {123456789, "00-00-0000", "123-45-6789"},   // extra digits go before the first group
        {12.7, "00-00-0000", "00-00-0013"},
        {5, "\"N\"0", "N5"},
        {5, "\\#0", "#5"},
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(FormatNumber(c.value, c.mask), c.expected) << c.value << " with \"" << c.mask << "\"";
}

TEST(VbNumbers, FormatNumberUsesTheSystemSeparators) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    EXPECT_EQ(FormatNumber(12.5, "##0.00"), "12,50");
    EXPECT_EQ(FormatNumber(1234567, "#,##0"), "1.234.567");
    EXPECT_EQ(FormatNumber(12345678, "00-00-0000"), "12-34-5678");
    QLocale::setDefault(saved);
    EXPECT_EQ(FormatNumber(12.5, "##0.00"), "12.50");
}

}  // namespace
