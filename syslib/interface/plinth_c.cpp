// The C entry points of Plinth: argument checks and conversions around the
// C++ methods, which do the work and report their own errors.

#include "syslib/interface/plinth_c.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "host/host.h"
#include "syslib/plinth.h"

// The identities are fixed for good: the library and the programs built
// against it must agree on them.
extern "C" {
const PlinthGuid PLINTH_CLSID_Plinth = {0x0D6D8D46, 0x47B4, 0x41BF, {0x8D, 0xDC, 0xE9, 0xA1, 0x9E, 0x69, 0x14, 0x26}};
const PlinthGuid PLINTH_IID__Plinth = {0x96608622, 0x9569, 0x4223, {0x8A, 0x6D, 0xB7, 0xA4, 0x3D, 0x14, 0x3B, 0xC5}};
const PlinthGuid PLINTH_LIBID_PlinthDll = {0xE09FD7C9, 0xF211, 0x4F90, {0x9D, 0x30, 0x99, 0xCC, 0xFF, 0x55, 0x40, 0x55}};
}

namespace {

// The C enumerations are the same numbers as the class's own.
constexpr bool same(int32_t a, int32_t b) { return a == b; }
static_assert(same(PLINTH_HKEY_CLASSES_ROOT, tw::HKEY_CLASSES_ROOT) && same(PLINTH_HKEY_DYN_DATA, tw::HKEY_DYN_DATA));
static_assert(same(PLINTH_HKEY_LOCAL_MACHINE, tw::HKEY_LOCAL_MACHINE));
static_assert(same(PLINTH_reg_sz, tw::reg_sz) && same(PLINTH_REG_BINARY, tw::REG_BINARY) &&
              same(PLINTH_REG_DWORD, tw::REG_DWORD));

std::atomic<long> g_objects{0};
thread_local std::string g_lastError;

// Boxes of an object with a machine of its own go to the caller's handler.
class CallbackDialogs : public tw::Dialogs {
 public:
  int msgBox(const std::string& text, int style, const std::string& title) override {
    if (!handler_) return tw::defaultAnswer(style);
    return handler_(context_, text.c_str(), style, title.c_str());
  }
  void set(PlinthMessageBoxHandler handler, void* context) {
    handler_ = handler;
    context_ = context;
  }

 private:
  PlinthMessageBoxHandler handler_ = nullptr;
  void* context_ = nullptr;
};

}  // namespace

struct PlinthObject {
  std::atomic<uint32_t> refs{1};
  std::shared_ptr<CallbackDialogs> dialogs;  // set when the object owns its host
  std::unique_ptr<tw::Host> ownHost;
  std::unique_ptr<tw::Plinth> plinth;
};

