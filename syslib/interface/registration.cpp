// The server's standard exports.  The registry entries are the ones a loader
// of in-process servers on Windows 9x looks up: the class by CLSID or ProgID,
// the library file, its threading model, and the type library that lets the
// standard dispatch proxy marshal _Plinth.

#include "syslib/interface/registration.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "host/host.h"

static_assert(static_cast<uint32_t>(PLINTH_E_NOINTERFACE) == 0x80004002u);
static_assert(static_cast<uint32_t>(PLINTH_CLASS_E_CLASSNOTAVAILABLE) == 0x80040111u);
static_assert(static_cast<uint32_t>(PLINTH_SELFREG_E_CLASS) == 0x80040201u);

extern "C" {
const PlinthGuid PLINTH_IID_IClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const PlinthGuid PLINTH_IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
}

namespace {

namespace reg = tw::reg;

constexpr const char* kDispatchProxy = "{00020424-0000-0000-C000-000000000046}";
constexpr const char* kProgId = "PlinthDll.Plinth";
constexpr const char* kLibraryFile = "Plinth.dll";

std::atomic<long> g_locks{0};

bool sameGuid(const PlinthGuid& a, const PlinthGuid& b) {
  return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
         std::memcmp(a.Data4, b.Data4, sizeof a.Data4) == 0;
}

std::string guidText(const PlinthGuid& g) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2, g.Data3,
                g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return buf;
}

struct Entry {
  std::string key;
  const char* name;  // nullptr: the key's default value
  std::string value;
};

// The library as the machine's loader would find it: in the program folder,
// whatever that folder is called on this machine.
std::string libraryPath(const tw::Machine& machine) {
  std::string folder = machine.programFolder();
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder + "\\" + kLibraryFile;
}

std::string clsidKey() { return "CLSID\\" + guidText(PLINTH_CLSID_Plinth); }
std::string interfaceKey() { return "Interface\\" + guidText(PLINTH_IID__Plinth); }
std::string typeLibKey() { return "TypeLib\\" + guidText(PLINTH_LIBID_PlinthDll); }

std::vector<Entry> entries(const tw::Machine& machine) {
  const std::string clsid = guidText(PLINTH_CLSID_Plinth);
  const std::string libid = guidText(PLINTH_LIBID_PlinthDll);
  const std::string file = libraryPath(machine);
  const std::string c = clsidKey();
  const std::string i = interfaceKey();
  const std::string t = typeLibKey() + "\\1.0";
  const std::string progId = kProgId;
  return {
      {c, nullptr, "Plinth"},
      {c + "\\InprocServer32", nullptr, file},
      {c + "\\InprocServer32", "ThreadingModel", "Apartment"},
      {c + "\\ProgID", nullptr, progId},
      {c + "\\TypeLib", nullptr, libid},
      {c + "\\VERSION", nullptr, "1.0"},
      {progId, nullptr, progId},
      {progId + "\\Clsid", nullptr, clsid},
      {i, nullptr, "_Plinth"},
      {i + "\\ProxyStubClsid32", nullptr, kDispatchProxy},
      {i + "\\TypeLib", nullptr, libid},
      {i + "\\TypeLib", "Version", "1.0"},
      {t, nullptr, "PlinthDll"},
      {t + "\\0\\win32", nullptr, file},
      {t + "\\FLAGS", nullptr, "0"},
  };
}

