# Product icon and kind icons, rendered from the SVG sources in src/ui/artwork at build time:
#   vedozer.ico (16-256 px) for the Windows resource script,
#   vedozer-<N>.png for the Linux desktop entry and the Qt window,
#   kind-<name>-<N>.png for the result list (16, 24 and 32 px, so 150% and 200% scaling stay sharp).
# Needs rsvg-convert (librsvg2-bin) and icotool (icoutils); both run on the build host, so the
# MinGW cross build uses them too. The target is built only when a front end depends on it.
find_program(VEDOZER_RSVG rsvg-convert)
find_program(VEDOZER_ICOTOOL icotool)

set(VEDOZER_ARTWORK_SRC ${CMAKE_SOURCE_DIR}/src/ui/artwork)
set(VEDOZER_ARTWORK_DIR ${CMAKE_BINARY_DIR}/artwork)
set(VEDOZER_ICON_SIZES 16 20 24 32 40 48 64 128 256)
set(VEDOZER_KIND_ICONS cookie process registry file folder excluded)
set(VEDOZER_KIND_SIZES 16 24 32)

if(VEDOZER_RSVG AND VEDOZER_ICOTOOL)
  set(_outputs)
  set(_ico_inputs)
  foreach(size ${VEDOZER_ICON_SIZES})
    set(_png ${VEDOZER_ARTWORK_DIR}/vedozer-${size}.png)
    add_custom_command(OUTPUT ${_png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${VEDOZER_ARTWORK_DIR}
      COMMAND ${VEDOZER_RSVG} -w ${size} -h ${size} -o ${_png} ${VEDOZER_ARTWORK_SRC}/vedozer.svg
      DEPENDS ${VEDOZER_ARTWORK_SRC}/vedozer.svg VERBATIM)
    list(APPEND _outputs ${_png})
    if(size EQUAL 256)
      list(APPEND _ico_inputs -r ${_png})  # stored as PNG inside the .ico, as Windows expects at 256
    else()
      list(APPEND _ico_inputs ${_png})
    endif()
  endforeach()
  add_custom_command(OUTPUT ${VEDOZER_ARTWORK_DIR}/vedozer.ico
    COMMAND ${VEDOZER_ICOTOOL} -c -o ${VEDOZER_ARTWORK_DIR}/vedozer.ico ${_ico_inputs}
    DEPENDS ${_outputs} VERBATIM)
  list(APPEND _outputs ${VEDOZER_ARTWORK_DIR}/vedozer.ico)
  foreach(kind ${VEDOZER_KIND_ICONS})
    foreach(size ${VEDOZER_KIND_SIZES})
      set(_png ${VEDOZER_ARTWORK_DIR}/kind-${kind}-${size}.png)
      add_custom_command(OUTPUT ${_png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${VEDOZER_ARTWORK_DIR}
        COMMAND ${VEDOZER_RSVG} -w ${size} -h ${size} -o ${_png} ${VEDOZER_ARTWORK_SRC}/kind-${kind}.svg
        DEPENDS ${VEDOZER_ARTWORK_SRC}/kind-${kind}.svg VERBATIM)
      list(APPEND _outputs ${_png})
    endforeach()
  endforeach()
  add_custom_target(vedozer_artwork DEPENDS ${_outputs})
  set(VEDOZER_HAVE_ARTWORK ON)
else()
  message(STATUS "rsvg-convert or icotool missing: the desktop front ends are not built")
  set(VEDOZER_HAVE_ARTWORK OFF)
endif()