namespace {

// An argument string: NULL is the null string.
tw::BStr text(const char* s, size_t length) {
  if (!s) return tw::BStr::null();
  return tw::BStr(std::string(s, length == PLINTH_NTS ? std::strlen(s) : length));
}

PLINTH_HRESULT giveString(const std::string& s, PlinthString* out) {
  char* data = static_cast<char*>(std::malloc(s.size() + 1));
  if (!data) return PLINTH_E_OUTOFMEMORY;
  std::memcpy(data, s.data(), s.size());
  data[s.size()] = '\0';
  out->data = data;
  out->length = s.size();
  return PLINTH_S_OK;
}

int16_t variantBool(bool b) { return b ? PLINTH_TRUE : PLINTH_FALSE; }

// A Variant going in; false for a type this interface does not carry.
bool takeVariant(const PlinthVariant* in, tw::Variant& out) {
  if (!in) {
    out = tw::Variant::missing();
    return true;
  }
  switch (in->vt) {
    case PLINTH_VT_EMPTY: out = tw::Variant(); return true;
    case PLINTH_VT_NULL: out = tw::Variant::null(); return true;
    case PLINTH_VT_I2: out = tw::Variant(in->u.iVal); return true;
    case PLINTH_VT_I4: out = tw::Variant(in->u.lVal); return true;
    case PLINTH_VT_R8: out = tw::Variant(in->u.dblVal); return true;
    case PLINTH_VT_BOOL: out = tw::Variant(in->u.boolVal != 0); return true;
    case PLINTH_VT_ERROR: out = tw::Variant::error(in->u.scode); return true;
    case PLINTH_VT_UI1: out = tw::Variant(in->u.bVal); return true;
    case PLINTH_VT_BSTR:
      if (!in->str.data && in->str.length != 0) return false;
      out = tw::Variant(in->str.data ? std::string(in->str.data, in->str.length) : std::string());
      return true;
    default: return false;
  }
}

PLINTH_HRESULT giveVariant(const tw::Variant& v, PlinthVariant* out) {
  PlinthVariant r{};
  switch (v.type()) {
    case tw::VarType::Empty: r.vt = PLINTH_VT_EMPTY; break;
    case tw::VarType::Null: r.vt = PLINTH_VT_NULL; break;
    case tw::VarType::Integer: r.vt = PLINTH_VT_I2; r.u.iVal = v.toInteger(); break;
    case tw::VarType::Long: r.vt = PLINTH_VT_I4; r.u.lVal = v.toLong(); break;
    case tw::VarType::Double: r.vt = PLINTH_VT_R8; r.u.dblVal = v.toDouble(); break;
    case tw::VarType::Boolean: r.vt = PLINTH_VT_BOOL; r.u.boolVal = variantBool(v.toBool()); break;
    case tw::VarType::Error: r.vt = PLINTH_VT_ERROR; r.u.scode = v.asErrorCode(); break;
    case tw::VarType::Byte: r.vt = PLINTH_VT_UI1; r.u.bVal = static_cast<uint8_t>(v.toLong()); break;
    case tw::VarType::String:
      r.vt = PLINTH_VT_BSTR;
      if (PLINTH_HRESULT hr = giveString(v.asString(), &r.str); hr != PLINTH_S_OK) return hr;
      break;
  }
  *out = r;
  return PLINTH_S_OK;
}

// Runs one entry point: a null object is the caller's mistake, and nothing
// thrown may cross into a C caller.
template <class Body>
PLINTH_HRESULT call(PlinthObject* object, Body&& body) {
  if (!object || !object->plinth) return PLINTH_E_POINTER;
  try {
    return body(*object->plinth);
  } catch (const std::bad_alloc&) {
    return PLINTH_E_OUTOFMEMORY;
  } catch (...) {
    return PLINTH_E_UNEXPECTED;
  }
}

PLINTH_HRESULT create(std::unique_ptr<tw::Host> ownHost, std::shared_ptr<CallbackDialogs> dialogs,
                      PlinthObject** object) {
  auto o = std::make_unique<PlinthObject>();
  tw::Host* host = ownHost ? ownHost.get() : tw::Host::process();
  o->plinth = std::make_unique<tw::Plinth>(*host);
  o->ownHost = std::move(ownHost);
  o->dialogs = std::move(dialogs);
  *object = o.release();
  ++g_objects;
  return PLINTH_S_OK;
}

PLINTH_HRESULT createOwning(const std::filesystem::path& root, PlinthObject** object) {
  try {
    auto dialogs = std::make_shared<CallbackDialogs>();
    auto host = std::make_unique<tw::Host>(root, dialogs);
    g_lastError.clear();
    return create(std::move(host), std::move(dialogs), object);
  } catch (const std::bad_alloc&) {
    g_lastError = "out of memory";
    return PLINTH_E_OUTOFMEMORY;
  } catch (const std::exception& e) {
    g_lastError = e.what();
    return PLINTH_E_FAIL;
  } catch (...) {
    g_lastError = "the machine could not be opened";
    return PLINTH_E_FAIL;
  }
}

}  // namespace

