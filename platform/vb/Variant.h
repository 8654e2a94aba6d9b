// A VB Variant: Empty, Null, the numeric kinds, Date, String and Boolean.
// Database fields, optional arguments and routines whose result may be Empty use it.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace vb {

// VarType codes of the original runtime.
enum class VarType : int {
    Empty = 0, Null = 1, Integer = 2, Long = 3, Single = 4, Double = 5,
    Currency = 6, Date = 7, String = 8, Boolean = 11, Byte = 17,
};

class Variant {
public:
    Variant() = default;                                   // Empty
    Variant(bool b) : type_(VarType::Boolean), v_(b) {}
    Variant(int i) : type_(VarType::Long), v_(static_cast<std::int64_t>(i)) {}
    Variant(long i) : type_(VarType::Long), v_(static_cast<std::int64_t>(i)) {}
    Variant(long long i) : type_(VarType::Long), v_(static_cast<std::int64_t>(i)) {}
    Variant(double d) : type_(VarType::Double), v_(d) {}
    Variant(const char* s) : type_(VarType::String), v_(std::string(s)) {}
    Variant(std::string s) : type_(VarType::String), v_(std::move(s)) {}

    static Variant Null() { Variant v; v.type_ = VarType::Null; return v; }
    static Variant Empty() { return Variant(); }
    static Variant Integer(std::int16_t i) { Variant v(static_cast<long>(i)); v.type_ = VarType::Integer; return v; }
    static Variant Byte(std::uint8_t b) { Variant v(static_cast<long>(b)); v.type_ = VarType::Byte; return v; }
    static Variant Date(double oleDate) { Variant v(oleDate); v.type_ = VarType::Date; return v; }

    VarType Type() const { return type_; }
    bool IsEmpty() const { return type_ == VarType::Empty; }
    bool IsNull() const { return type_ == VarType::Null; }
    bool IsString() const { return type_ == VarType::String; }
    bool IsNumeric() const;   // VB IsNumeric: numbers, Booleans, Empty, and texts that read as numbers

    // Conversions with VB's rules: Null raises 94, texts that are no number raise 13,
    // out-of-range values raise 6. Whole-number conversions round half to even.
    // CStr; Empty gives "". A Date reads "yyyy-mm-dd hh:nn:ss" (the date alone when the time
    // is midnight, the time alone on day 0), the same on every machine, unlike a system's
    // short date format.
    std::string ToString() const;
    double ToDouble() const;           // CDbl
    std::int32_t ToLong() const;       // CLng
    std::int16_t ToInteger() const;    // CInt
    std::uint8_t ToByte() const;       // CByte
    bool ToBool() const;               // CBool
    double ToDate() const;             // CDate of a number, a Date, or a text in ToString's date form

    bool operator==(const Variant& o) const { return type_ == o.type_ && v_ == o.v_; }

private:
    friend struct VariantAccess;
    VarType type_ = VarType::Empty;
    std::variant<std::monostate, bool, std::int64_t, double, std::string> v_;
};

// Raw access for the runtime's own code (the database layer binds and reads values).
struct VariantAccess {
    static const auto& Storage(const Variant& v) { return v.v_; }
};

}  // namespace vb
