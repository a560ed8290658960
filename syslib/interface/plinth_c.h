/* The class Plinth for callers in any language that can call C.
 *
 * Every method of the class has one entry point, plinth_<Method>, named
 * exactly as the method.  Each returns a status (PLINTH_S_OK, or a failure
 * code below) and hands the method's own result back through its last
 * parameter.  Status codes report misuse of this interface (a null object, a
 * null result pointer, an unknown Variant type); what goes wrong inside a
 * method is reported the way the method reports it: by its result, and by
 * the message box "<number> <description> in Plinth.<method>".
 *
 * Strings are UTF-8.  A string going in is a pointer and a length in bytes;
 * PLINTH_NTS as the length means "up to the first NUL", and a NULL pointer
 * is the null string, which some methods treat differently from an empty
 * one (INIWrite removes a key when Value is null).  Strings may hold NUL
 * characters (INIRead returns 260 characters padded with NULs;
 * INISectionWrite takes key=value lines each ended by a NUL).  A string
 * coming out is a PlinthString that the caller owns and releases with
 * plinth_string_free; its data is also NUL-terminated after `length` bytes.
 *
 * Optional parameters: a NULL Variant pointer is an omitted argument; the
 * other optional parameters have the documented defaults, which the caller
 * passes (ExitWindowsMsgBox: Operation 2, hWndOwner 0, ExtraText "";
 * GetValue: Translate 0).
 *
 * Booleans are 16-bit: -1 (PLINTH_TRUE) and 0 (PLINTH_FALSE).
 *
 * The interface is single-threaded, like the class: one object is used by
 * one thread at a time. */
#ifndef PLINTH_C_H
#define PLINTH_C_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define PLINTH_API __declspec(dllexport)
#else
#define PLINTH_API __attribute__((visibility("default")))
#endif

/* ---- Status codes (negative: failure) ---------------------------------- */

typedef int32_t PLINTH_HRESULT;

#ifdef __cplusplus
#define PLINTH_CAST_(type, x) static_cast<type>(x)
#else
#define PLINTH_CAST_(type, x) ((type)(x))
#endif

#define PLINTH_S_OK PLINTH_CAST_(PLINTH_HRESULT, 0)
#define PLINTH_S_FALSE PLINTH_CAST_(PLINTH_HRESULT, 1)
#define PLINTH_E_UNEXPECTED PLINTH_CAST_(PLINTH_HRESULT, -2147418113)        /* 0x8000FFFF */
#define PLINTH_E_POINTER PLINTH_CAST_(PLINTH_HRESULT, -2147467261)           /* 0x80004003 */
#define PLINTH_E_FAIL PLINTH_CAST_(PLINTH_HRESULT, -2147467259)              /* 0x80004005 */
#define PLINTH_E_OUTOFMEMORY PLINTH_CAST_(PLINTH_HRESULT, -2147024882)       /* 0x8007000E */
#define PLINTH_E_INVALIDARG PLINTH_CAST_(PLINTH_HRESULT, -2147024809)        /* 0x80070057 */
#define PLINTH_DISP_E_TYPEMISMATCH PLINTH_CAST_(PLINTH_HRESULT, -2147352571) /* 0x80020005 */

#define PLINTH_SUCCEEDED(hr) (PLINTH_CAST_(PLINTH_HRESULT, hr) >= 0)
#define PLINTH_FAILED(hr) (PLINTH_CAST_(PLINTH_HRESULT, hr) < 0)

/* ---- Identity ------------------------------------------------------------ */

typedef struct PlinthGuid {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
} PlinthGuid;

/* The class, its default interface _Plinth and the library PlinthDll. */
#define PLINTH_CLSID_PLINTH_TEXT "{0D6D8D46-47B4-41BF-8DDC-E9A19E691426}"
#define PLINTH_IID_PLINTH_TEXT "{96608622-9569-4223-8A6D-B7A43D143BC5}"
#define PLINTH_LIBID_PLINTHDLL_TEXT "{E09FD7C9-F211-4F90-9D30-99CCFF554055}"
PLINTH_API extern const PlinthGuid PLINTH_CLSID_Plinth;
PLINTH_API extern const PlinthGuid PLINTH_IID__Plinth;
PLINTH_API extern const PlinthGuid PLINTH_LIBID_PlinthDll;

#define PLINTH_VERSION "1.00.0239"
/* The library's file and product version, PLINTH_VERSION. */
PLINTH_API const char* plinth_version(void);

/* ---- The enumerations of the interface ------------------------------------ */