extern "C" {

const char* plinth_version(void) { return PLINTH_VERSION; }

void plinth_string_free(PlinthString* s) {
  if (!s) return;
  std::free(s->data);
  s->data = nullptr;
  s->length = 0;
}

void plinth_variant_clear(PlinthVariant* v) {
  if (!v) return;
  if (v->vt == PLINTH_VT_BSTR) plinth_string_free(&v->str);
  *v = PlinthVariant{};
}

PLINTH_HRESULT plinth_create(PlinthObject** object) {
  if (!object) return PLINTH_E_POINTER;
  *object = nullptr;
  if (tw::Host::process()) {
    try {
      g_lastError.clear();
      return create(nullptr, nullptr, object);
    } catch (const std::bad_alloc&) {
      return PLINTH_E_OUTOFMEMORY;
    } catch (...) {
      return PLINTH_E_UNEXPECTED;
    }
  }
  std::vector<std::string> noArguments;
  return createOwning(tw::Machine::chooseRoot(noArguments), object);
}

PLINTH_HRESULT plinth_create_on_machine(const char* root, size_t root_length, PlinthObject** object) {
  if (!object) return PLINTH_E_POINTER;
  *object = nullptr;
  if (!root) return PLINTH_E_POINTER;
  const std::string path(root, root_length == PLINTH_NTS ? std::strlen(root) : root_length);
  if (path.empty() || path.find('\0') != std::string::npos) {
    g_lastError = "the machine folder must be a non-empty path";
    return PLINTH_E_INVALIDARG;
  }
  return createOwning(path, object);
}

const char* plinth_last_error_message(void) { return g_lastError.c_str(); }

uint32_t plinth_add_ref(PlinthObject* object) { return object ? ++object->refs : 0; }

uint32_t plinth_release(PlinthObject* object) {
  if (!object) return 0;
  const uint32_t left = --object->refs;
  if (left == 0) {
    delete object;
    --g_objects;
  }
  return left;
}

PLINTH_HRESULT plinth_can_unload_now(void) { return g_objects.load() == 0 ? PLINTH_S_OK : PLINTH_S_FALSE; }

PLINTH_HRESULT plinth_set_message_box_handler(PlinthObject* object, PlinthMessageBoxHandler handler, void* context) {
  if (!object) return PLINTH_E_POINTER;
  if (!object->dialogs) return PLINTH_E_INVALIDARG;
  object->dialogs->set(handler, context);
  return PLINTH_S_OK;
}

PLINTH_HRESULT plinth_ExitWindowsMsgBox(PlinthObject* object, int32_t Operation, int32_t hWndOwner,
                                        const char* ExtraText, size_t ExtraText_length, int32_t* result) {
  if (!result) return PLINTH_E_POINTER;
  return call(object, [&](tw::Plinth& p) {
    *result = p.ExitWindowsMsgBox(Operation, hWndOwner, text(ExtraText, ExtraText_length));
    return PLINTH_S_OK;
  });
}

PLINTH_HRESULT plinth_WriteValue(PlinthObject* object, int32_t hkey, const char* subdir, size_t subdir_length,
                                 const char* KeyName, size_t KeyName_length, const PlinthVariant* vWriteThis,
                                 int32_t ldValueDataType, const PlinthVariant* Multi_SZ_AddtlStrings,
                                 int16_t* result) {
  if (!result) return PLINTH_E_POINTER;
  return call(object, [&](tw::Plinth& p) {
    tw::Variant value, extra;
    if (!vWriteThis) return PLINTH_E_POINTER;
    if (!takeVariant(vWriteThis, value) || !takeVariant(Multi_SZ_AddtlStrings, extra))
      return PLINTH_DISP_E_TYPEMISMATCH;
    *result = variantBool(p.WriteValue(static_cast<tw::HKeys>(hkey), text(subdir, subdir_length),
                                       text(KeyName, KeyName_length), value,
                                       static_cast<tw::lDataType>(ldValueDataType), extra));
    return PLINTH_S_OK;
  });
}

PLINTH_HRESULT plinth_DeleteKey(PlinthObject* object, int32_t hkey, const char* subdir, size_t subdir_length,
                                int16_t* result) {
  if (!result) return PLINTH_E_POINTER;
  return call(object, [&](tw::Plinth& p) {
    *result = variantBool(p.DeleteKey(static_cast<tw::HKeys>(hkey), text(subdir, subdir_length)));
    return PLINTH_S_OK;
  });
}

PLINTH_HRESULT plinth_DeleteValue(PlinthObject* object, int32_t hkey, const char* subdir, size_t subdir_length,
                                  const char* KeyName, size_t KeyName_length, int16_t* result) {
  if (!result) return PLINTH_E_POINTER;
  return call(object, [&](tw::Plinth& p) {
    *result = variantBool(
        p.DeleteValue(static_cast<tw::HKeys>(hkey), text(subdir, subdir_length), text(KeyName, KeyName_length)));
    return PLINTH_S_OK;
  });
}

PLINTH_HRESULT plinth_GetValue(PlinthObject* object, int32_t hkey, const char* subdir, size_t subdir_length,
                               const char* KeyName, size_t KeyName_length, const PlinthVariant* Default,
                               int16_t Translate, PlinthVariant* result) {
  if (!result) return PLINTH_E_POINTER;
  return call(object, [&](tw::Plinth& p) {
    tw::Variant fallback;
    if (!takeVariant(Default, fallback)) return PLINTH_DISP_E_TYPEMISMATCH;
    return giveVariant(p.GetValue(static_cast<tw::HKeys>(hkey), text(subdir, subdir_length),
                                  text(KeyName, KeyName_length), fallback, Translate != 0),
                       result);
  });
}

PLINTH_HRESULT plinth_INIRead(PlinthObject* object, const char* AppName, size_t AppName_length, const char* KeyName,
                              size_t KeyName_length, const char* Default, size_t Default_length,
                              const char* INIFilePath, size_t INIFilePath_length, PlinthString* result) {
  if (!result) return PLINTH_E_POINTER;
  return call(object, [&](tw::Plinth& p) {
    return giveString(p.INIRead(text(AppName, AppName_length), text(KeyName, KeyName_length),
                                text(Default, Default_length), text(INIFilePath, INIFilePath_length)),
                      result);
  });
}

PLINTH_HRESULT plinth_INIWrite(PlinthObject* object, const char* AppName, size_t AppName_length, const char* KeyName,
                               size_t KeyName_length, const char* Value, size_t Value_length,
                               const char* INIFilePath, size_t INIFilePath_length) {
  return call(object, [&](tw::Plinth& p) {
    p.INIWrite(text(AppName, AppName_length), text(KeyName, KeyName_length), text(Value, Value_length),
               text(INIFilePath, INIFilePath_length));
    return PLINTH_S_OK;
  });
}

PLINTH_HRESULT plinth_INISectionWrite(PlinthObject* object, const char* AppName, size_t AppName_length,
                                      const char* KeyName, size_t KeyName_length, const char* INIFilePath,
                                      size_t INIFilePath_length) {
  return call(object, [&](tw::Plinth& p) {
    p.INISectionWrite(text(AppName, AppName_length), text(KeyName, KeyName_length),
                      text(INIFilePath, INIFilePath_length));
    return PLINTH_S_OK;
  });
}

PLINTH_HRESULT plinth_INISectionRead(PlinthObject* object, const char* Returnedstring, size_t Returnedstring_length,
                                     const char* INIFilePath, size_t INIFilePath_length, PlinthString* result) {
  if (!result) return PLINTH_E_POINTER;
  return call(object, [&](tw::Plinth& p) {
    return giveString(
        p.INISectionRead(text(Returnedstring, Returnedstring_length), text(INIFilePath, INIFilePath_length)), result);
  });
}

#define TW_DOUBLE_METHOD(name)                                 \
  PLINTH_HRESULT plinth_##name(PlinthObject* object, double* result) { \
    if (!result) return PLINTH_E_POINTER;                      \
    return call(object, [&](tw::Plinth& p) {                   \
      *result = p.name();                                      \
      return PLINTH_S_OK;                                      \
    });                                                        \
  }
