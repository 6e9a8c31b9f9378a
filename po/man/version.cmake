# Puts the version into every translated man page, as configure_file does for the English one, and
# fails when po4a left a language out (its catalogue no longer whole after a change of the page).
# cmake -DMAN_DIR=DIR -DLANGUAGES=de,fr,... -DPROJECT_VERSION=X.Y.Z -P version.cmake
string(REPLACE "," ";" _languages "${LANGUAGES}")
foreach(_lang IN LISTS _languages)
  set(_in ${MAN_DIR}/${_lang}/lumcrest.6.in)
  if(NOT EXISTS ${_in})
    message(FATAL_ERROR "no ${_lang} man page: po/man/${_lang}.po is not whole "
                        "(po4a --no-translations po/man/po4a.cfg, then translate)")
  endif()
  configure_file(${_in} ${MAN_DIR}/${_lang}/lumcrest.6 @ONLY)
endforeach()
