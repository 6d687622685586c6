if(LX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
# Fuzz builds instrument every library for coverage, so libFuzzer sees past the harness.
if(LX_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