TW_DOUBLE_METHOD(AvailablePhysicalMemory)
TW_DOUBLE_METHOD(TotalPhysicalMemory)
TW_DOUBLE_METHOD(AvailablePageFile)
TW_DOUBLE_METHOD(PageFileSize)
#undef TW_DOUBLE_METHOD

PLINTH_HRESULT plinth_GetCPUUsage(PlinthObject* object, int32_t* result) {
  if (!result) return PLINTH_E_POINTER;
  return call(object, [&](tw::Plinth& p) {
    *result = p.GetCPUUsage();
    return PLINTH_S_OK;
  });
}

#define TW_GAUGE_METHOD(name)                                                       \
  PLINTH_HRESULT plinth_##name(PlinthObject* object, int16_t* Percnt, int32_t* result) { \
    if (!Percnt || !result) return PLINTH_E_POINTER;                                \
    return call(object, [&](tw::Plinth& p) {                                        \
      *result = p.name(*Percnt);                                                    \
      return PLINTH_S_OK;                                                           \
    });                                                                             \
  }
TW_GAUGE_METHOD(HardDrive)
TW_GAUGE_METHOD(CacheSize)
TW_GAUGE_METHOD(PhysicalMemory)
TW_GAUGE_METHOD(PageSize)
#undef TW_GAUGE_METHOD

