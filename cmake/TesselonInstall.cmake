# Installing Tesselon like a desktop game, and its Debian package.
#
# Layout under the prefix:
#   bin/tesselon                        the launcher (packaging/tesselon.sh.in)
#   libexec/tesselon/tesselon           the game program
#   share/tesselon/data/                the generated asset pack
#   share/applications/<id>.desktop     the menu entry
#   share/icons/hicolor/NxN/apps/<id>.png
#
# The game reads ./data and keeps ./.vantixstate in its working folder; the
# launcher runs it in the player's own folder with `data` linked to the
# installed data. `cpack -G DEB` in the build folder makes the package.
if(NOT TARGET tesselon OR NOT TARGET tesselon_assets)
  return()
endif()

include(GNUInstallDirs)

set(TESSELON_APP_ID org.tesselon.Tesselon)
set(TESSELON_ICON_SIZES 48 64 128 256)
set(TESSELON_BUILD_DATA ${CMAKE_BINARY_DIR}/data)
set(TESSELON_BUILD_ICONS ${CMAKE_BINARY_DIR}/icons)

# An install folder as a path relative to the prefix.
function(tesselon_relative_dir out dir)
  if(IS_ABSOLUTE "${dir}")
    file(RELATIVE_PATH dir "${CMAKE_INSTALL_PREFIX}" "${dir}")
  endif()
  set(${out} "${dir}" PARENT_SCOPE)
endfunction()

tesselon_relative_dir(TESSELON_REL_BIN "${CMAKE_INSTALL_BINDIR}")
tesselon_relative_dir(TESSELON_REL_LIBEXEC "${CMAKE_INSTALL_LIBEXECDIR}")
tesselon_relative_dir(TESSELON_REL_SHARE "${CMAKE_INSTALL_DATADIR}")

# ---------------------------------------------------------------------------
# The window icon: the desktop icons, copied into the data folder where the
# game finds them as ./data/icons/tesselon-N.png (in the build folder and
# in an installation alike).
# ---------------------------------------------------------------------------
set(window_icon_commands)
set(window_icons)
foreach(size ${TESSELON_ICON_SIZES})
  set(src ${TESSELON_BUILD_ICONS}/hicolor/${size}x${size}/apps/tesselon.png)
  set(dst ${TESSELON_BUILD_DATA}/icons/tesselon-${size}.png)
  list(APPEND window_icons ${dst})
  list(APPEND window_icon_commands COMMAND ${CMAKE_COMMAND} -E copy ${src} ${dst})
endforeach()
add_custom_command(
  OUTPUT ${window_icons}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TESSELON_BUILD_DATA}/icons
  ${window_icon_commands}
  DEPENDS ${TESSELON_BUILD_DATA}/.stamp
  COMMENT "Copying the window icons into ${TESSELON_BUILD_DATA}/icons"
  VERBATIM)
add_custom_target(tesselon_window_icons ALL DEPENDS ${window_icons})
add_dependencies(tesselon_window_icons tesselon_assets)
add_dependencies(tesselon tesselon_window_icons)

# ---------------------------------------------------------------------------
# Install rules
# ---------------------------------------------------------------------------
set(TESSELON_GAME_REL ${TESSELON_REL_LIBEXEC}/tesselon/tesselon)
set(TESSELON_DATA_REL ${TESSELON_REL_SHARE}/tesselon/data)
file(RELATIVE_PATH TESSELON_BIN_TO_PREFIX /prefix/${TESSELON_REL_BIN} /prefix)
configure_file(${PROJECT_SOURCE_DIR}/packaging/tesselon.sh.in
               ${CMAKE_BINARY_DIR}/packaging/tesselon @ONLY)

install(TARGETS tesselon RUNTIME DESTINATION ${TESSELON_REL_LIBEXEC}/tesselon)
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/tesselon DESTINATION ${TESSELON_REL_BIN})
install(DIRECTORY ${TESSELON_BUILD_DATA} DESTINATION ${TESSELON_REL_SHARE}/tesselon
        PATTERN .stamp EXCLUDE)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${TESSELON_APP_ID}.desktop
        DESTINATION ${TESSELON_REL_SHARE}/applications)
foreach(size ${TESSELON_ICON_SIZES})
  install(FILES ${TESSELON_BUILD_ICONS}/hicolor/${size}x${size}/apps/tesselon.png
          DESTINATION ${TESSELON_REL_SHARE}/icons/hicolor/${size}x${size}/apps
          RENAME ${TESSELON_APP_ID}.png)
endforeach()

# ---------------------------------------------------------------------------
# Debian package
# ---------------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tesselon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tesselon developers")
set(CPACK_PACKAGE_CONTACT "Tesselon developers <developers@tesselon.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade puzzle game on a closing board")
set(CPACK_PACKAGE_DESCRIPTION
    "You step across an 8 by 8 board; every cell you leave stays closed for \
the next seven steps, so the path behind you shuts. Collect the number \
tokens before they fade, dodge the wall patterns and the chaser.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The C and C++ runtime, GLFW, OpenAL and OpenGL come from the program's own
# library needs (dpkg-shlibdeps); without that tool they are named here.
find_program(TESSELON_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(TESSELON_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libc6, libstdc++6, libgcc-s1, libglfw3 | libglfw3-wayland, libopenal1, libgl1")
endif()
include(CPack)
