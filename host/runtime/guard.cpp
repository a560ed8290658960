#include "host/runtime/guard.h"

namespace tw {

RuntimeError asRuntimeError(std::exception_ptr e) {
  try {
    std::rethrow_exception(e);
  } catch (const RuntimeError& error) {
    return error;
  } catch (const std::bad_alloc&) {
    return RuntimeError(ErrNo::OutOfMemory);
  } catch (const std::exception& other) {
    return RuntimeError(ErrNo::InternalError, std::string(errorDescription(51)) + ": " + other.what());
  } catch (...) {
    return RuntimeError(ErrNo::InternalError);
  }
}

void showErrorBox(Dialogs& dialogs, const RuntimeError& error, const std::string& where) {
  dialogs.msgBox(std::to_string(error.number()) + " " + error.description() + " in " + where,
                 MsgBoxStyle::Critical, "Error");
}

}  // namespace tw
