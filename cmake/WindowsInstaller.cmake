# The Windows installer (target "installer", not built by default): makensis, as Debian's nsis
# package ships it, packs vedozer-gui.exe, vedozer.exe, Localization.txt and the shipped definition
# files (written by vedozer_embed --files, the same encoding the programs embed) into
# vedozer-<version>-setup.exe in the build folder. See packaging/windows/vedozer.nsi.in.
function(vedozer_windows_installer)
  find_program(VEDOZER_MAKENSIS makensis)
  if(NOT VEDOZER_MAKENSIS OR NOT TARGET vedozer-gui)
    message(STATUS "makensis or vedozer-gui missing: no installer target")
    return()
  endif()
  set(VEDOZER_INSTALLER_DEFS ${CMAKE_BINARY_DIR}/installer/definitions)
  set(VEDOZER_INSTALLER_FILE ${CMAKE_BINARY_DIR}/vedozer-${PROJECT_VERSION}-setup.exe)
  set(VEDOZER_WIN_BUILD_DIR ${CMAKE_BINARY_DIR})
  set(_defs)
  foreach(src ${SHIPPED_DATA})
    get_filename_component(_name ${src} NAME_WE)
    list(APPEND _defs ${VEDOZER_INSTALLER_DEFS}/${_name}.dat)
  endforeach()
  add_custom_command(OUTPUT ${_defs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VEDOZER_INSTALLER_DEFS}
    COMMAND vedozer_embed --files ${VEDOZER_INSTALLER_DEFS} ${SHIPPED_DATA}
    DEPENDS vedozer_embed ${SHIPPED_DATA}
    COMMENT "Writing the shipped definition files for the installer")
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/vedozer.nsi.in ${CMAKE_BINARY_DIR}/installer/vedozer.nsi @ONLY)
  add_custom_command(OUTPUT ${VEDOZER_INSTALLER_FILE}
    COMMAND ${VEDOZER_MAKENSIS} -V2 ${CMAKE_BINARY_DIR}/installer/vedozer.nsi
    DEPENDS vedozer vedozer-gui ${_defs} ${CMAKE_BINARY_DIR}/installer/vedozer.nsi
            ${CMAKE_SOURCE_DIR}/data/Localization.txt ${VEDOZER_ARTWORK_DIR}/vedozer.ico
    COMMENT "Making the installer with makensis")
  add_custom_target(installer DEPENDS ${VEDOZER_INSTALLER_FILE})
endfunction()
