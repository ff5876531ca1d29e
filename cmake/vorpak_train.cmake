# cmake -DVORPAK=<instrumented vorpak> -DDATA=<counts folder> -DCORPUS=<tests/corpus>
#       -DSTAMP=<file> -P vorpak_train.cmake
#
# The training run of profile-guided optimisation: the instrumented vorpak
# checks every listing of the corpus in each dialect it may be read in, the
# Applesoft ones as typed (-fixed) and with spaces (-free), the UK-101 ones
# as such. The counts start afresh, so that none are left from an older
# build of a changed source. The diagnostics that the listings draw go
# nowhere; a run fails only when it does not finish (a crash, or no end
# within ten minutes).
foreach(var VORPAK DATA CORPUS STAMP)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "vorpak_train.cmake: ${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE ${DATA})
file(MAKE_DIRECTORY ${DATA})
file(GLOB applesoft ${CORPUS}/applesoft/*)
file(GLOB uk101 ${CORPUS}/uk101/*)
foreach(run "-fixed;applesoft" "-free;applesoft" "-uk101;uk101")
  list(GET run 0 option)
  list(GET run 1 listings)
  execute_process(COMMAND ${VORPAK} ${option} ${${listings}}
                  RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET TIMEOUT 600)
  if(NOT status MATCHES "^[0-9]+$")
    message(FATAL_ERROR "training vorpak ${option}: ${status}")
  endif()
endforeach()
file(TOUCH ${STAMP})
