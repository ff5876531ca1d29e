# Profile-guided optimisation of the checker.
#
# Nearly all of vorpak's time goes to a few table-driven loops (the lexical
# stages' step loop, the parser's), whose branches the compiler can only
# guess. With the counts of a run it lays them out far better: the common
# path falls through, the rare ones move aside. So with -DVORPAK_PGO=ON an
# optimised GCC build first builds an instrumented vorpak (a nested build of
# this same tree, in <build>/profile/build), runs it on the listings of
# tests/corpus in every dialect, and then compiles the checker's code with
# the counts it wrote (<build>/profile/data). The training runs again only
# when the instrumented vorpak or the listings change. Other compilers,
# unoptimised builds and the sanitizer build never use it.
#
# It is off by default: it doubles the time of a first build for a checker
# a few per cent faster on long listings, while a listing of a few
# kilobytes is checked in milliseconds either way. Packagers turn it on.
#
# vorpak_profiled(<target>...) names the targets whose code is compiled
# with the counts (and, in the nested build, instrumented); the counts of
# each object are found by its path below the build folder, which is the
# same in both builds. vorpak_profiled(GENERATED <target>...) names targets
# whose sources are partly generated in the build folder: the counts of a
# function from such a source do not match it (they are told apart by the
# source's path, which differs between the builds), and are left unused.
# Those are table-filling functions, which run once.

set(VORPAK_PROFILE_GENERATE "" CACHE PATH
    "Instrument the checker, writing its counts to this folder (set by the nested build)")
mark_as_advanced(VORPAK_PROFILE_GENERATE)

option(VORPAK_PGO "Profile-guided optimisation of the optimised GCC builds" OFF)
set(vorpak_pgo OFF)
if(VORPAK_PGO AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND NOT VORPAK_SANITIZE
   AND NOT CMAKE_CROSSCOMPILING AND NOT VORPAK_PROFILE_GENERATE
   AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
  include(CheckCXXCompilerFlag)
  # Where the counts of an object are kept is told by its path with the
  # build folder taken off, so that the two builds agree.
  check_cxx_compiler_flag(-fprofile-prefix-path=${CMAKE_BINARY_DIR} vorpak_profile_prefix)
  if(vorpak_profile_prefix)
    set(vorpak_pgo ON)
  endif()
endif()

# What this build is in fact, whatever VORPAK_PGO says and whether the
# build type is the default one: bench/ reads these to name the build it
# measures.
set(VORPAK_PGO_IN_USE ${vorpak_pgo} CACHE INTERNAL "The checker is compiled with profile counts")
set(VORPAK_BUILD_TYPE_IN_USE "${CMAKE_BUILD_TYPE}" CACHE INTERNAL "The build type")

set(vorpak_profile_dir ${CMAKE_BINARY_DIR}/profile)

if(vorpak_pgo)
  include(ExternalProject)
  set(nested ${vorpak_profile_dir}/build)
  set(nested_vorpak ${nested}/main/vorpak${CMAKE_EXECUTABLE_SUFFIX})
  set(nested_args
      -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
      -DCMAKE_CXX_COMPILER=${CMAKE_CXX_COMPILER}
      -DVORPAK_TESTS=OFF
      -DVORPAK_PGO=OFF
      -DVORPAK_PROFILE_GENERATE=${vorpak_profile_dir}/data)
  # The nested build compiles as this one does.
  foreach(var CMAKE_CXX_FLAGS CMAKE_CXX_FLAGS_${CMAKE_BUILD_TYPE} CMAKE_EXE_LINKER_FLAGS
              CMAKE_INTERPROCEDURAL_OPTIMIZATION)
    string(TOUPPER ${var} var)
    if(DEFINED ${var})
      list(APPEND nested_args "-D${var}=${${var}}")
    endif()
  endforeach()
  ExternalProject_Add(vorpak_profile_build
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${nested}
    CMAKE_ARGS ${nested_args}
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${nested_vorpak}
    INSTALL_COMMAND "")
  file(GLOB_RECURSE training CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/tests/corpus/applesoft/* ${PROJECT_SOURCE_DIR}/tests/corpus/uk101/*)
  add_custom_command(
    OUTPUT ${vorpak_profile_dir}/trained
    COMMAND ${CMAKE_COMMAND} -DVORPAK=${nested_vorpak} -DDATA=${vorpak_profile_dir}/data
            -DCORPUS=${PROJECT_SOURCE_DIR}/tests/corpus -DSTAMP=${vorpak_profile_dir}/trained
            -P ${PROJECT_SOURCE_DIR}/cmake/vorpak_train.cmake
    DEPENDS vorpak_profile_build ${nested_vorpak} ${training}
            ${PROJECT_SOURCE_DIR}/cmake/vorpak_train.cmake
    COMMENT "Training vorpak for profile-guided optimisation"
    VERBATIM)
  add_custom_target(vorpak_profile DEPENDS ${vorpak_profile_dir}/trained)
endif()

function(vorpak_profiled)
  set(mismatch)
  foreach(t ${ARGN})
    if(t STREQUAL "GENERATED")
      set(mismatch -Wno-coverage-mismatch)
      continue()
    endif()
    if(VORPAK_PROFILE_GENERATE)
      target_compile_options(${t} PRIVATE -fprofile-generate=${VORPAK_PROFILE_GENERATE}
                             -fprofile-update=single -fprofile-prefix-path=${CMAKE_BINARY_DIR})
      get_target_property(type ${t} TYPE)
      if(type STREQUAL "EXECUTABLE")
        target_link_options(${t} PRIVATE -fprofile-generate)
      endif()
    elseif(vorpak_pgo)
      # Code that the training does not run (the FSA engine, the rarest
      # error paths) has no counts: it is compiled as without them.
      target_compile_options(${t} PRIVATE -fprofile-use=${vorpak_profile_dir}/data
                             -fprofile-prefix-path=${CMAKE_BINARY_DIR} -Wno-missing-profile
                             ${mismatch})
      add_dependencies(${t} vorpak_profile)
    endif()
  endforeach()
endfunction()
