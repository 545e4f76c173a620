# Windows build (MinGW-w64 cross build, see cmake/mingw-w64-x86_64.cmake): the engine with the
# win32 backend, vedozer.exe and the tests that make sense on Windows. Included from the top
# level only when building for Windows.
enable_language(RC)
include(${CMAKE_CURRENT_LIST_DIR}/WindowsInstaller.cmake)
find_package(Threads REQUIRED)

# CLI11 is header-only; Debian's copy serves the cross build too. It is reached through a link
# so that no other host header lands on the cross compiler's include path.
set(_cli11_dir ${CMAKE_BINARY_DIR}/cli11)
if(NOT EXISTS ${_cli11_dir}/CLI)
  find_path(VEDOZER_CLI11_INCLUDE CLI/CLI.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  file(MAKE_DIRECTORY ${_cli11_dir})
  file(CREATE_LINK ${VEDOZER_CLI11_INCLUDE}/CLI ${_cli11_dir}/CLI SYMBOLIC)
endif()
add_library(vedozer_cli11 INTERFACE)
target_include_directories(vedozer_cli11 SYSTEM INTERFACE ${_cli11_dir})
add_library(CLI11::CLI11 ALIAS vedozer_cli11)

# No Unicode entry points: the program works in the ANSI code page like its definitions.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

configure_file(${CMAKE_SOURCE_DIR}/cmake/VersionResource.rc.in ${CMAKE_BINARY_DIR}/generated/VersionResource.rc
               @ONLY)

function(vedozer_windows_targets)
  file(GLOB _w CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/win32/*.cpp)
  add_library(vedozer_win32 STATIC ${_w})
  target_include_directories(vedozer_win32 PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(vedozer_win32 PUBLIC vedozer_base vedozer_i18n
                        advapi32 shlwapi shell32 ole32 psapi wininet version)

  file(GLOB _cli CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/cli/*.cpp)
  # The demo builds an offline image with the image backend's hive writer: Linux only.
  list(FILTER _cli EXCLUDE REGEX "/Demo[^/]*\\.cpp$")
  # The advice for a --target that is no drive root uses the image backend's drive-root rule
  # (portable: std::filesystem only).
  list(APPEND _cli ${CMAKE_SOURCE_DIR}/src/platform/image/DriveRoots.cpp)
  add_executable(vedozer ${_cli} ${CMAKE_BINARY_DIR}/generated/VersionResource.rc)
  target_link_libraries(vedozer PRIVATE vedozer_engine vedozer_win32 CLI11::CLI11)

  vedozer_windows_gui()
endfunction()

# vedozer-gui.exe: the desktop application, native Win32 views over the presenters. Its
# resources take the icons the artwork target renders and the version resource from the build's
# identity; Unicode entry points throughout (the engine's Windows-1252 texts are converted at the
# views' edge).
function(vedozer_windows_gui)
  if(NOT VEDOZER_HAVE_ARTWORK)
    message(STATUS "vedozer-gui.exe needs the artwork tools; not built")
    return()
  endif()
  file(GLOB _gui CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/ui/win32/*.cpp)
  list(FILTER _gui EXCLUDE REGEX "/WinMain\\.cpp$")
  set(_rc ${CMAKE_SOURCE_DIR}/src/ui/win32/vedozer-gui.rc)
  # The views as a library, so their tests link the same code the program runs.
  add_library(vedozer_win32ui STATIC ${_gui})
  target_include_directories(vedozer_win32ui PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_compile_definitions(vedozer_win32ui PUBLIC UNICODE _UNICODE)
  target_link_libraries(vedozer_win32ui PUBLIC vedozer_engine vedozer_win32 comctl32 uxtheme gdi32 user32 shell32)
  add_executable(vedozer-gui WIN32 ${CMAKE_SOURCE_DIR}/src/ui/win32/WinMain.cpp ${_rc})
  target_link_options(vedozer-gui PRIVATE -municode)
  target_link_libraries(vedozer-gui PRIVATE vedozer_win32ui)
  add_dependencies(vedozer-gui vedozer_artwork)
  # The resource compiler finds the icons, the manifest and the version block by these folders.
  set_property(SOURCE ${_rc} APPEND PROPERTY INCLUDE_DIRECTORIES
               ${CMAKE_SOURCE_DIR}/src/ui/win32 ${VEDOZER_ARTWORK_DIR} ${CMAKE_BINARY_DIR}/generated)
  set_property(SOURCE ${_rc} APPEND PROPERTY OBJECT_DEPENDS
               ${CMAKE_SOURCE_DIR}/src/ui/win32/Resource.h ${CMAKE_SOURCE_DIR}/src/ui/win32/vedozer-gui.manifest
               ${VEDOZER_ARTWORK_DIR}/vedozer.ico)
  vedozer_windows_installer()
endfunction()

# Test sources that need the Linux backend, its image builders or POSIX calls stay out.
set(VEDOZER_LINUX_ONLY_TEST
    "platform/image/|sodium\\.h|HiveBuilder\\.h|DefServerProcess\\.h|ScanImage\\.h|ShieldImage\\.h|RunningProgram\\.h|RemovalImage\\.h|RemovalSession\\.h|<unistd\\.h>|<sys/")
set(VEDOZER_WINDOWS_TEST_DIRS definitions i18n settings report scan removal update submit protection win32)

if(VEDOZER_BUILD_TESTS)
  enable_testing()  # here, at the top directory's scope: ctest reads it from there
endif()

function(vedozer_windows_tests)
  # GoogleTest from Debian's sources, built with the cross compiler.
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

  file(GLOB _support CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
  set(_portable)
  foreach(f ${_support})
    file(READ ${f} _text)
    if(NOT _text MATCHES "${VEDOZER_LINUX_ONLY_TEST}|hivex|httplib")
      list(APPEND _portable ${f})
    endif()
  endforeach()
  add_library(vedozer_testsupport STATIC ${_portable})
  target_include_directories(vedozer_testsupport PUBLIC ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(vedozer_testsupport PUBLIC vedozer_base gtest)

  foreach(name ${VEDOZER_WINDOWS_TEST_DIRS})
    file(GLOB _t CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${name}/*.cpp)
    set(_keep)
    foreach(f ${_t})
      file(READ ${f} _text)
      if(name STREQUAL "win32" OR NOT _text MATCHES "${VEDOZER_LINUX_ONLY_TEST}")
        list(APPEND _keep ${f})
      endif()
    endforeach()
    if(NOT _keep)
      continue()
    endif()
    add_executable(test_${name} ${_keep})
    # As on Linux: a module's tests link that module (and what it uses) only.
    set(_lib vedozer_engine)
    if(TARGET vedozer_${name} AND NOT name STREQUAL "win32")
      set(_lib vedozer_${name})
    endif()
    target_link_libraries(test_${name} PRIVATE ${_lib} vedozer_win32 vedozer_testsupport gtest_main)
    if(name STREQUAL "win32")
      target_link_libraries(test_${name} PRIVATE ws2_32)  # a hostile server inside the test
    endif()
    target_compile_definitions(test_${name} PRIVATE
      VEDOZER_BINARY_DIR="${CMAKE_BINARY_DIR}" VEDOZER_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    # Each executable is one test here: starting Wine once per case would cost minutes.
    add_test(NAME test_${name} COMMAND test_${name})
    set_tests_properties(test_${name} PROPERTIES TIMEOUT 600)
  endforeach()

  # Programs the win32 tests plant and start.
  add_executable(vedozer_test_sleeper ${CMAKE_SOURCE_DIR}/tests/win32/helpers/Sleeper.cpp)
  add_library(vedozer_test_selfregister SHARED ${CMAKE_SOURCE_DIR}/tests/win32/helpers/SelfRegister.cpp)
  set_target_properties(vedozer_test_selfregister PROPERTIES PREFIX "")
  target_link_options(vedozer_test_selfregister PRIVATE -static)
  target_link_libraries(vedozer_test_selfregister PRIVATE advapi32)
  if(TARGET test_win32)
    add_dependencies(test_win32 vedozer vedozer_test_sleeper vedozer_test_selfregister)
  endif()

  # The driver of the desktop tests and screenshots; it knows the controls by the names of
  # the resource header.
  if(TARGET vedozer-gui)
    set(_header ${CMAKE_SOURCE_DIR}/src/ui/win32/Resource.h)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_header})
    file(STRINGS ${_header} _defines REGEX "^#define ID[CMD]_[A-Z0-9_]+ [0-9]+")
    set(_names "")
    foreach(d ${_defines})
      string(REGEX REPLACE "^#define ([A-Z0-9_]+) ([0-9]+).*" "{\"\\1\", \\2}," _entry "${d}")
      string(APPEND _names "${_entry}\n")
    endforeach()
    file(WRITE ${CMAKE_BINARY_DIR}/generated/ControlNames.inc.new "${_names}")
    configure_file(${CMAKE_BINARY_DIR}/generated/ControlNames.inc.new ${CMAKE_BINARY_DIR}/generated/ControlNames.inc
                   COPYONLY)
    file(GLOB _driver CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/gui/*.cpp)
    add_executable(vedozer_gui_driver ${_driver})
    target_include_directories(vedozer_gui_driver PRIVATE ${CMAKE_BINARY_DIR}/generated)
    target_compile_definitions(vedozer_gui_driver PRIVATE UNICODE _UNICODE)
    target_link_libraries(vedozer_gui_driver PRIVATE comctl32 user32 shell32)
    add_executable(vedozer_test_holdfile ${CMAKE_SOURCE_DIR}/tests/win32/helpers/HoldFile.cpp)
    target_link_options(vedozer_test_holdfile PRIVATE -municode)

    # The views' own machinery under Wine: templates, layout, message boxes, pumping.
    file(GLOB _uitests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/views/*.cpp)
    add_executable(test_win32gui ${_uitests} ${CMAKE_SOURCE_DIR}/src/ui/win32/vedozer-gui.rc)
    target_link_libraries(test_win32gui PRIVATE vedozer_win32ui vedozer_testsupport gtest_main)
    add_dependencies(test_win32gui vedozer_artwork)
    # Windows need a display: the test gets an Xvfb of its own.
    find_program(VEDOZER_XVFB_RUN xvfb-run)
    if(VEDOZER_XVFB_RUN AND VEDOZER_WINE)
      add_test(NAME test_win32gui COMMAND ${VEDOZER_XVFB_RUN} -a -s "-screen 0 1280x800x24" ${VEDOZER_WINE}
                                          $<TARGET_FILE:test_win32gui>)
      set_tests_properties(test_win32gui PROPERTIES TIMEOUT 300)
    endif()
  endif()
endfunction()
