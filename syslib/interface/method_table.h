#pragma once
// The class's public methods in their fixed slot order, with their parameter
// lists, so that a method can be called by name with text arguments (the
// command line) and so that the order can be checked: callers built against
// the interface find each method by its slot.

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/runtime/bstr.h"
#include "host/runtime/variant.h"

namespace tw {

class Plinth;

enum class ParamKind { Long, Integer, String, Variant, Boolean, HKeys, DataType };

struct ParamSpec {
  const char* name;
  ParamKind kind;
  bool optional = false;
  bool output = false;  // a by-reference output, printed after the call
};

// One argument as the caller supplied it.
struct Arg {
  bool missing = true;  // omitted optional argument
  BStr text;            // for String parameters (may be the null string)
  Variant value;        // for every other kind
};

struct CallResult {
  std::optional<Variant> result;  // nullopt: the method has no result
  std::vector<std::pair<std::string, Variant>> outputs;
};

struct MethodSpec {
  int slot;
  const char* name;
  std::vector<ParamSpec> params;
  // Calls the method; args has one entry per parameter.
  std::function<CallResult(Plinth&, const std::vector<Arg>&)> invoke;
};

const std::vector<MethodSpec>& plinthMethods();
const MethodSpec* findMethod(const std::string& name);  // exact name, then without regard to case

// "WriteValue(hkey, subdir, KeyName, vWriteThis, ldValueDataType, [Multi_SZ_AddtlStrings])"
std::string describeMethod(const MethodSpec& m);

}  // namespace tw
