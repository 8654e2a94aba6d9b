// The runtime's error: a number and a description, as VB's Err object carried them.
// Err.Raise throws vb::Error; "On Error Resume Next" becomes an explicit try/catch.
#pragma once

#include <stdexcept>
#include <string>

namespace vb {

class Error : public std::runtime_error {
public:
    Error(long number, std::string description, std::string source = {});

    long Number() const noexcept { return number_; }
    const std::string& Description() const noexcept { return description_; }
    const std::string& Source() const noexcept { return source_; }

private:
    long number_;
    std::string description_;
    std::string source_;
};

// Err.Raise: an empty description takes the runtime's own text for the number.
[[noreturn]] void Raise(long number, const std::string& description = {},
                        const std::string& source = {});

// The runtime's text for its own numbers ("Overflow" for 6); "Application-defined or
// object-defined error" for any other.
std::string DefaultDescription(long number);

// The runtime's number for a file that the system refused to write or create (errno):
// 61 for a full disk or quota, 70 when writing is refused, `otherwise` for any other cause.
long FileErrorNumber(int systemError, long otherwise);

// Numbers of the runtime and of Jet that the program raises or tests.
namespace err {
constexpr long InvalidProcedureCall = 5;
constexpr long Overflow = 6;
constexpr long OutOfMemory = 7;
constexpr long SubscriptOutOfRange = 9;
constexpr long DivisionByZero = 11;
constexpr long TypeMismatch = 13;
constexpr long FileNotFoundDll = 48;   // "Error in loading DLL": a missing outside library
constexpr long BadFileNameOrNumber = 52;
constexpr long FileNotFound = 53;
constexpr long BadFileMode = 54;
constexpr long FileAlreadyOpen = 55;
constexpr long DeviceIOError = 57;
constexpr long FileAlreadyExists = 58;
constexpr long DiskFull = 61;
constexpr long InputPastEndOfFile = 62;
constexpr long PermissionDenied = 70;
constexpr long PathFileAccessError = 75;
constexpr long PathNotFound = 76;
constexpr long InvalidUseOfNull = 94;
constexpr long ObjectRequired = 424;
constexpr long InvalidPicture = 481;   // LoadPicture: data that do not decode
}  // namespace err

}  // namespace vb
