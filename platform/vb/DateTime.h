// Dates as OLE automation day numbers: days since 1899-12-30, the fraction the time of day.
#pragma once

#include <string>
#include <string_view>

namespace vb {

using Date = double;

Date Now();                                          // local time, to the second
Date Today();                                        // VB's Date function
Date DateSerial(long year, long month, long day);    // months and days overflow as VB's
Date TimeSerial(long hour, long minute, long second);
int Year(Date d);
int Month(Date d);
int Day(Date d);
int Hour(Date d);
int Minute(Date d);
int Second(Date d);
int Weekday(Date d);                                 // 1 Sunday .. 7 Saturday

// Format with VB's date tokens: d dd m mm mmm yy yyyy h hh n nn s ss and literal
// separators ("sshhyynnmmdd", "dd/mm/yyyy", "hh:nn:ss", "yyyymmdd").
std::string FormatDate(Date d, std::string_view mask);

}  // namespace vb
