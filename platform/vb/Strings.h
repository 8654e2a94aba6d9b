// VB's string functions on UTF-8 text. They count characters (code points), not bytes,
// use VB's 1-based positions and raise VB's errors (5 invalid argument, 6 overflow,
// 13 type mismatch).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vb {

enum class Compare { Binary = 0, Text = 1 };

long Len(std::string_view s);
std::string Mid(std::string_view s, long start);                 // start < 1 raises 5
std::string Mid(std::string_view s, long start, long length);    // length < 0 raises 5
std::string Left(std::string_view s, long length);               // length < 0 raises 5
std::string Right(std::string_view s, long length);              // length < 0 raises 5
long InStr(std::string_view s, std::string_view find, Compare cmp = Compare::Binary);
long InStr(long start, std::string_view s, std::string_view find, Compare cmp = Compare::Binary);
long InStrRev(std::string_view s, std::string_view find, long start = -1,
              Compare cmp = Compare::Binary);
std::string Replace(std::string_view s, std::string_view find, std::string_view replacement,
                    long start = 1, long count = -1, Compare cmp = Compare::Binary);
// Split("") gives no element at all, as VB's (UBound -1).
std::vector<std::string> Split(std::string_view s, std::string_view delimiter = " ",
                               long limit = -1);
std::string Join(const std::vector<std::string>& parts, std::string_view delimiter = " ");
std::string Trim(std::string_view s);    // blanks (code 32) only, as VB
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);
// One character at a time: no character becomes two ("ß" stays "ß").
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);
std::string Space(long n);
std::string String(long n, char32_t ch);
std::string StrReverse(std::string_view s);

// Chr/Asc use the Windows-1252 code page of the original; ChrW/AscW Unicode.
std::string Chr(long code);        // 0..255, else 5
long Asc(std::string_view s);      // "" raises 5; a character outside Windows-1252 gives 63 ("?")
std::string ChrW(long code);       // -32768..65535, else 5
long AscW(std::string_view s);

// Characters as code points and back, for routines that work character by character.
std::u32string ToChars(std::string_view s);
std::string FromChars(std::u32string_view chars);
char32_t UpperChar(char32_t c);
char32_t LowerChar(char32_t c);

// Conversions from text with VB's rules.
// Texts read with "." as the decimal point whatever the system's, as the program's data are written.
bool IsNumeric(std::string_view s);      // blanks around, a sign, "." decimals, exponents, "&H" hex
double Val(std::string_view s);          // leading number; raises only 6, for a number beyond a Double
std::int32_t CLng(std::string_view s);   // 13 when not numeric, 6 out of range, half to even
std::int16_t CInt(std::string_view s);
std::uint8_t CByte(std::string_view s);
double CDbl(std::string_view s);
// The same conversions of a number: half to even, 6 out of range.
std::int32_t CLng(double d);
std::int16_t CInt(double d);
std::uint8_t CByte(double d);
std::string CStr(long long n);
std::string CStr(long n);                // so that CStr of an int or a long is not ambiguous
std::string CStr(int n);
std::string CStr(double d);              // shortest form as VB prints it ("1.5", "2", "1E+20")
std::string Hex(long long n);            // 32-bit two's complement for negatives, as VB's Hex of a Long

// Format of a number with a digit mask: "0", "00", "000", "#", "#,##0", "0.00", "00-00-0000".
// Digits fill the placeholders from the right, other characters stand as they are; rounding
// is half away from zero, as Format's; "." and "," print as the system's separators.
std::string FormatNumber(double value, std::string_view mask);

}  // namespace vb
