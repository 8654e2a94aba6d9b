#include "platform/vb/Err.h"

#include <cerrno>

namespace vb {

Error::Error(long number, std::string description, std::string source)
    : std::runtime_error(description),
      number_(number),
      description_(std::move(description)),
      source_(std::move(source)) {}

std::string DefaultDescription(long number) {
    switch (number) {
    case err::InvalidProcedureCall: return "Invalid procedure call or argument";
    case err::Overflow: return "Overflow";
    case err::OutOfMemory: return "Out of memory";
    case err::SubscriptOutOfRange: return "Subscript out of range";
    case err::DivisionByZero: return "Division by zero";
    case err::TypeMismatch: return "Type mismatch";
    case err::FileNotFoundDll: return "Error in loading DLL";
    case err::BadFileNameOrNumber: return "Bad file name or number";
    case err::FileNotFound: return "File not found";
    case err::BadFileMode: return "Bad file mode";
    case err::FileAlreadyOpen: return "File already open";
    case err::DeviceIOError: return "Device I/O error";
    case err::FileAlreadyExists: return "File already exists";
    case err::DiskFull: return "Disk full";
    case err::InputPastEndOfFile: return "Input past end of file";
    case err::PermissionDenied: return "Permission denied";
    case err::PathFileAccessError: return "Path/File access error";
    case err::PathNotFound: return "Path not found";
    case err::InvalidUseOfNull: return "Invalid use of Null";
    case err::ObjectRequired: return "Object required";
    default: return "Application-defined or object-defined error";
    }
}

long FileErrorNumber(int systemError, long otherwise) {
    switch (systemError) {
    case ENOSPC:
    case EDQUOT: return err::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS: return err::PermissionDenied;
    default: return otherwise;
    }
}

void Raise(long number, const std::string& description, const std::string& source) {
    throw Error(number, description.empty() ? DefaultDescription(number) : description, source);
}

}  // namespace vb
