# vedozer-gui: the rescue desktop in Qt 6 Widgets, built when Qt 6 and the artwork tools are found.
# The views live in a library (vedozer_qtui) so the QTest suite and the screenshot tool drive the
# same windows as the program.
function(vedozer_qt_targets)
  find_package(Qt6 QUIET COMPONENTS Widgets Test)
  if(NOT Qt6_FOUND OR NOT VEDOZER_HAVE_ARTWORK)
    message(STATUS "Qt 6 Widgets or the artwork tools not found: vedozer-gui is not built")
    set(VEDOZER_HAVE_QT OFF PARENT_SCOPE)
    return()
  endif()
  set(VEDOZER_HAVE_QT ON PARENT_SCOPE)
  vedozer_glob(QT_SOURCES src/ui/qt/*.cpp)
  list(FILTER QT_SOURCES EXCLUDE REGEX "/src/ui/qt/main\\.cpp$")
  add_library(vedozer_qtui STATIC ${QT_SOURCES})
  target_include_directories(vedozer_qtui PUBLIC src)
  target_link_libraries(vedozer_qtui PUBLIC vedozer_engine vedozer_image Qt6::Widgets)
  # The engine has names Qt's keywords would take (Languages::slots()).
  target_compile_definitions(vedozer_qtui PUBLIC QT_NO_KEYWORDS)
  set_target_properties(vedozer_qtui PROPERTIES AUTOMOC OFF)

  # The artwork rendered by the build, compiled in.
  set(_art)
  foreach(size ${VEDOZER_ICON_SIZES})
    list(APPEND _art ${VEDOZER_ARTWORK_DIR}/vedozer-${size}.png)
  endforeach()
  foreach(kind ${VEDOZER_KIND_ICONS})
    foreach(size ${VEDOZER_KIND_SIZES})
      list(APPEND _art ${VEDOZER_ARTWORK_DIR}/kind-${kind}-${size}.png)
    endforeach()
  endforeach()
  set_source_files_properties(${_art} PROPERTIES GENERATED TRUE)
  add_dependencies(vedozer_qtui vedozer_artwork)
  qt_add_resources(vedozer_qtui "artwork" PREFIX "/artwork" BASE ${VEDOZER_ARTWORK_DIR} FILES ${_art})

  add_executable(vedozer-gui src/ui/qt/main.cpp)
  target_link_libraries(vedozer-gui PRIVATE vedozer_qtui)

  include(GNUInstallDirs)
  install(TARGETS vedozer-gui RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  configure_file(${CMAKE_SOURCE_DIR}/src/ui/qt/vedozer-gui.desktop.in ${CMAKE_BINARY_DIR}/vedozer-gui.desktop @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/vedozer-gui.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${VEDOZER_ARTWORK_DIR}/vedozer-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME vedozer-gui.png)
  endforeach()
  install(FILES src/ui/artwork/vedozer.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
          RENAME vedozer-gui.svg)
endfunction()

# The QTest suite on the offscreen platform, and the screenshot tool (run under Xvfb by
# tools/screenshots.sh).
function(vedozer_qt_tests)
  if(NOT VEDOZER_HAVE_QT)
    return()
  endif()
  vedozer_glob(QT_TEST_SOURCES tests/qt/*.cpp)
  list(FILTER QT_TEST_SOURCES EXCLUDE REGEX "/tests/qt/Screenshots\\.cpp$")
  add_executable(test_qt_desktop ${QT_TEST_SOURCES} src/cli/DemoImage.cpp)
  set_target_properties(test_qt_desktop PROPERTIES AUTOMOC ON)
  target_link_libraries(test_qt_desktop PRIVATE vedozer_qtui vedozer_testsupport Qt6::Test)
  target_include_directories(test_qt_desktop PRIVATE tests)
  add_test(NAME QtDesktop COMMAND test_qt_desktop)
  set_tests_properties(QtDesktop PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 600)

  add_executable(vedozer_qt_screenshots tests/qt/Screenshots.cpp tests/qt/GuiDriver.cpp tests/qt/PlantedImage.cpp
                 src/cli/DemoImage.cpp)
  target_link_libraries(vedozer_qt_screenshots PRIVATE vedozer_qtui vedozer_testsupport Qt6::Test)
  target_include_directories(vedozer_qt_screenshots PRIVATE tests tests/qt)
endfunction()
