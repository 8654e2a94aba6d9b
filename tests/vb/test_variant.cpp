// Variant conversions with the runtime's rules for Empty, Null, Booleans, texts and dates.
#include "platform/vb/DateTime.h"
#include "platform/vb/Variant.h"
#include "tests/vb/VbErrorMatcher.h"

#include <gtest/gtest.h>

using namespace vb;

namespace {

TEST(VbVariant, NullRaisesInvalidUseOfNull) {
    const Variant n = Variant::Null();
    EXPECT_VB_ERROR(94, n.ToString());
    EXPECT_VB_ERROR(94, n.ToDouble());
    EXPECT_VB_ERROR(94, n.ToLong());
    EXPECT_VB_ERROR(94, n.ToInteger());
    EXPECT_VB_ERROR(94, n.ToByte());
    EXPECT_VB_ERROR(94, n.ToBool());
    EXPECT_VB_ERROR(94, n.ToDate());
    EXPECT_FALSE(n.IsNumeric());
}

TEST(VbVariant, EmptyIsZeroBlankAndFalse) {
    const Variant e;
    EXPECT_TRUE(e.IsEmpty());
    EXPECT_EQ(e.ToString(), "");
    EXPECT_EQ(e.ToDouble(), 0);
    EXPECT_EQ(e.ToLong(), 0);
    EXPECT_FALSE(e.ToBool());
    EXPECT_EQ(e.ToDate(), 0);
    EXPECT_TRUE(e.IsNumeric());
}

TEST(VbVariant, BooleansAreMinusOneAndZero) {
    EXPECT_EQ(Variant(true).ToLong(), -1);
    EXPECT_EQ(Variant(true).ToInteger(), -1);
    EXPECT_EQ(Variant(true).ToDouble(), -1);
    EXPECT_EQ(Variant(false).ToLong(), 0);
    EXPECT_EQ(Variant(true).ToString(), "True");
    EXPECT_EQ(Variant(false).ToString(), "False");
    EXPECT_VB_ERROR(6, Variant(true).ToByte());
    EXPECT_TRUE(Variant(true).IsNumeric());
}

TEST(VbVariant, NumbersConvertWithRangeChecks) {
    EXPECT_EQ(Variant("12.5").ToLong(), 12);
    EXPECT_EQ(Variant("13.5").ToLong(), 14);
    EXPECT_EQ(Variant(2.5).ToLong(), 2);
    EXPECT_EQ(Variant(" 7 ").ToInteger(), 7);
    EXPECT_DOUBLE_EQ(Variant("1.5E2").ToDouble(), 150);
    EXPECT_EQ(Variant(70000).ToLong(), 70000);
    EXPECT_VB_ERROR(6, Variant(70000).ToInteger());
    EXPECT_VB_ERROR(6, Variant("70000").ToInteger());
    EXPECT_VB_ERROR(6, Variant(300).ToByte());
    EXPECT_VB_ERROR(6, Variant(-1).ToByte());
    EXPECT_VB_ERROR(6, Variant(5000000000LL).ToLong());
    EXPECT_VB_ERROR(13, Variant("abc").ToLong());
    EXPECT_VB_ERROR(13, Variant("").ToDouble());
    EXPECT_VB_ERROR(6, Variant::Integer(-5).ToByte());
    EXPECT_EQ(Variant::Byte(200).ToLong(), 200);
    EXPECT_EQ(Variant(0.5).ToString(), "0.5");
    EXPECT_EQ(Variant(42).ToString(), "42");
    EXPECT_EQ(Variant::Integer(-7).ToString(), "-7");
}

TEST(VbVariant, ToBoolReadsTextAndNumbers) {
    const std::pair<Variant, bool> cases[] = {
        {Variant("true"), true}, {Variant(" False "), false}, {Variant("0"), false}, {Variant("2"), true},
        {Variant(0.0), false},   {Variant(-3), true},         {Variant::Date(1), true},
    };
    for (const auto& [v, b] : cases) EXPECT_EQ(v.ToBool(), b) << v.ToString();
    EXPECT_VB_ERROR(13, Variant("yes").ToBool());
}

TEST(VbVariant, DatesPrintAndReadBack) {
    const Date moment = DateSerial(2024, 5, 7) + TimeSerial(9, 3, 0);
    const std::pair<Date, const char*> cases[] = {
        {moment, "2024-05-07 09:03:00"},
        {DateSerial(2024, 5, 7), "2024-05-07"},        // no time of day: the date alone
        {TimeSerial(9, 3, 0), "09:03:00"},             // day 0: the time alone
        {DateSerial(1899, 12, 29) - 0.25, "1899-12-29 06:00:00"},
    };
    for (const auto& [d, text] : cases) {
        const Variant v = Variant::Date(d);
        EXPECT_EQ(v.ToString(), text);
        EXPECT_NEAR(Variant(v.ToString()).ToDate(), d, 1e-9) << text;
    }
    EXPECT_EQ(Variant::Date(moment).ToDate(), moment);
    EXPECT_EQ(Variant(45292).ToDate(), DateSerial(2024, 1, 1));
    EXPECT_EQ(Variant("45292").ToDate(), DateSerial(2024, 1, 1));
    EXPECT_FALSE(Variant::Date(moment).IsNumeric());
    EXPECT_VB_ERROR(13, Variant("abc").ToDate());
    EXPECT_VB_ERROR(13, Variant("2024-13-01").ToDate());
    EXPECT_VB_ERROR(6, Variant(1e8).ToDate());
}

TEST(VbVariant, IsNumericOfTexts) {
    EXPECT_TRUE(Variant("1.5").IsNumeric());
    EXPECT_TRUE(Variant(" 12 ").IsNumeric());
    EXPECT_FALSE(Variant("12a").IsNumeric());
    EXPECT_FALSE(Variant("").IsNumeric());
    EXPECT_TRUE(Variant::Integer(3).IsNumeric());
    EXPECT_TRUE(Variant(2.5).IsNumeric());
}

}  // namespace
