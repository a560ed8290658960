# tw_shared_library(<target>): what every shared library of ours is linked
# with, for the programs that load it to start sooner.
#
# - Its calls to its own functions are bound when it is linked.  By default
#   every call between two of its exported functions goes through the
#   dynamic linker, which looks the name up through some fifty libraries
#   the first time each is called: several hundred look-ups during the
#   tuner's start-up.  Nothing replaces our functions from outside.
# - It is built into one folder with the others.  The loader looks in each
#   folder of a program's run path for every library the program needs, the
#   system's too, before it asks its cache: with the two libraries in two
#   folders, some sixty failed look-ups at each start of a program run from
#   the build tree; in one folder, half as many.
function(tw_shared_library target)
  target_link_options(${target} PRIVATE -Wl,-Bsymbolic-functions)
  set_target_properties(${target} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib)
endfunction()
