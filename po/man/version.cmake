# Puts the version into every translated man page, as configure_file does for the English one.
# cmake -DMAN_DIR=DIR -DPROJECT_VERSION=X.Y.Z -P version.cmake
file(GLOB _pages ${MAN_DIR}/*/lumcrest.6.in)
if(NOT _pages)
  message(FATAL_ERROR "no translated man page in ${MAN_DIR}")
endif()
foreach(_in IN LISTS _pages)
  string(REGEX REPLACE "\\.in$" "" _out ${_in})
  configure_file(${_in} ${_out} @ONLY)
endforeach()
