#include "host/runtime/errors.h"

namespace tw {

std::string errorDescription(int number) {
  switch (number) {
    case 3: return "Return without GoSub";
    case 5: return "Invalid procedure call or argument";
    case 6: return "Overflow";
    case 7: return "Out of memory";
    case 9: return "Subscript out of range";
    case 10: return "This array is fixed or temporarily locked";
    case 11: return "Division by zero";
    case 13: return "Type mismatch";
    case 14: return "Out of string space";
    case 28: return "Out of stack space";
    case 48: return "Error in loading DLL";
    case 51: return "Internal error";
    case 52: return "Bad file name or number";
    case 53: return "File not found";
    case 54: return "Bad file mode";
    case 55: return "File already open";
    case 57: return "Device I/O error";
    case 58: return "File already exists";
    case 61: return "Disk full";
    case 62: return "Input past end of file";
    case 67: return "Too many files";
    case 68: return "Device unavailable";
    case 70: return "Permission denied";
    case 71: return "Disk not ready";
    case 75: return "Path/File access error";
    case 76: return "Path not found";
    case 91: return "Object variable or With block variable not set";
    case 94: return "Invalid use of Null";
    case 429: return "ActiveX component can't create object";
    case 438: return "Object doesn't support this property or method";
    case 449: return "Argument not optional";
    case 453: return "Can't find DLL entry point";
    default: return "Application-defined or object-defined error";
  }
}

RuntimeError::RuntimeError(ErrNo number)
    : RuntimeError(static_cast<int>(number), errorDescription(static_cast<int>(number))) {}

RuntimeError::RuntimeError(ErrNo number, const std::string& description)
    : RuntimeError(static_cast<int>(number), description) {}

RuntimeError::RuntimeError(int number, const std::string& description)
    : std::runtime_error(std::to_string(number) + " " + description),
      number_(number),
      description_(description) {}

void raise(ErrNo number) { throw RuntimeError(number); }
void raise(ErrNo number, const std::string& description) { throw RuntimeError(number, description); }

}  // namespace tw
