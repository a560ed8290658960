# tw_shared_library(<target>): where every shared library of ours is built:
# in one folder, beside the others, so that the programs and tests run from
# the build tree find them all in one place.
function(tw_shared_library target)
  set_target_properties(${target} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib)
endfunction()
