#pragma once
// The language runtime's trappable errors.  Procedures raise them, and the
// error handler of the enclosing procedure turns them into the message
// "<number> <description> in <Module>.<Procedure>".

#include <stdexcept>
#include <string>

namespace tw {

enum class ErrNo : int {
  InvalidProcedureCall = 5,
  Overflow = 6,
  OutOfMemory = 7,
  SubscriptOutOfRange = 9,
  DivisionByZero = 11,
  TypeMismatch = 13,
  InternalError = 51,
  BadFileNameOrNumber = 52,
  FileNotFound = 53,
  FileAlreadyOpen = 55,
  DeviceIoError = 57,
  FileAlreadyExists = 58,
  DiskFull = 61,
  InputPastEndOfFile = 62,
  PermissionDenied = 70,
  PathFileAccessError = 75,
  PathNotFound = 76,
  ObjectNotSet = 91,
  InvalidUseOfNull = 94,
  CantCreateObject = 429,
  ArgumentNotOptional = 449,
  DllEntryPointNotFound = 453,
};

// The runtime's own wording of each error, as the message boxes print it.
std::string errorDescription(int number);

class RuntimeError : public std::runtime_error {
 public:
  explicit RuntimeError(ErrNo number);
  RuntimeError(ErrNo number, const std::string& description);
  RuntimeError(int number, const std::string& description);

  int number() const noexcept { return number_; }
  const std::string& description() const noexcept { return description_; }

 private:
  int number_;
  std::string description_;
};

[[noreturn]] void raise(ErrNo number);
[[noreturn]] void raise(ErrNo number, const std::string& description);

}  // namespace tw
