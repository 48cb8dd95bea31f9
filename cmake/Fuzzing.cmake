# VX_FUZZ builds the libFuzzer targets of tests/fuzz/. It needs clang, and instruments
# all of our code for coverage so that the fuzzers see its branches. With VX_SANITIZE
# memory errors are caught as well:
#   cmake -S . -B build-fuzz -G Ninja -DCMAKE_C_COMPILER=clang-14 \
#         -DCMAKE_CXX_COMPILER=clang++-14 -DVX_FUZZ=ON -DVX_SANITIZE=ON -DVX_BUILD_UI=OFF
option(VX_FUZZ "Build the libFuzzer targets in tests/fuzz (needs clang)" OFF)
if(VX_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang" OR NOT CMAKE_C_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VX_FUZZ needs clang: configure with -DCMAKE_C_COMPILER=clang-14 "
                        "-DCMAKE_CXX_COMPILER=clang++-14")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
  add_link_options(-fsanitize=fuzzer-no-link)
endif()