/* HKeys: registry roots, passed on as the root handles. */
enum PlinthHKeys {
  PLINTH_HKEY_CLASSES_ROOT = -2147483647 - 1, /* 0x80000000 */
  PLINTH_HKEY_CURRENT_USER = -2147483647,
  PLINTH_HKEY_LOCAL_MACHINE = -2147483646,
  PLINTH_HKEY_USERS = -2147483645,
  PLINTH_HKEY_PERFORMANCE_DATA = -2147483644,
  PLINTH_HKEY_CURRENT_CONFIG = -2147483643,
  PLINTH_HKEY_DYN_DATA = -2147483642
};

/* lDataType: the registry's value types (reg_sz in lower case, as the
 * interface names it). */
enum PlinthDataType {
  PLINTH_REG_NONE = 0,
  PLINTH_reg_sz = 1,
  PLINTH_REG_EXPAND_SZ = 2,
  PLINTH_REG_BINARY = 3,
  PLINTH_REG_DWORD = 4,
  PLINTH_REG_DWORD_LITTLE_ENDIAN = 4
};

/* ---- Strings ------------------------------------------------------------- */

#define PLINTH_NTS SIZE_MAX

typedef struct PlinthString {
  char* data; /* NUL-terminated after `length` bytes; NULL when empty-handed */
  size_t length;
} PlinthString;

/* Releases a string the library returned and leaves it empty.  NULL and an
 * already released string are accepted. */
PLINTH_API void plinth_string_free(PlinthString* s);

/* ---- Variants -------------------------------------------------------------- */

#define PLINTH_FALSE PLINTH_CAST_(int16_t, 0)
#define PLINTH_TRUE PLINTH_CAST_(int16_t, -1)

/* The type codes are the platform's own Variant type numbers. */
enum PlinthVarType {
  PLINTH_VT_EMPTY = 0,
  PLINTH_VT_NULL = 1,
  PLINTH_VT_I2 = 2,     /* 16-bit integer: u.iVal */
  PLINTH_VT_I4 = 3,     /* 32-bit integer: u.lVal */
  PLINTH_VT_R8 = 5,     /* double: u.dblVal */
  PLINTH_VT_BSTR = 8,   /* string: str */
  PLINTH_VT_ERROR = 10, /* error value: u.scode (448: an omitted argument) */
  PLINTH_VT_BOOL = 11,  /* u.boolVal, PLINTH_TRUE or PLINTH_FALSE */
  PLINTH_VT_UI1 = 17    /* byte: u.bVal */
};

typedef struct PlinthVariant {
  uint16_t vt;
  union {
    int16_t iVal;
    int32_t lVal;
    double dblVal;
    int16_t boolVal;
    int32_t scode;
    uint8_t bVal;
  } u;
  PlinthString str;
} PlinthVariant;

/* Releases what a Variant returned by the library holds and makes it Empty. */
PLINTH_API void plinth_variant_clear(PlinthVariant* v);

/* ---- Objects ------------------------------------------------------------- */

typedef struct PlinthObject PlinthObject;

/* Creates an object with one reference.  It works on the machine of the
 * calling program when the program has set one up; otherwise on the machine
 * the programs would choose ($TUNEWELL_MACHINE, else the default machine),
 * which this object then opens for itself. */
PLINTH_API PLINTH_HRESULT plinth_create(PlinthObject** object);
/* Creates an object that opens the machine in the folder `root` for itself. */
PLINTH_API PLINTH_HRESULT plinth_create_on_machine(const char* root, size_t root_length, PlinthObject** object);
/* Why the last plinth_create* of this thread failed ("" when none did). */
PLINTH_API const char* plinth_last_error_message(void);

/* Reference counting; the object is destroyed when its count reaches 0.
 * Both return the new count. */
PLINTH_API uint32_t plinth_add_ref(PlinthObject* object);
PLINTH_API uint32_t plinth_release(PlinthObject* object);

/* PLINTH_S_OK when no object is alive (the library may be unloaded),
 * PLINTH_S_FALSE otherwise. */
PLINTH_API PLINTH_HRESULT plinth_can_unload_now(void);

/* Message boxes of an object that opened its own machine go to this handler,
 * which returns the button pressed (1 OK, 2 Cancel, 6 Yes, 7 No ...).
 * Without a handler every box is answered with its default button.
 * PLINTH_E_INVALIDARG for an object that works on the calling program's
 * machine: its boxes belong to the program. */
typedef int32_t (*PlinthMessageBoxHandler)(void* context, const char* text, int32_t style, const char* title);
PLINTH_API PLINTH_HRESULT plinth_set_message_box_handler(PlinthObject* object, PlinthMessageBoxHandler handler,
                                                         void* context);

