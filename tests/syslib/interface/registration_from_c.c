/* A C loader's road to an object: the class factory, then an instance. */
#include <stddef.h>

#include "syslib/interface/registration.h"

PLINTH_HRESULT plinth_c_create_through_factory(PlinthObject** object) {
  void* out = NULL;
  const PlinthClassFactory* factory;
  PLINTH_HRESULT hr = DllGetClassObject(&PLINTH_CLSID_Plinth, &PLINTH_IID_IClassFactory, &out);
  if (PLINTH_FAILED(hr)) return hr;
  factory = (const PlinthClassFactory*)out;
  return factory->CreateInstance(factory, object);
}
