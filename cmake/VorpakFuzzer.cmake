# vorpak_add_fuzzer(TARGET SOURCE LIBRARY...): a libFuzzer target, made with
# clang only and where its fuzzer runtime links. For coverage the whole tree
# is compiled with -fsanitize=fuzzer-no-link (see .ci/run); the target adds
# the fuzzer's main and the sanitizers. Elsewhere it is left out.
function(vorpak_add_fuzzer target source)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    return()
  endif()
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_FLAGS -fsanitize=fuzzer)
  check_cxx_source_compiles(
    "#include <cstddef>
     #include <cstdint>
     extern \"C\" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }"
    VORPAK_HAVE_LIBFUZZER)
  if(VORPAK_HAVE_LIBFUZZER)
    add_executable(${target} ${source})
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${target} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${target} PRIVATE ${ARGN})
  endif()
endfunction()
