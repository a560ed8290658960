#pragma once
// The two ways a procedure of the programs handles errors, each a one-liner
// at the top of the procedure:
//
//   return reportErrors(dialogs, "Plinth.WriteValue", false, [&] { ... });
//       an error shows "<number> <description> in Plinth.WriteValue" in a
//       critical message box titled "Error", and the procedure returns its
//       empty result;
//
//   skipErrors([&] { step(); });
//       a failing statement is skipped silently and the caller goes on.

#include <exception>
#include <new>
#include <string>
#include <utility>

#include "host/dialogs/dialogs.h"
#include "host/runtime/errors.h"

namespace tw {

// The runtime's error of any exception that escapes a procedure.
RuntimeError asRuntimeError(std::exception_ptr e);

// Shows the handler's message box for an error caught in `where`.
void showErrorBox(Dialogs& dialogs, const RuntimeError& error, const std::string& where);

template <class Result, class Body>
Result reportErrors(Dialogs& dialogs, const char* where, Result emptyResult, Body&& body) {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    showErrorBox(dialogs, asRuntimeError(std::current_exception()), where);
    return emptyResult;
  }
}

template <class Body>
void reportErrors(Dialogs& dialogs, const char* where, Body&& body) {
  try {
    std::forward<Body>(body)();
  } catch (...) {
    showErrorBox(dialogs, asRuntimeError(std::current_exception()), where);
  }
}

// Like reportErrors but silent: the procedure returns its empty result.
template <class Result, class Body>
Result quietErrors(Result emptyResult, Body&& body) {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return emptyResult;
  }
}

template <class Body>
void skipErrors(Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
  } catch (...) {
  }
}

}  // namespace tw
