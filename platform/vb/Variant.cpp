#include "platform/vb/Variant.h"

#include "platform/vb/DateTime.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <cmath>
#include <limits>

namespace vb {

namespace {

// The runtime's date range, 100-01-01 to 9999-12-31 (the last day's time included).
constexpr double kFirstDate = -657434.0;
constexpr double kLastDate = 2958466.0;

template <typename T>
T WholeFromInt(std::int64_t i) {
    if (i < std::int64_t(std::numeric_limits<T>::min()) || i > std::int64_t(std::numeric_limits<T>::max()))
        Raise(err::Overflow);
    return static_cast<T>(i);
}

double CheckedDate(double d) {
    if (!(d > kFirstDate - 1 && d < kLastDate)) Raise(err::Overflow);
    return d;
}

// Texts in the form ToString gives a date, so a date survives a trip through text.
bool ParseDateText(const std::string& s, double& out) {
    const QString t = QString::fromStdString(Trim(s));
    const QDateTime dt = QDateTime::fromString(t, QStringLiteral("yyyy-M-d H:mm:ss"));
    const QDate date = dt.isValid() ? dt.date() : QDate::fromString(t, QStringLiteral("yyyy-M-d"));
    QTime time = dt.isValid() ? dt.time() : QTime::fromString(t, QStringLiteral("H:mm:ss"));
    if (!dt.isValid() && !time.isValid()) time = QTime::fromString(t, QStringLiteral("H:mm"));
    if (!date.isValid() && !time.isValid()) return false;
    double d = date.isValid() ? DateSerial(date.year(), date.month(), date.day()) : 0.0;
    if (time.isValid()) {
        const double fraction = TimeSerial(time.hour(), time.minute(), time.second());
        d = d >= 0 ? d + fraction : d - fraction;
    }
    out = d;
    return true;
}

}  // namespace

bool Variant::IsNumeric() const {
    switch (type_) {
    case VarType::Empty:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Boolean:
    case VarType::Byte: return true;
    case VarType::String: return vb::IsNumeric(std::get<std::string>(v_));
    case VarType::Null:
    case VarType::Date: return false;
    }
    return false;
}

std::string Variant::ToString() const {
    switch (type_) {
    case VarType::Empty: return {};
    case VarType::Null: Raise(err::InvalidUseOfNull);
    case VarType::Boolean: return std::get<bool>(v_) ? "True" : "False";
    case VarType::String: return std::get<std::string>(v_);
    case VarType::Date: {
        // One form on every machine, where a system's short date would vary. A date without
        // time shows no time, a time on day 0 no date, as VB's CStr does.
        const double d = std::get<double>(v_);
        const bool hasTime = d != std::trunc(d) && FormatDate(d, "hhnnss") != "000000";
        const bool hasDate = std::trunc(d) != 0;
        if (hasDate && hasTime) return FormatDate(d, "yyyy-mm-dd hh:nn:ss");
        if (hasTime) return FormatDate(d, "hh:nn:ss");
        return FormatDate(d, "yyyy-mm-dd");
    }
    case VarType::Integer:
    case VarType::Long:
    case VarType::Byte: return CStr(static_cast<long long>(std::get<std::int64_t>(v_)));
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency: return CStr(std::get<double>(v_));
    }
    return {};
}

double Variant::ToDouble() const {
    switch (type_) {
    case VarType::Empty: return 0;
    case VarType::Null: Raise(err::InvalidUseOfNull);
    case VarType::Boolean: return std::get<bool>(v_) ? -1 : 0;
    case VarType::String: return CDbl(std::get<std::string>(v_));
    case VarType::Integer:
    case VarType::Long:
    case VarType::Byte: return double(std::get<std::int64_t>(v_));
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Date: return std::get<double>(v_);
    }
    return 0;
}

std::int32_t Variant::ToLong() const {
    if (const auto* i = std::get_if<std::int64_t>(&v_)) return WholeFromInt<std::int32_t>(*i);
    if (type_ == VarType::String) return CLng(std::get<std::string>(v_));
    return CLng(ToDouble());
}

std::int16_t Variant::ToInteger() const {
    if (const auto* i = std::get_if<std::int64_t>(&v_)) return WholeFromInt<std::int16_t>(*i);
    if (type_ == VarType::String) return CInt(std::get<std::string>(v_));
    return CInt(ToDouble());
}

std::uint8_t Variant::ToByte() const {
    if (const auto* i = std::get_if<std::int64_t>(&v_)) return WholeFromInt<std::uint8_t>(*i);
    if (type_ == VarType::String) return CByte(std::get<std::string>(v_));
    return CByte(ToDouble());
}

bool Variant::ToBool() const {
    switch (type_) {
    case VarType::Empty: return false;
    case VarType::Null: Raise(err::InvalidUseOfNull);
    case VarType::Boolean: return std::get<bool>(v_);
    case VarType::String: {
        const std::string t = UCase(Trim(std::get<std::string>(v_)));
        if (t == "TRUE") return true;
        if (t == "FALSE") return false;
        return CDbl(std::get<std::string>(v_)) != 0;
    }
    default: return ToDouble() != 0;
    }
}

double Variant::ToDate() const {
    switch (type_) {
    case VarType::Null: Raise(err::InvalidUseOfNull);
    case VarType::String: {
        const std::string& s = std::get<std::string>(v_);
        if (vb::IsNumeric(s)) return CheckedDate(CDbl(s));
        double d = 0;
        if (!ParseDateText(s, d)) Raise(err::TypeMismatch);
        return d;
    }
    default: return CheckedDate(ToDouble());
    }
}

}  // namespace vb
