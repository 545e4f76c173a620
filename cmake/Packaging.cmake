# The Debian package (cpack -G DEB in the build folder): everything cmake/Install.cmake lays
# down, under /usr, with its shared-library dependencies computed by dpkg-shlibdeps and the
# definition server's user made by the maintainer scripts in packaging/debian.
# Two packages made from one commit are alike: CPack stamps every file with SOURCE_DATE_EPOCH,
# which the project config below takes from the commit when it is not given.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vedozer)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "${VEDOZER_COMPANY_NAME}")
set(CPACK_PACKAGE_CONTACT "${VEDOZER_COMPANY_NAME} <packages@vedozer.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "definition-based adware and spyware scanner for offline Windows installations")
# The summary is the synopsis line; this is the text below it.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
       "vedozer scans a mounted Windows disk, or any folder laid out like one, against definition files\n"
       "(registry keys and values, files, folders, executables, tracking-cookie sites), removes what it\n"
       "finds into a quarantine, and keeps its definitions current through Live Update.\n"
       "vedozer-defserver is the reference definition server. Its systemd service is installed but\n"
       "not enabled.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VEDOZER_WEBSITE}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# useradd and groupadd for the service's user.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "passwd")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# Install with DESTDIR so that the /etc file lands in /etc and the generated files see /usr.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/packages)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/cpack)
configure_file(packaging/debian/conffiles ${CMAKE_BINARY_DIR}/debian/conffiles COPYONLY)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_SOURCE_DIR}/packaging/debian/postinst ${CMAKE_SOURCE_DIR}/packaging/debian/prerm
    ${CMAKE_SOURCE_DIR}/packaging/debian/postrm ${CMAKE_BINARY_DIR}/debian/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
configure_file(cmake/CPackProjectConfig.cmake.in ${CMAKE_BINARY_DIR}/CPackProjectConfig.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackProjectConfig.cmake)
include(CPack)
