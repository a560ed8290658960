/* The C interface used from C itself: the header must compile as C and its
 * entry points must be callable from C. */
#include <string.h>

#include "syslib/interface/plinth_c.h"

/* INIRead's 260 characters through a C caller. */
int plinth_c_ini_read_length(PlinthObject* object, size_t* length) {
  PlinthString out = {NULL, 0};
  PLINTH_HRESULT hr = plinth_INIRead(object, "vcache", PLINTH_NTS, "MinFileCache", PLINTH_NTS, "0", PLINTH_NTS,
                                     "System.ini", PLINTH_NTS, &out);
  if (PLINTH_FAILED(hr)) return 0;
  *length = out.length;
  plinth_string_free(&out);
  return out.data == NULL;
}
