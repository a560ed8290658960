# AddressSanitizer and UndefinedBehaviorSanitizer for the test build.  Every
# finding stops the program, so that a test that meets one fails instead of
# printing a line nobody reads.  "undefined" includes the null-pointer checks
# on arguments declared never null (memcpy's source, even for no bytes).
if(TW_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# The fuzzing build: our code carries libFuzzer's coverage hooks and both
# sanitizers; only the harnesses link libFuzzer itself (fuzz/CMakeLists.txt).
if(TW_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