/* ---- The methods, in the interface's slot order --------------------------- */

/*  1 */ PLINTH_API PLINTH_HRESULT plinth_ExitWindowsMsgBox(PlinthObject* object, int32_t Operation, int32_t hWndOwner,
                                                            const char* ExtraText, size_t ExtraText_length,
                                                            int32_t* result);
/*  2 */ PLINTH_API PLINTH_HRESULT plinth_WriteValue(PlinthObject* object, int32_t hkey, const char* subdir,
                                                     size_t subdir_length, const char* KeyName, size_t KeyName_length,
                                                     const PlinthVariant* vWriteThis, int32_t ldValueDataType,
                                                     const PlinthVariant* Multi_SZ_AddtlStrings, int16_t* result);
/*  3 */ PLINTH_API PLINTH_HRESULT plinth_DeleteKey(PlinthObject* object, int32_t hkey, const char* subdir,
                                                    size_t subdir_length, int16_t* result);
/*  4 */ PLINTH_API PLINTH_HRESULT plinth_DeleteValue(PlinthObject* object, int32_t hkey, const char* subdir,
                                                      size_t subdir_length, const char* KeyName,
                                                      size_t KeyName_length, int16_t* result);
/*  5 */ PLINTH_API PLINTH_HRESULT plinth_GetValue(PlinthObject* object, int32_t hkey, const char* subdir,
                                                   size_t subdir_length, const char* KeyName, size_t KeyName_length,
                                                   const PlinthVariant* Default, int16_t Translate,
                                                   PlinthVariant* result);
/*  6 */ PLINTH_API PLINTH_HRESULT plinth_INIRead(PlinthObject* object, const char* AppName, size_t AppName_length,
                                                  const char* KeyName, size_t KeyName_length, const char* Default,
                                                  size_t Default_length, const char* INIFilePath,
                                                  size_t INIFilePath_length, PlinthString* result);
/*  7 */ PLINTH_API PLINTH_HRESULT plinth_INIWrite(PlinthObject* object, const char* AppName, size_t AppName_length,
                                                   const char* KeyName, size_t KeyName_length, const char* Value,
                                                   size_t Value_length, const char* INIFilePath,
                                                   size_t INIFilePath_length);
/*  8 */ PLINTH_API PLINTH_HRESULT plinth_INISectionWrite(PlinthObject* object, const char* AppName,
                                                          size_t AppName_length, const char* KeyName,
                                                          size_t KeyName_length, const char* INIFilePath,
                                                          size_t INIFilePath_length);
/*  9 */ PLINTH_API PLINTH_HRESULT plinth_INISectionRead(PlinthObject* object, const char* Returnedstring,
                                                         size_t Returnedstring_length, const char* INIFilePath,
                                                         size_t INIFilePath_length, PlinthString* result);
/* 10 */ PLINTH_API PLINTH_HRESULT plinth_AvailablePhysicalMemory(PlinthObject* object, double* result);
/* 11 */ PLINTH_API PLINTH_HRESULT plinth_TotalPhysicalMemory(PlinthObject* object, double* result);
/* 12 */ PLINTH_API PLINTH_HRESULT plinth_AvailablePageFile(PlinthObject* object, double* result);
/* 13 */ PLINTH_API PLINTH_HRESULT plinth_PageFileSize(PlinthObject* object, double* result);
/* 14 */ PLINTH_API PLINTH_HRESULT plinth_GetCPUUsage(PlinthObject* object, int32_t* result);
/* Percnt goes in and out: it keeps its value when the method fails. */
/* 15 */ PLINTH_API PLINTH_HRESULT plinth_HardDrive(PlinthObject* object, int16_t* Percnt, int32_t* result);
/* 16 */ PLINTH_API PLINTH_HRESULT plinth_CacheSize(PlinthObject* object, int16_t* Percnt, int32_t* result);
/* 17 */ PLINTH_API PLINTH_HRESULT plinth_Resources(PlinthObject* object, int16_t* Sys, int16_t* Use, int16_t* GDI);
/* 18 */ PLINTH_API PLINTH_HRESULT plinth_PhysicalMemory(PlinthObject* object, int16_t* Percnt, int32_t* result);
/* 19 */ PLINTH_API PLINTH_HRESULT plinth_SystemMemory(PlinthObject* object, int16_t* Percnt, PlinthVariant* result);
/* 20 */ PLINTH_API PLINTH_HRESULT plinth_PageSize(PlinthObject* object, int16_t* Percnt, int32_t* result);
/* 21 */ PLINTH_API PLINTH_HRESULT plinth_OSVersion(PlinthObject* object, PlinthString* result);
/* 22 */ PLINTH_API PLINTH_HRESULT plinth_ProcessorType(PlinthObject* object, PlinthString* result);
/* 23 */ PLINTH_API PLINTH_HRESULT plinth_GetCPUspeedX(PlinthObject* object, PlinthString* result);
/* 24 */ PLINTH_API PLINTH_HRESULT plinth_GetPCname(PlinthObject* object, PlinthString* result);
/* 25 */ PLINTH_API PLINTH_HRESULT plinth_OpenSite(PlinthObject* object, const char* strWebsite,
                                                   size_t strWebsite_length);