// Closes the key on every way out, so a failed registration leaves no
// handle open in the calling program's registry.
class OpenKey {
 public:
  explicit OpenKey(reg::Registry& registry) : registry_(registry) {}
  ~OpenKey() {
    if (key_) registry_.RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  reg::HKEY* out() { return &key_; }
  reg::HKEY get() const { return key_; }

 private:
  reg::Registry& registry_;
  reg::HKEY key_ = 0;
};

bool write(reg::Registry& registry, const Entry& e) {
  OpenKey key(registry);
  if (registry.RegCreateKeyEx(reg::HKEY_CLASSES_ROOT, e.key, 0, "", 0, reg::KEY_WRITE, key.out(), nullptr) !=
      reg::ERROR_SUCCESS)
    return false;
  const auto* data = reinterpret_cast<const uint8_t*>(e.value.c_str());
  const auto size = static_cast<reg::DWORD>(e.value.size() + 1);  // the terminating NUL belongs to a REG_SZ
  return registry.RegSetValueEx(key.get(), e.name, 0, reg::REG_SZ, data, size) == reg::ERROR_SUCCESS;
}

bool removeKey(reg::Registry& registry, const std::string& path) {
  const reg::LONG rc = registry.RegDeleteKey(reg::HKEY_CLASSES_ROOT, path);
  return rc == reg::ERROR_SUCCESS || rc == reg::ERROR_FILE_NOT_FOUND;
}

// TypeLib\{libid} holds one subkey per registered version; it goes only
// when ours was the last, so another version's registration survives.
bool removeTypeLibIfEmpty(reg::Registry& registry) {
  OpenKey key(registry);
  const reg::LONG rc = registry.RegOpenKeyEx(reg::HKEY_CLASSES_ROOT, typeLibKey(), 0, reg::KEY_READ, key.out());
  if (rc == reg::ERROR_FILE_NOT_FOUND) return true;
  if (rc != reg::ERROR_SUCCESS) return false;
  char name[256];
  reg::DWORD nameLen = sizeof name;
  const reg::LONG sub = registry.RegEnumKeyEx(key.get(), 0, name, &nameLen, nullptr, nullptr);
  nameLen = sizeof name;
  const reg::LONG val = registry.RegEnumValue(key.get(), 0, name, &nameLen, nullptr, nullptr, nullptr);
  if (sub == reg::ERROR_SUCCESS || val == reg::ERROR_SUCCESS) return true;  // still in use
  if (sub != reg::ERROR_NO_MORE_ITEMS || val != reg::ERROR_NO_MORE_ITEMS) return false;
  return removeKey(registry, typeLibKey());
}

// Runs `work` in one transaction on the registry of the program's machine,
// or of the machine the programs would choose when the program has none.
template <class Work>
PLINTH_HRESULT inTransaction(Work&& work) {
  try {
    auto run = [&](reg::Registry& registry, const tw::Machine& machine) {
      return registry.transaction([&] { return work(registry, machine); }) ? PLINTH_S_OK : PLINTH_SELFREG_E_CLASS;
    };
    if (tw::Host* host = tw::Host::process()) return run(host->registry(), host->machine());
    std::vector<std::string> noArguments;
    const tw::Machine machine = tw::Machine::open(tw::Machine::chooseRoot(noArguments));
    reg::Registry registry(machine.hiveFile());
    return run(registry, machine);
  } catch (const std::bad_alloc&) {
    return PLINTH_E_OUTOFMEMORY;
  } catch (...) {
    return PLINTH_SELFREG_E_CLASS;
  }
}

PLINTH_HRESULT createInstance(const PlinthClassFactory*, PlinthObject** object) { return plinth_create(object); }

PLINTH_HRESULT lockServer(const PlinthClassFactory*, int32_t lock) {
  if (lock) {
    ++g_locks;
    return PLINTH_S_OK;
  }
  long held = g_locks.load();
  do {
    if (held <= 0) return PLINTH_E_UNEXPECTED;
  } while (!g_locks.compare_exchange_weak(held, held - 1));
  return PLINTH_S_OK;
}

const PlinthClassFactory g_factory = {createInstance, lockServer};

}  // namespace

extern "C" {

PLINTH_HRESULT DllRegisterServer(void) {
  return inTransaction([](reg::Registry& registry, const tw::Machine& machine) {
    for (const Entry& e : entries(machine))
      if (!write(registry, e)) return false;
    return true;
  });
}

PLINTH_HRESULT DllUnregisterServer(void) {
  return inTransaction([](reg::Registry& registry, const tw::Machine&) {
    return removeKey(registry, clsidKey()) && removeKey(registry, kProgId) && removeKey(registry, interfaceKey()) &&
           removeKey(registry, typeLibKey() + "\\1.0") && removeTypeLibIfEmpty(registry);
  });
}

PLINTH_HRESULT DllGetClassObject(const PlinthGuid* rclsid, const PlinthGuid* riid, void** ppv) {
  if (!ppv) return PLINTH_E_POINTER;
  *ppv = nullptr;
  if (!rclsid || !riid) return PLINTH_E_INVALIDARG;
  if (!sameGuid(*rclsid, PLINTH_CLSID_Plinth)) return PLINTH_CLASS_E_CLASSNOTAVAILABLE;
  if (!sameGuid(*riid, PLINTH_IID_IClassFactory) && !sameGuid(*riid, PLINTH_IID_IUnknown)) return PLINTH_E_NOINTERFACE;
  // COM hands interfaces out as untyped pointers; the caller knows the type
  // from riid.  The factory itself is never written through.
  *ppv = const_cast<PlinthClassFactory*>(&g_factory);
  return PLINTH_S_OK;
}

PLINTH_HRESULT DllCanUnloadNow(void) {
  return plinth_can_unload_now() == PLINTH_S_OK && g_locks.load() == 0 ? PLINTH_S_OK : PLINTH_S_FALSE;
}

}  // extern "C"
