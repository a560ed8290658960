# tw_order_shared_libraries(<target>): names the libraries a Qt program loads
# in the order the dynamic loader should search them.
#
# The loader resolves every symbol by searching the loaded libraries in
# order: the program's own list first, then what those need, level by
# level.  A Qt program makes some twelve thousand of these searches while it
# starts, and each passes every library ahead of the one that defines the
# symbol.  Left to the linker, the list starts with our own libraries and
# the C library comes last, and the libraries Qt binds to most often after
# Qt itself (ICU, D-Bus, systemd, HarfBuzz, X11 ...) sit thirty or forty
# places down, behind ones that are rarely asked.  Named here, most searches
# end in the first few places: about 1.4 million fewer instructions before
# the first window (counted with callgrind; LD_DEBUG=bindings shows where
# the symbols are found).
#
# Only libraries the program loads anyway are named: each of Qt's own
# dependencies is taken from Qt's libraries as installed here, read with
# readelf, and left out when Qt does not depend on it.

# The libraries in the order of how often Qt's start-up finds a symbol in
# them, most often first.
set(TW_LIBRARY_SEARCH_ORDER
    Qt6Core stdc++ Qt6Gui c icuuc dbus-1 Qt6Widgets Qt6DBus systemd harfbuzz X11 png16 freetype
    zstd b2 m md lzma gcc_s)

# The files of the libraries that `files` depend on, directly or through
# one another, where they can be found.
function(_tw_needed_closure out)
  set(queue ${ARGN})
  set(seen_files "")
  set(sonames "")
  set(found "")
  set(dirs ${CMAKE_CXX_IMPLICIT_LINK_DIRECTORIES})
  foreach(f ${ARGN})
    get_filename_component(d ${f} DIRECTORY)
    list(APPEND dirs ${d})
  endforeach()
  while(queue)
    list(POP_FRONT queue file)
    if(file IN_LIST seen_files)
      continue()
    endif()
    list(APPEND seen_files ${file})
    execute_process(COMMAND ${CMAKE_READELF} -d ${file} OUTPUT_VARIABLE dynamic ERROR_QUIET RESULT_VARIABLE failed)
    if(failed)
      continue()
    endif()
    string(REGEX MATCHALL "\\(NEEDED\\)[^\n]*\\[([^]\n]+)\\]" lines "${dynamic}")
    foreach(line ${lines})
      string(REGEX REPLACE ".*\\[([^]]+)\\].*" "\\1" soname "${line}")
      if(soname IN_LIST sonames)
        continue()
      endif()
      list(APPEND sonames ${soname})
      foreach(d ${dirs})
        if(EXISTS ${d}/${soname})
          list(APPEND queue ${d}/${soname})
          list(APPEND found ${d}/${soname})
          break()
        endif()
      endforeach()
    endforeach()
  endwhile()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

function(tw_order_shared_libraries target)
  set(qt_files "")
  foreach(module Core Gui Widgets)
    get_target_property(location Qt6::${module} LOCATION)
    list(APPEND qt_files ${location})
  endforeach()
  set(closure "")
  if(CMAKE_READELF)
    _tw_needed_closure(closure ${qt_files})
    # Read again when Qt changes, so that no library it no longer needs is
    # named.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${qt_files})
  endif()

  set(order "")
  foreach(name ${TW_LIBRARY_SEARCH_ORDER})
    set(qt_target "")
    if(name MATCHES "^Qt6(.*)$")
      set(qt_target Qt6::${CMAKE_MATCH_1})
    endif()
    if(qt_target AND TARGET ${qt_target})
      list(APPEND order $<TARGET_FILE:${qt_target}>)
    elseif(name STREQUAL "stdc++" OR name STREQUAL "gcc_s")
      list(APPEND order -l${name})
    elseif(name STREQUAL "c" OR name STREQUAL "m")
      # By file: -lc and -lm name linker scripts, which leave the libraries
      # at the end.
      list(APPEND order -l:lib${name}.so.6)
    else()
      # By path, so that the linker finds it wherever Qt's loader would.
      foreach(file ${closure})
        get_filename_component(soname ${file} NAME)
        if(soname MATCHES "^lib${name}\\.so\\.")
          list(APPEND order ${file})
          break()
        endif()
      endforeach()
    endif()
  endforeach()
  # CMake orders the libraries by their dependencies, so these are named
  # ahead of everything on the linker's command line, and kept even where
  # the program calls nothing of them itself.
  target_link_options(${target} PRIVATE LINKER:--push-state,--no-as-needed ${order} LINKER:--pop-state)
endfunction()
