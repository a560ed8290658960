// plinthctl's text arguments.  Input: one argument.  Its escapes decode or
// are refused with a reason; what is printed decodes back to what was
// printed; every kind of parameter takes the text or says why not.

#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/scratch_machine.h"
#include "syslib/ctl/arguments.h"
#include "syslib/ctl/escapes.h"

using namespace tw;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t length) {
  const std::string text(reinterpret_cast<const char*>(data), length);
  std::string error;
  const auto decoded = ctl::decodeEscapes(text, &error);
  fuzz::check(decoded.has_value() || !error.empty(), "a refused escape says why");

  // quote() prints "..." with escapes that decodeEscapes reads back.
  const std::string quoted = ctl::quote(text);
  fuzz::check(quoted.size() >= 2 && quoted.front() == '"' && quoted.back() == '"', "a printed string is in quotes");
  const auto back = ctl::decodeEscapes(std::string_view(quoted).substr(1, quoted.size() - 2), &error);
  fuzz::check(back && *back == text, "a printed string decodes to itself");

  for (ParamKind kind : {ParamKind::Long, ParamKind::Integer, ParamKind::String, ParamKind::Variant,
                         ParamKind::Boolean, ParamKind::HKeys, ParamKind::DataType}) {
    for (bool optional : {false, true}) {
      const ParamSpec spec{"p", kind, optional, false};
      error.clear();
      const auto arg = ctl::parseArg(spec, decoded ? *decoded : text, &error);
      fuzz::check(arg.has_value() || !error.empty(), "an argument that does not fit says why");
      if (arg) (void)ctl::formatVariant(arg->value);
    }
  }
  return 0;
}
