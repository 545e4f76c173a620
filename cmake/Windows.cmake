# Windows build (MinGW-w64 cross build, see cmake/mingw-w64-x86_64.cmake): the engine with the
# win32 backend, vedozer.exe and the tests that make sense on Windows. Included from the top
# level only when building for Windows.
enable_language(RC)
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
  add_executable(vedozer ${_cli} ${CMAKE_BINARY_DIR}/generated/VersionResource.rc)
  target_link_libraries(vedozer PRIVATE vedozer_engine vedozer_win32 CLI11::CLI11)
endfunction()

# Test sources that need the Linux backend, its image builders or POSIX calls stay out.
set(VEDOZER_LINUX_ONLY_TEST
    "platform/image/|HiveBuilder\\.h|DefServerProcess\\.h|ScanImage\\.h|ShieldImage\\.h|RunningProgram\\.h|RemovalImage\\.h|RemovalSession\\.h|<unistd\\.h>|<sys/")
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
endfunction()
