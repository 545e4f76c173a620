# What `cmake --install` lays down on Linux, and what the Debian package carries:
#   bin/vedozer, bin/vedozer-defserver
#   share/vedozer/Localization.txt (the programs look in ../share/vedozer from their own folder)
#   share/vedozer/defserver-repo/ (the example repository the service serves by default)
#   share/man/man1/*.1.gz, share/bash-completion/completions/*
#   lib/systemd/system/vedozer-defserver.service and etc/default/vedozer-defserver (/etc under /usr)
# vedozer-gui (Qt), its desktop entry and icons are installed by cmake/QtDesktop.cmake when built.
# The shipped definitions are compiled into vedozer; `vedozer init` writes them into a data folder.
# The man pages, the unit and its options file name installed paths, so they are written at
# install time for the prefix actually used (cmake --install --prefix, or the package's /usr).
include(GNUInstallDirs)

install(TARGETS vedozer vedozer-defserver RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/Localization.txt DESTINATION ${CMAKE_INSTALL_DATADIR}/vedozer)
install(DIRECTORY data/defserver-repo DESTINATION ${CMAKE_INSTALL_DATADIR}/vedozer)
install(FILES packaging/completion/vedozer packaging/completion/vedozer-defserver
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

install(CODE "
  set(VEDOZER_SOURCE_DIR \"${CMAKE_SOURCE_DIR}\")
  set(VEDOZER_STAGING_DIR \"${CMAKE_BINARY_DIR}/install-generated\")
  set(VEDOZER_VERSION \"${PROJECT_VERSION}\")
  set(VEDOZER_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
  set(VEDOZER_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
  set(VEDOZER_MANDIR \"${CMAKE_INSTALL_MANDIR}\")
  include(\"${CMAKE_SOURCE_DIR}/cmake/InstallGenerated.cmake\")
")
