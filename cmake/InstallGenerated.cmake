# Run by `cmake --install` (and by CPack's staging install): writes the files that name installed
# paths for the prefix being installed to. Expects the VEDOZER_* variables set by cmake/Install.cmake.
set(_prefix "${CMAKE_INSTALL_PREFIX}")
string(REGEX REPLACE "/+$" "" _prefix "${_prefix}")
# /usr keeps its settings in /etc; any other prefix keeps them inside it.
if(_prefix STREQUAL "/usr")
  set(_etc "/etc")
else()
  set(_etc "${_prefix}/etc")
endif()
set(VEDOZER_BIN_DIR "${_prefix}/${VEDOZER_BINDIR}")
set(VEDOZER_SHARE_DIR "${_prefix}/${VEDOZER_DATADIR}/vedozer")
set(VEDOZER_SYSCONF_DIR "${_etc}")

# The man pages carry the date of the sources: SOURCE_DATE_EPOCH when set, else the last commit's.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C "${VEDOZER_SOURCE_DIR}" log -1 --format=%ct
                  OUTPUT_VARIABLE _epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE _git)
  if(_git EQUAL 0 AND _epoch MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} "${_epoch}")
  endif()
endif()
string(TIMESTAMP VEDOZER_MAN_DATE "%Y-%m-%d" UTC)

set(_out "${VEDOZER_STAGING_DIR}")
file(REMOVE_RECURSE "${_out}")
file(MAKE_DIRECTORY "${_out}/man")
foreach(page vedozer vedozer-defserver)
  configure_file("${VEDOZER_SOURCE_DIR}/man/${page}.1" "${_out}/man/${page}.1" @ONLY)
  # -n: no name or time stamp in the gzip header, so two builds give the same bytes.
  execute_process(COMMAND gzip -9nf "${_out}/man/${page}.1" RESULT_VARIABLE _gz)
  if(NOT _gz EQUAL 0)
    message(FATAL_ERROR "gzip failed on the man page ${page}.1")
  endif()
endforeach()
configure_file("${VEDOZER_SOURCE_DIR}/packaging/debian/vedozer-defserver.service.in"
               "${_out}/vedozer-defserver.service" @ONLY)
configure_file("${VEDOZER_SOURCE_DIR}/packaging/debian/vedozer-defserver.default.in"
               "${_out}/vedozer-defserver" @ONLY)

file(INSTALL DESTINATION "${_prefix}/${VEDOZER_MANDIR}/man1" TYPE FILE
     FILES "${_out}/man/vedozer.1.gz" "${_out}/man/vedozer-defserver.1.gz")
file(INSTALL DESTINATION "${_prefix}/lib/systemd/system" TYPE FILE FILES "${_out}/vedozer-defserver.service")
file(INSTALL DESTINATION "${_etc}/default" TYPE FILE FILES "${_out}/vedozer-defserver")
