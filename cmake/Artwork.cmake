# Product icon and kind icons, rendered from the SVG sources in src/ui/artwork at build time:
#   vedozer.ico (16-256 px) for the Windows resource script,
#   vedozer-<N>.png for the Linux desktop entry and the Qt window,
#   kind-<name>-<N>.png for the result list (16, 24 and 32 px, so 150% and 200% scaling stay sharp),
#   kind-<name>.ico, state-<name>.ico (header band) and update-<name>.ico (Live Update window)
#   for the Windows resource script.
# Needs rsvg-convert (librsvg2-bin) and icotool (icoutils); both run on the build host, so the
# MinGW cross build uses them too. The target is built only when a front end depends on it.
find_program(VEDOZER_RSVG rsvg-convert)
find_program(VEDOZER_ICOTOOL icotool)

set(VEDOZER_ARTWORK_SRC ${CMAKE_SOURCE_DIR}/src/ui/artwork)
set(VEDOZER_ARTWORK_DIR ${CMAKE_BINARY_DIR}/artwork)
set(VEDOZER_ICON_SIZES 16 20 24 32 40 48 64 128 256)
set(VEDOZER_KIND_ICONS cookie process registry file folder excluded)
set(VEDOZER_KIND_SIZES 16 24 32)
set(VEDOZER_SMALL_ICONS state-ok state-attention state-threats update-up update-down)
set(VEDOZER_SMALL_ICON_SIZES 16 20 24 32 40 48)

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
  # name, sizes: PNGs of each size and one .ico holding them all.
  function(vedozer_icon_set name)
    set(_pngs)
    foreach(size ${ARGN})
      set(_png ${VEDOZER_ARTWORK_DIR}/${name}-${size}.png)
      add_custom_command(OUTPUT ${_png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${VEDOZER_ARTWORK_DIR}
        COMMAND ${VEDOZER_RSVG} -w ${size} -h ${size} -o ${_png} ${VEDOZER_ARTWORK_SRC}/${name}.svg
        DEPENDS ${VEDOZER_ARTWORK_SRC}/${name}.svg VERBATIM)
      list(APPEND _pngs ${_png})
    endforeach()
    add_custom_command(OUTPUT ${VEDOZER_ARTWORK_DIR}/${name}.ico
      COMMAND ${VEDOZER_ICOTOOL} -c -o ${VEDOZER_ARTWORK_DIR}/${name}.ico ${_pngs}
      DEPENDS ${_pngs} VERBATIM)
    set(_outputs ${_outputs} ${_pngs} ${VEDOZER_ARTWORK_DIR}/${name}.ico PARENT_SCOPE)
  endfunction()
  foreach(kind ${VEDOZER_KIND_ICONS})
    vedozer_icon_set(kind-${kind} ${VEDOZER_KIND_SIZES})
  endforeach()
  foreach(name ${VEDOZER_SMALL_ICONS})
    vedozer_icon_set(${name} ${VEDOZER_SMALL_ICON_SIZES})
  endforeach()
  add_custom_target(vedozer_artwork DEPENDS ${_outputs})
  set(VEDOZER_HAVE_ARTWORK ON)
else()
  message(STATUS "rsvg-convert or icotool missing: the desktop front ends are not built")
  set(VEDOZER_HAVE_ARTWORK OFF)
endif()
