# tw_add_areas(<folder>...): adds each listed folder (relative to the calling
# folder).  The windows and programs are optional; the tests and benchmarks
# of app/, ui/ and qt/ go with them.
function(tw_add_areas)
  foreach(area ${ARGN})
    if(NOT TW_BUILD_UI AND area MATCHES "^(app|ui|qt|uninstaller|tray)(/|$)")
      continue()
    endif()
    add_subdirectory(${area})
  endforeach()
endfunction()
