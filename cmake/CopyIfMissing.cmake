# cmake -DSOURCE=... -DTARGET=... -P CopyIfMissing.cmake
# Copies SOURCE to TARGET unless TARGET exists: a settings file the user
# already has is never replaced.
if(NOT EXISTS "${TARGET}")
  configure_file("${SOURCE}" "${TARGET}" COPYONLY)
endif()
