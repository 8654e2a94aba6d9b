#include "platform/vb/DateTime.h"

#include "platform/vb/Err.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

namespace vb {

namespace {

constexpr long long kSecondsPerDay = 86400;
// Day numbers of 100-01-01 and 9999-12-31, the range of the runtime's dates.
constexpr long long kFirstDay = -657434;
constexpr long long kLastDay = 2958465;

qint64 JulianDayOfZero() {
    static const qint64 jd = QDate(1899, 12, 30).toJulianDay();
    return jd;
}

long long FloorDiv(long long a, long long b) {
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// A day number and a time of day as the OLE value. Before day 0 the time counts away
// from zero: 1899-12-29 06:00 is -1.25, not -0.75.
Date ToOle(long long day, long long seconds) {
    const double fraction = double(seconds) / double(kSecondsPerDay);
    return day >= 0 ? double(day) + fraction : double(day) - fraction;
}

struct Parts {
    long long day;      // days since 1899-12-30
    long long seconds;  // 0 .. 86399
};

// The inverse of ToOle, with the time rounded to the second as the runtime shows it.
Parts Split(Date d) {
    // Beyond the runtime's dates, or no number at all, there is no day to tell: VB's overflow.
    if (!(d > double(kFirstDay - 1) && d < double(kLastDay + 1))) Raise(err::Overflow);
    double linear = d;
    if (d < 0) {
        const double whole = std::trunc(d);
        linear = whole - (d - whole);
    }
    Parts p;
    p.day = static_cast<long long>(std::floor(linear));
    p.seconds = std::llround((linear - double(p.day)) * double(kSecondsPerDay));
    if (p.seconds >= kSecondsPerDay) {
        ++p.day;
        p.seconds -= kSecondsPerDay;
    }
    return p;
}

QDate CivilDate(Date d) { return QDate::fromJulianDay(JulianDayOfZero() + Split(d).day); }

const char* const kMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};
const char* const kDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

std::string Two(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

struct Token {
    char letter;        // 'd', 'm', 'y', 'h', 'n', 's', or 0 for literal text
    int count;
    std::string text;   // literal text
};

std::vector<Token> Tokenize(std::string_view mask) {
    std::vector<Token> tokens;
    auto literal = [&](std::string_view t) {
        if (!tokens.empty() && tokens.back().letter == 0) tokens.back().text += t;
        else tokens.push_back({0, 0, std::string(t)});
    };
    std::size_t i = 0;
    while (i < mask.size()) {
        const char c = char(std::tolower(static_cast<unsigned char>(mask[i])));
        if (mask[i] == '\\' && i + 1 < mask.size()) {
            // Escapes the next character, whole (it may be several bytes of UTF-8).
            std::size_t n = 1;
            while (i + 1 + n < mask.size() && (static_cast<unsigned char>(mask[i + 1 + n]) & 0xC0) == 0x80) ++n;
            literal(mask.substr(i + 1, n));
            i += 1 + n;
            continue;
        }
        if (mask[i] == '"') {
            const std::size_t end = mask.find('"', i + 1);
            const std::size_t stop = end == std::string_view::npos ? mask.size() : end;
            literal(mask.substr(i + 1, stop - i - 1));
            i = stop + 1;
            continue;
        }
        if (c == 'd' || c == 'm' || c == 'y' || c == 'h' || c == 'n' || c == 's') {
            std::size_t run = 0;
            while (i + run < mask.size() &&
                   std::tolower(static_cast<unsigned char>(mask[i + run])) == c)
                ++run;
            // Longest token first: dddd/mmmm/yyyy, then shorter ones.
            const int longest = (c == 'd' || c == 'm' || c == 'y') ? 4 : 2;
            while (run > 0) {
                int take = std::min<int>(int(run), longest);
                if (c == 'y' && take == 3) take = 2;
                tokens.push_back({c, take, {}});
                run -= std::size_t(take);
                i += std::size_t(take);
            }
            continue;
        }
        literal(mask.substr(i, 1));
        ++i;
    }
    // "m" and "mm" right after an hour or right before a second are minutes.
    for (std::size_t k = 0; k < tokens.size(); ++k) {
        if (tokens[k].letter != 'm' || tokens[k].count > 2) continue;
        bool minute = false;
        for (std::size_t j = k; j-- > 0;) {
            if (tokens[j].letter == 0) continue;
            minute = tokens[j].letter == 'h';
            break;
        }
        for (std::size_t j = k + 1; !minute && j < tokens.size(); ++j) {
            if (tokens[j].letter == 0) continue;
            minute = tokens[j].letter == 's';
            break;
        }
        if (minute) tokens[k].letter = 'n';
    }
    return tokens;
}

}  // namespace

Date Now() {
    const QDateTime now = QDateTime::currentDateTime();
    const QTime t = now.time();
    return ToOle(now.date().toJulianDay() - JulianDayOfZero(), t.hour() * 3600LL + t.minute() * 60LL + t.second());
}

Date Today() { return ToOle(QDate::currentDate().toJulianDay() - JulianDayOfZero(), 0); }

Date DateSerial(long year, long month, long day) {
    // Two-digit years as the system's window reads them: 0-29 this century, 30-99 the last.
    if (year >= 0 && year <= 99) year += year < 30 ? 2000 : 1900;
    const long long months = (long long)year * 12 + ((long long)month - 1);
    const long long y = FloorDiv(months, 12);
    const int m = int(months - y * 12) + 1;
    if (y < 1 || y > 10000) Raise(err::InvalidProcedureCall);
    const long long first = QDate(int(y), m, 1).toJulianDay() - JulianDayOfZero();
    const long long serial = first + ((long long)day - 1);
    if (serial < kFirstDay || serial > kLastDay) Raise(err::InvalidProcedureCall);
    return ToOle(serial, 0);
}

Date TimeSerial(long hour, long minute, long second) {
    const long long total = (long long)hour * 3600 + (long long)minute * 60 + (long long)second;
    const long long day = FloorDiv(total, kSecondsPerDay);
    if (day < kFirstDay || day > kLastDay) Raise(err::InvalidProcedureCall);
    return ToOle(day, total - day * kSecondsPerDay);
}

int Year(Date d) { return CivilDate(d).year(); }
int Month(Date d) { return CivilDate(d).month(); }
int Day(Date d) { return CivilDate(d).day(); }
int Hour(Date d) { return int(Split(d).seconds / 3600); }
int Minute(Date d) { return int(Split(d).seconds / 60 % 60); }
int Second(Date d) { return int(Split(d).seconds % 60); }

int Weekday(Date d) {
    // Day 0, 1899-12-30, was a Saturday.
    const long long day = Split(d).day;
    return int(((day % 7 + 7) % 7 + 6) % 7) + 1;
}

std::string FormatDate(Date d, std::string_view mask) {
    const Parts p = Split(d);
    const QDate date = QDate::fromJulianDay(JulianDayOfZero() + p.day);
    const int hour = int(p.seconds / 3600), minute = int(p.seconds / 60 % 60), second = int(p.seconds % 60);
    std::string out;
    for (const Token& t : Tokenize(mask)) {
        switch (t.letter) {
        case 0: out += t.text; break;
        case 'd':
            if (t.count == 1) out += std::to_string(date.day());
            else if (t.count == 2) out += Two(date.day());
            else if (t.count == 3) out += std::string(kDayNames[date.dayOfWeek() % 7]).substr(0, 3);
            else out += kDayNames[date.dayOfWeek() % 7];
            break;
        case 'm':
            if (t.count == 1) out += std::to_string(date.month());
            else if (t.count == 2) out += Two(date.month());
            else if (t.count == 3) out += std::string(kMonthNames[date.month() - 1]).substr(0, 3);
            else out += kMonthNames[date.month() - 1];
            break;
        case 'y':
            if (t.count == 1) out += std::to_string(date.dayOfYear());
            else if (t.count == 2) out += Two(date.year() % 100);
            else out += std::to_string(date.year());
            break;
        case 'h': out += t.count == 1 ? std::to_string(hour) : Two(hour); break;
        case 'n': out += t.count == 1 ? std::to_string(minute) : Two(minute); break;
        case 's': out += t.count == 1 ? std::to_string(second) : Two(second); break;
        }
    }
    return out;
}

}  // namespace vb
