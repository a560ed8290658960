// The registry methods of Plinth: thin wrappers over the ANSI registry
// functions whose callers rely on the exact shape of what comes back.

#include <array>
#include <cstring>

#include "host/host.h"
#include "host/runtime/guard.h"
#include "host/runtime/vbconv.h"
#include "syslib/plinth.h"
#include "syslib/registry/registry_support.h"

namespace tw {

using reg::DWORD;
using reg::LONG;

bool Plinth::WriteValue(HKeys hkey, const BStr& subdir, const BStr& KeyName, const Variant& vWriteThis,
                        lDataType ldValueDataType, const Variant& /*Multi_SZ_AddtlStrings: accepted, unused*/) {
  return reportErrors(host_.dialogs(), "Plinth.WriteValue", false, [&] {
    auto& r = host_.registry();
    KeyHandle key(r);
    DWORD disposition = 0;
    if (r.RegCreateKeyEx(rootHandle(hkey), cString(ansi(subdir.str())), 0, "", 0, reg::KEY_ALL_ACCESS, key.out(),
                         &disposition) != reg::ERROR_SUCCESS)
      return false;
    const std::string name = cString(ansi(KeyName.str()));
    const char* namePtr = KeyName.isNull() ? nullptr : name.c_str();
    LONG rc = 0;
    switch (ldValueDataType) {
      case reg_sz:
      case REG_EXPAND_SZ: {
        // The text and its terminating NUL; the length counts the NUL.
        const std::string data = cString(ansi(vWriteThis.toString())) + '\0';
        rc = r.RegSetValueEx(key, namePtr, 0, static_cast<DWORD>(ldValueDataType),
                             reinterpret_cast<const uint8_t*>(data.data()), static_cast<DWORD>(data.size()));
        break;
      }
      case REG_BINARY:
      case REG_DWORD: {
        const auto bytes = littleEndian(vWriteThis.toLong());
        rc = r.RegSetValueEx(key, namePtr, 0, static_cast<DWORD>(ldValueDataType), bytes.data(), 4);
        break;
      }
      default:
        return false;  // the key stays created
    }
    return rc == reg::ERROR_SUCCESS;
  });
}

bool Plinth::DeleteKey(HKeys hkey, const BStr& subdir) {
  return reportErrors(host_.dialogs(), "Plinth.DeleteKey", false, [&] {
    return host_.registry().RegDeleteKey(rootHandle(hkey), cString(ansi(subdir.str()))) == reg::ERROR_SUCCESS;
  });
}

bool Plinth::DeleteValue(HKeys hkey, const BStr& subdir, const BStr& KeyName) {
  return reportErrors(host_.dialogs(), "Plinth.DeleteValue", false, [&] {
    auto& r = host_.registry();
    KeyHandle key(r);
    if (r.RegOpenKeyEx(rootHandle(hkey), cString(ansi(subdir.str())), 0, kQueryAndWrite, key.out()) !=
        reg::ERROR_SUCCESS)
      return false;
    const std::string name = cString(ansi(KeyName.str()));
    return r.RegDeleteValue(key, KeyName.isNull() ? nullptr : name.c_str()) == reg::ERROR_SUCCESS;
  });
}

Variant Plinth::GetValue(HKeys hkey, const BStr& subdir, const BStr& KeyName, const Variant& Default,
                         bool Translate) {
  // An empty Default falls back to the empty string; an omitted one (the
  // missing marker) comes back unchanged.
  const Variant fallback = Default.isEmpty() ? Variant(std::string()) : Default;
  auto& r = host_.registry();
  KeyHandle key(r);
  const auto read = [&]() -> Variant {
    if (r.RegOpenKeyEx(rootHandle(hkey), cString(ansi(subdir.str())), 0, kQueryAndWrite, key.out()) !=
        reg::ERROR_SUCCESS)
      return fallback;
    const std::string name = cString(ansi(KeyName.str()));
    const char* namePtr = KeyName.isNull() ? nullptr : name.c_str();

    DWORD type = 0;
    DWORD size = 0;
    const LONG rc = r.RegQueryValueEx(key, namePtr, &type, nullptr, &size);
    if (rc == reg::ERROR_FILE_NOT_FOUND) return fallback;
    if (rc == reg::ERROR_ACCESS_DENIED) return Variant("Access Denied");
    if (rc != reg::ERROR_SUCCESS) return Variant("RegQueryValueEx Returned : (" + std::to_string(rc) + ")");

    std::string buffer(size, ' ');
    r.RegQueryValueEx(key, namePtr, &type, reinterpret_cast<uint8_t*>(buffer.data()), &size);
    buffer.resize(std::min<size_t>(buffer.size(), size));

    switch (type) {
      case reg::REG_NONE:
        return Variant("Not defined value_type=REG_NONE");
      case reg::REG_SZ:
      case reg::REG_EXPAND_SZ:
        // Everything but the terminating NUL; a value stored with size 0
        // makes this a negative length, which the handler turns into "".
        return Variant(wide(left(buffer, static_cast<long long>(size) - 1)));
      case reg::REG_BINARY:
      case reg::REG_DWORD:
        if (Translate) {
          // Only a four-byte buffer is offered: a longer binary value gives
          // its first four bytes, a shorter one is read zero-padded.
          std::array<uint8_t, 4> four{};
          std::memcpy(four.data(), buffer.data(), std::min<size_t>(4, buffer.size()));
          return Variant(fromLittleEndian(four));
        }
        return Variant(hexDump(buffer));
      default:
        return Variant(wide(buffer));
    }
  };
  // This method's handler shows no message: it returns "" and the key is
  // closed by the handle on the way out.  Its three calls read one moment of
  // the hive, so that another program's writes are looked for once.
  Variant result;
  r.readTogether([&] { result = quietErrors(Variant(std::string()), read); });
  return result;
}

std::string Plinth::FindRegKeyString(HKeys hkey, const BStr& subdir, const BStr& key) {
  return reportErrors(host_.dialogs(), "Plinth.FindRegKeyString", std::string(), [&] {
    // The walk makes several calls for every key below subdir: it reads the
    // hive as it was when the search began instead of asking before each call
    // whether another program has written since.
    host_.registry().readTogether([&] { DoEnumSubKeys(hkey, subdir.str(), key.str()); });
    return FoundValue;
  });
}

void Plinth::DoEnumSubKeys(HKeys hkey, const std::string& subdir, const std::string& key) {
  reportErrors(host_.dialogs(), "Plinth.DoEnumSubKeys", [&] {
    auto& r = host_.registry();
    std::vector<std::string> names;
    {
      KeyHandle handle(r);
      if (r.RegOpenKeyEx(rootHandle(hkey), cString(ansi(subdir)), 0, reg::KEY_ALL_ACCESS, handle.out()) !=
          reg::ERROR_SUCCESS) {
        host_.dialogs().msgBox("Unable to open a subkey", MsgBoxStyle::OkOnly, kLibraryTitle);
        return;
      }
      ListEntryValues(hkey, subdir, key);
      // The index is 32-bit: a 16-bit counter would stop a search with an
      // overflow error at a key with more than 32 767 subkeys.
      for (DWORD index = 0;; ++index) {
        std::array<char, 256> name{};
        DWORD nameLen = static_cast<DWORD>(name.size());
        std::array<char, 256> cls{};
        DWORD clsLen = 0;
        LastRegResult = r.RegEnumKeyEx(handle, index, name.data(), &nameLen, cls.data(), &clsLen);
        if (LastRegResult != reg::ERROR_SUCCESS && LastRegResult != reg::ERROR_MORE_DATA) break;
        names.emplace_back(beforeNul(std::string_view(name.data(), name.size())));
      }
    }
    for (const auto& name : names) {
      host_.doEvents();
      DoEnumSubKeys(hkey, subdir + "\\" + wide(name), key);
    }
  });
}

void Plinth::ListEntryValues(HKeys hkey, const std::string& subdir, const std::string& key) {
  reportErrors(host_.dialogs(), "Plinth.ListEntryValues", [&] {
    auto& r = host_.registry();
    KeyHandle handle(r);
    LastRegResult = r.RegOpenKeyEx(rootHandle(hkey), cString(ansi(subdir)), 0, reg::KEY_ALL_ACCESS, handle.out());
    if (LastRegResult != reg::ERROR_SUCCESS) return;
    const std::string wanted = ansi(key);
    std::vector<char> name(1024);
    std::vector<uint8_t> data(1024);
    for (DWORD index = 0;; ++index) {
      DWORD nameLen = static_cast<DWORD>(name.size());
      DWORD dataLen = static_cast<DWORD>(data.size());
      DWORD type = 0;
      LastRegResult = r.RegEnumValue(handle, index, name.data(), &nameLen, &type, data.data(), &dataLen);
      if (LastRegResult != reg::ERROR_SUCCESS) break;
      const std::string found(name.data(), std::min<size_t>(nameLen, name.size()));
      if (found == wanted) FoundValue = GetValue(hkey, subdir, wide(found), Variant(int16_t{0}), false).toString();
    }
  });
}

}  // namespace tw
