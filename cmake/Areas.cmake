# tw_add_areas(<glob>): adds every folder matching <glob> (relative to the
# calling folder) that has a CMakeLists.txt.  The windows and programs are
# optional; the tests and benchmarks of app/, ui/ and qt/ go with them.
function(tw_add_areas pattern)
  file(GLOB areas LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/${pattern})
  foreach(area ${areas})
    file(RELATIVE_PATH rel ${CMAKE_CURRENT_SOURCE_DIR} ${area})
    if(NOT TW_BUILD_UI AND rel MATCHES "^(app|ui|qt)(/|$)")
      continue()
    endif()
    if(IS_DIRECTORY ${area} AND EXISTS ${area}/CMakeLists.txt)
      add_subdirectory(${area})
    endif()
  endforeach()
endfunction()