/* 26 */ PLINTH_API PLINTH_HRESULT plinth_FindRegKeyString(PlinthObject* object, int32_t hkey, const char* subdir,
                                                           size_t subdir_length, const char* key, size_t key_length,
                                                           PlinthString* result);

/* The interface as a table of the 26 entry points in slot order, for callers
 * that bind by slot rather than by name. */
typedef struct PlinthVtbl {
  PLINTH_HRESULT (*ExitWindowsMsgBox)(PlinthObject*, int32_t, int32_t, const char*, size_t, int32_t*);
  PLINTH_HRESULT (*WriteValue)(PlinthObject*, int32_t, const char*, size_t, const char*, size_t, const PlinthVariant*,
                               int32_t, const PlinthVariant*, int16_t*);
  PLINTH_HRESULT (*DeleteKey)(PlinthObject*, int32_t, const char*, size_t, int16_t*);
  PLINTH_HRESULT (*DeleteValue)(PlinthObject*, int32_t, const char*, size_t, const char*, size_t, int16_t*);
  PLINTH_HRESULT (*GetValue)(PlinthObject*, int32_t, const char*, size_t, const char*, size_t, const PlinthVariant*,
                             int16_t, PlinthVariant*);
  PLINTH_HRESULT (*INIRead)(PlinthObject*, const char*, size_t, const char*, size_t, const char*, size_t, const char*,
                            size_t, PlinthString*);
  PLINTH_HRESULT (*INIWrite)(PlinthObject*, const char*, size_t, const char*, size_t, const char*, size_t,
                             const char*, size_t);
  PLINTH_HRESULT (*INISectionWrite)(PlinthObject*, const char*, size_t, const char*, size_t, const char*, size_t);
  PLINTH_HRESULT (*INISectionRead)(PlinthObject*, const char*, size_t, const char*, size_t, PlinthString*);
  PLINTH_HRESULT (*AvailablePhysicalMemory)(PlinthObject*, double*);
  PLINTH_HRESULT (*TotalPhysicalMemory)(PlinthObject*, double*);
  PLINTH_HRESULT (*AvailablePageFile)(PlinthObject*, double*);
  PLINTH_HRESULT (*PageFileSize)(PlinthObject*, double*);
  PLINTH_HRESULT (*GetCPUUsage)(PlinthObject*, int32_t*);
  PLINTH_HRESULT (*HardDrive)(PlinthObject*, int16_t*, int32_t*);
  PLINTH_HRESULT (*CacheSize)(PlinthObject*, int16_t*, int32_t*);
  PLINTH_HRESULT (*Resources)(PlinthObject*, int16_t*, int16_t*, int16_t*);
  PLINTH_HRESULT (*PhysicalMemory)(PlinthObject*, int16_t*, int32_t*);
  PLINTH_HRESULT (*SystemMemory)(PlinthObject*, int16_t*, PlinthVariant*);
  PLINTH_HRESULT (*PageSize)(PlinthObject*, int16_t*, int32_t*);
  PLINTH_HRESULT (*OSVersion)(PlinthObject*, PlinthString*);
  PLINTH_HRESULT (*ProcessorType)(PlinthObject*, PlinthString*);
  PLINTH_HRESULT (*GetCPUspeedX)(PlinthObject*, PlinthString*);
  PLINTH_HRESULT (*GetPCname)(PlinthObject*, PlinthString*);
  PLINTH_HRESULT (*OpenSite)(PlinthObject*, const char*, size_t);
  PLINTH_HRESULT (*FindRegKeyString)(PlinthObject*, int32_t, const char*, size_t, const char*, size_t, PlinthString*);
} PlinthVtbl;

PLINTH_API const PlinthVtbl* plinth_vtbl(void);
/* The method in a slot (1 to 26), NULL for any other number. */
PLINTH_API const char* plinth_slot_name(int slot);

#ifdef __cplusplus
}
#endif

#endif /* PLINTH_C_H */
