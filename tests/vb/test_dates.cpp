// OLE day numbers: serials, parts, VB's overflow of months and days, and formats.
#include "platform/vb/DateTime.h"
#include "tests/vb/VbErrorMatcher.h"

#include <QDate>

#include <gtest/gtest.h>

#include <cmath>

using namespace vb;

namespace {

struct Ymd {
    long y, m, d;
};

TEST(VbDates, DateSerialKnownSerials) {
    const std::pair<Ymd, double> cases[] = {
        {{1899, 12, 30}, 0},     {{1899, 12, 31}, 1},      {{1900, 1, 1}, 2},
        {{1900, 3, 1}, 61},      // 1900 was no leap year
        {{2000, 1, 1}, 36526},   {{2024, 1, 1}, 45292},    {{1899, 12, 29}, -1},
        {{1800, 1, 1}, -36522},  {{100, 1, 1}, -657434},   {{9999, 12, 31}, 2958465},
    };
    for (const auto& [ymd, serial] : cases)
        EXPECT_EQ(DateSerial(ymd.y, ymd.m, ymd.d), serial) << ymd.y << "-" << ymd.m << "-" << ymd.d;
}

TEST(VbDates, DateSerialOverflowsMonthsAndDays) {
    const std::pair<Ymd, Ymd> cases[] = {
        {{2024, 13, 1}, {2025, 1, 1}},  {{2024, 3, 0}, {2024, 2, 29}}, {{2023, 3, 0}, {2023, 2, 28}},
        {{2024, 1, 32}, {2024, 2, 1}},  {{2024, 0, 1}, {2023, 12, 1}}, {{2024, -1, 1}, {2023, 11, 1}},
        {{2024, 25, 1}, {2026, 1, 1}},  {{2024, 1, -30}, {2023, 12, 1}}, {{2024, 2, 30}, {2024, 3, 1}},
        {{24, 5, 7}, {2024, 5, 7}},     {{99, 1, 1}, {1999, 1, 1}},    {{29, 1, 1}, {2029, 1, 1}},
        {{30, 1, 1}, {1930, 1, 1}},
    };
    for (const auto& [in, out] : cases) {
        const Date d = DateSerial(in.y, in.m, in.d);
        EXPECT_EQ(Year(d), out.y) << in.y << "," << in.m << "," << in.d;
        EXPECT_EQ(Month(d), out.m) << in.y << "," << in.m << "," << in.d;
        EXPECT_EQ(Day(d), out.d) << in.y << "," << in.m << "," << in.d;
    }
    EXPECT_VB_ERROR(5, DateSerial(10000, 1, 1));
    EXPECT_VB_ERROR(5, DateSerial(9999, 12, 32));
    EXPECT_VB_ERROR(5, DateSerial(100, 1, 0));
}

TEST(VbDates, EveryDayFrom1899To2101RoundTrips) {
    // Consecutive serials walk the calendar one day at a time, leap days included.
    QDate expected(1899, 12, 30);
    for (long serial = 0; serial <= 73415 + 365; ++serial) {
        const Date d = DateSerial(expected.year(), expected.month(), expected.day());
        ASSERT_EQ(d, serial) << expected.toString(Qt::ISODate).toStdString();
        ASSERT_EQ(Year(d), expected.year());
        ASSERT_EQ(Month(d), expected.month());
        ASSERT_EQ(Day(d), expected.day());
        expected = expected.addDays(1);
    }
    for (long y : {1900L, 2023L, 2100L}) EXPECT_EQ(Month(DateSerial(y, 2, 29)), 3) << y;
    for (long y : {1904L, 2000L, 2024L}) EXPECT_EQ(Month(DateSerial(y, 2, 29)), 2) << y;
}

TEST(VbDates, TimeSerialCarriesIntoDays) {
    EXPECT_EQ(TimeSerial(12, 0, 0), 0.5);
    EXPECT_EQ(TimeSerial(0, 0, 0), 0);
    struct Case {
        long h, m, s;
        int day, hour, minute, second;
    };
    const Case cases[] = {
        {25, 0, 0, 31, 1, 0, 0},      {0, 90, 0, 30, 1, 30, 0},  {6, -15, 0, 30, 5, 45, 0},
        {0, 0, 3661, 30, 1, 1, 1},    {23, 59, 59, 30, 23, 59, 59},
        {0, 0, -1, 29, 23, 59, 59},   // before day 0 the time counts away from zero
    };
    for (const Case& c : cases) {
        const Date t = TimeSerial(c.h, c.m, c.s);
        EXPECT_EQ(Day(t), c.day) << c.h << ":" << c.m << ":" << c.s;
        EXPECT_EQ(Hour(t), c.hour) << c.h << ":" << c.m << ":" << c.s;
        EXPECT_EQ(Minute(t), c.minute) << c.h << ":" << c.m << ":" << c.s;
        EXPECT_EQ(Second(t), c.second) << c.h << ":" << c.m << ":" << c.s;
    }
    EXPECT_NEAR(TimeSerial(0, 0, -1), -1 - 86399.0 / 86400.0, 1e-12);
    const Date moment = DateSerial(2024, 5, 7) + TimeSerial(9, 3, 0);
    EXPECT_EQ(FormatDate(moment, "yyyy-mm-dd hh:nn:ss"), "2024-05-07 09:03:00");
}

TEST(VbDates, NegativeDatesCountTheTimeAwayFromZero) {
    EXPECT_EQ(FormatDate(-1.25, "yyyy-mm-dd hh:nn"), "1899-12-29 06:00");
    EXPECT_EQ(FormatDate(-0.25, "yyyy-mm-dd hh:nn"), "1899-12-30 06:00");
    EXPECT_EQ(FormatDate(-36522.75, "yyyy-mm-dd hh:nn"), "1800-01-01 18:00");
    EXPECT_EQ(Hour(-1.75), 18);
    EXPECT_EQ(Day(-1.75), 29);
}

TEST(VbDates, PartsRoundToTheSecond) {
    const Date lateEvening = DateSerial(2024, 5, 7) + 86399.6 / 86400.0;
    EXPECT_EQ(Day(lateEvening), 8);
    EXPECT_EQ(Hour(lateEvening), 0);
    const Date almost = DateSerial(2024, 5, 7) + TimeSerial(10, 20, 30) + 0.4 / 86400.0;
    EXPECT_EQ(Second(almost), 30);
}

TEST(VbDates, WeekdayStartsOnSunday) {
    EXPECT_EQ(Weekday(DateSerial(2024, 5, 7)), 3);     // a Tuesday
    EXPECT_EQ(Weekday(DateSerial(1899, 12, 30)), 7);   // a Saturday
    EXPECT_EQ(Weekday(DateSerial(1899, 12, 24)), 1);   // a Sunday before day 0
    EXPECT_EQ(Weekday(DateSerial(2026, 2, 1) + 0.99), 1);
}

TEST(VbDates, FormatDateTokens) {
    const Date d = DateSerial(2026, 2, 1) + TimeSerial(9, 3, 7);
    const std::pair<const char*, const char*> cases[] = {
        {"dd/mm/yyyy", "01/02/2026"},
        {"d/m/yy", "1/2/26"},
        {"yyyymmdd", "20260201"},
        {"hh:nn:ss", "09:03:07"},
        {"h:n:s", "9:3:7"},
        {"sshhyynnmmdd", "070926030201"},
        {"dd-mmm-yyyy", "01-Feb-2026"},
        {"mmmm", "February"},
        {"ddd dddd", "Sun Sunday"},
        {"hh:mm", "09:03"},     // m after an hour is the minute
        {"mm:ss", "03:07"},     // and before a second
        {"DD/MM/YYYY", "01/02/2026"},
        {"y", "32"},            // day of the year
        {"[x] \\d \"dd\"", "[x] d dd"},
        {"Água: dd", "Água: 01"},
    };
    for (const auto& [mask, text] : cases) EXPECT_EQ(FormatDate(d, mask), text) << mask;
    EXPECT_EQ(FormatDate(DateSerial(2024, 12, 31), "yy mmm"), "24 Dec");
    EXPECT_EQ(FormatDate(DateSerial(2000, 1, 9), "yy"), "00");
}

// A number that is no date of the runtime raises Overflow instead of reading garbage.
TEST(VbDates, NumbersBeyondTheDateRangeOverflow) {
    for (const double d : {-657435.0, 2958466.0, 1e300, -1e300, double(NAN), double(INFINITY)}) {
        SCOPED_TRACE(d);
        EXPECT_VB_ERROR(vb::err::Overflow, FormatDate(d, "dd-mmm-yyyy"));
        EXPECT_VB_ERROR(vb::err::Overflow, Month(d));
        EXPECT_VB_ERROR(vb::err::Overflow, Hour(d));
    }
    EXPECT_EQ(FormatDate(-657434.5, "yyyy-mm-dd hh:nn"), "100-01-01 12:00");
    EXPECT_EQ(FormatDate(2958465.99998, "yyyy-mm-dd hh:nn:ss"), "9999-12-31 23:59:58");
}

TEST(VbDates, NowIsLocalTimeToTheSecond) {
    const QDate before = QDate::currentDate();
    const Date now = Now();
    const Date today = Today();
    const QDate after = QDate::currentDate();
    if (before != after) GTEST_SKIP() << "midnight passed during the test";
    const double seconds = (now - std::floor(now)) * 86400.0;
    EXPECT_NEAR(seconds, std::round(seconds), 1e-4);
    EXPECT_EQ(today, std::floor(now));
    EXPECT_EQ(Year(now), before.year());
    EXPECT_EQ(Month(now), before.month());
    EXPECT_EQ(Day(now), before.day());
}

}  // namespace
