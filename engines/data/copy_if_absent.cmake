# cmake -DSOURCE=... -DDEST=... -P copy_if_absent.cmake: copies only when DEST is missing.
if(NOT EXISTS "${DEST}")
  get_filename_component(dir "${DEST}" DIRECTORY)
  file(COPY "${SOURCE}" DESTINATION "${dir}")
endif()
