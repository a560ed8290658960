/* The four entry points every self-registering in-process server has, under
 * the names a loader looks for: DllRegisterServer, DllUnregisterServer,
 * DllGetClassObject and DllCanUnloadNow.
 *
 * Registration works on the registry of the calling program's machine when
 * the program has set one up, otherwise on the machine the programs would
 * choose ($TUNEWELL_MACHINE, else the default machine).  It writes, under
 * HKEY_CLASSES_ROOT:
 *
 *   CLSID\{clsid}                    @ = "Plinth"
 *     InprocServer32                 @ = "<program folder>\Plinth.dll",
 *                                    ThreadingModel = "Apartment"
 *     ProgID                         @ = "PlinthDll.Plinth"
 *     TypeLib                        @ = "{libid}"
 *     VERSION                        @ = "1.0"
 *   PlinthDll.Plinth                 @ = "PlinthDll.Plinth"
 *     Clsid                          @ = "{clsid}"
 *   Interface\{iid}                  @ = "_Plinth"
 *     ProxyStubClsid32               @ = the standard dispatch proxy
 *     TypeLib                        @ = "{libid}", Version = "1.0"
 *   TypeLib\{libid}\1.0              @ = "PlinthDll"
 *     0\win32                        @ = "<program folder>\Plinth.dll"
 *     FLAGS                          @ = "0"
 *
 * all in one transaction: either every entry is there afterwards or the
 * registry is as it was.  All values are REG_SZ. */
#ifndef PLINTH_REGISTRATION_H
#define PLINTH_REGISTRATION_H

#include "syslib/interface/plinth_c.h"

#ifdef __cplusplus
extern "C" {
#endif

#define PLINTH_E_NOINTERFACE PLINTH_CAST_(PLINTH_HRESULT, -2147467262)              /* 0x80004002 */
#define PLINTH_CLASS_E_CLASSNOTAVAILABLE PLINTH_CAST_(PLINTH_HRESULT, -2147221231)  /* 0x80040111 */
#define PLINTH_SELFREG_E_CLASS PLINTH_CAST_(PLINTH_HRESULT, -2147220991)            /* 0x80040201 */

/* The interfaces DllGetClassObject hands out: the class factory and the
 * unknown interface every object has. */
#define PLINTH_IID_ICLASSFACTORY_TEXT "{00000001-0000-0000-C000-000000000046}"
#define PLINTH_IID_IUNKNOWN_TEXT "{00000000-0000-0000-C000-000000000046}"
PLINTH_API extern const PlinthGuid PLINTH_IID_IClassFactory;
PLINTH_API extern const PlinthGuid PLINTH_IID_IUnknown;

/* The class factory of Plinth.  There is one, owned by the library and valid
 * for as long as the library is loaded; it is not reference counted and is
 * never released. */
typedef struct PlinthClassFactory PlinthClassFactory;
struct PlinthClassFactory {
  /* Creates a Plinth object with one reference, exactly as plinth_create. */
  PLINTH_HRESULT (*CreateInstance)(const PlinthClassFactory* self, PlinthObject** object);
  /* A nonzero `lock` keeps the library loaded (DllCanUnloadNow answers
   * PLINTH_S_FALSE) until a matching call with 0 undoes it.  Undoing a lock
   * that was never taken is PLINTH_E_UNEXPECTED. */
  PLINTH_HRESULT (*LockServer)(const PlinthClassFactory* self, int32_t lock);
};

/* Writes the class's entries.  PLINTH_SELFREG_E_CLASS when the machine or
 * its registry cannot be opened or written; nothing is written then. */
PLINTH_API PLINTH_HRESULT DllRegisterServer(void);

/* Removes the keys DllRegisterServer writes, with everything below them, and
 * TypeLib\{libid} when no other version of the library is registered.  Keys
 * that are already gone are fine (PLINTH_S_OK).  PLINTH_SELFREG_E_CLASS when
 * the registry cannot be opened or written; nothing is removed then. */
PLINTH_API PLINTH_HRESULT DllUnregisterServer(void);

/* For rclsid = PLINTH_CLSID_Plinth and riid = PLINTH_IID_IClassFactory (or
 * PLINTH_IID_IUnknown), *ppv becomes the library's PlinthClassFactory.
 * Another class gives PLINTH_CLASS_E_CLASSNOTAVAILABLE, another interface
 * PLINTH_E_NOINTERFACE, a NULL identifier PLINTH_E_INVALIDARG; *ppv is NULL
 * after every failure. */
PLINTH_API PLINTH_HRESULT DllGetClassObject(const PlinthGuid* rclsid, const PlinthGuid* riid, void** ppv);

/* PLINTH_S_OK when no object is alive and the server is not locked (the
 * library may be unloaded), PLINTH_S_FALSE otherwise. */
PLINTH_API PLINTH_HRESULT DllCanUnloadNow(void);

#ifdef __cplusplus
}
#endif

#endif /* PLINTH_REGISTRATION_H */
