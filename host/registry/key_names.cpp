#include "host/registry/key_names.h"

#include "host/runtime/codepage.h"

namespace tw::reg {

const std::array<unsigned char, 256> kFoldTable = [] {
  std::array<unsigned char, 256> t{};
  for (size_t i = 0; i < t.size(); ++i) t[i] = ansiUpper(static_cast<unsigned char>(i));
  return t;
}();

}  // namespace tw::reg