PLINTH_HRESULT plinth_Resources(PlinthObject* object, int16_t* Sys, int16_t* Use, int16_t* GDI) {
  if (!Sys || !Use || !GDI) return PLINTH_E_POINTER;
  return call(object, [&](tw::Plinth& p) {
    p.Resources(*Sys, *Use, *GDI);
    return PLINTH_S_OK;
  });
}

PLINTH_HRESULT plinth_SystemMemory(PlinthObject* object, int16_t* Percnt, PlinthVariant* result) {
  if (!Percnt || !result) return PLINTH_E_POINTER;
  return call(object, [&](tw::Plinth& p) { return giveVariant(p.SystemMemory(*Percnt), result); });
}

#define TW_STRING_METHOD(name)                                                \
  PLINTH_HRESULT plinth_##name(PlinthObject* object, PlinthString* result) { \
    if (!result) return PLINTH_E_POINTER;                                     \
    return call(object, [&](tw::Plinth& p) { return giveString(p.name(), result); }); \
  }
TW_STRING_METHOD(OSVersion)
TW_STRING_METHOD(ProcessorType)
TW_STRING_METHOD(GetCPUspeedX)
TW_STRING_METHOD(GetPCname)
#undef TW_STRING_METHOD

PLINTH_HRESULT plinth_OpenSite(PlinthObject* object, const char* strWebsite, size_t strWebsite_length) {
  return call(object, [&](tw::Plinth& p) {
    p.OpenSite(text(strWebsite, strWebsite_length));
    return PLINTH_S_OK;
  });
}

PLINTH_HRESULT plinth_FindRegKeyString(PlinthObject* object, int32_t hkey, const char* subdir, size_t subdir_length,
                                       const char* key, size_t key_length, PlinthString* result) {
  if (!result) return PLINTH_E_POINTER;
  return call(object, [&](tw::Plinth& p) {
    return giveString(
        p.FindRegKeyString(static_cast<tw::HKeys>(hkey), text(subdir, subdir_length), text(key, key_length)), result);
  });
}

const PlinthVtbl* plinth_vtbl(void) {
  static const PlinthVtbl table = {
      plinth_ExitWindowsMsgBox, plinth_WriteValue,          plinth_DeleteKey,         plinth_DeleteValue,
      plinth_GetValue,          plinth_INIRead,             plinth_INIWrite,          plinth_INISectionWrite,
      plinth_INISectionRead,    plinth_AvailablePhysicalMemory, plinth_TotalPhysicalMemory, plinth_AvailablePageFile,
      plinth_PageFileSize,      plinth_GetCPUUsage,         plinth_HardDrive,         plinth_CacheSize,
      plinth_Resources,         plinth_PhysicalMemory,      plinth_SystemMemory,      plinth_PageSize,
      plinth_OSVersion,         plinth_ProcessorType,       plinth_GetCPUspeedX,      plinth_GetPCname,
      plinth_OpenSite,          plinth_FindRegKeyString,
  };
  return &table;
}

const char* plinth_slot_name(int slot) {
  static const char* const kNames[] = {
      "ExitWindowsMsgBox",   "WriteValue",     "DeleteKey",      "DeleteValue",     "GetValue",
      "INIRead",             "INIWrite",       "INISectionWrite", "INISectionRead", "AvailablePhysicalMemory",
      "TotalPhysicalMemory", "AvailablePageFile", "PageFileSize", "GetCPUUsage",     "HardDrive",
      "CacheSize",           "Resources",      "PhysicalMemory", "SystemMemory",    "PageSize",
      "OSVersion",           "ProcessorType",  "GetCPUspeedX",   "GetPCname",       "OpenSite",
      "FindRegKeyString",
  };
  return slot >= 1 && slot <= 26 ? kNames[slot - 1] : nullptr;
}

}  // extern "C"
