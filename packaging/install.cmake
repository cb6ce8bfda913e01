# Installing the game (cmake --install) and packaging it (cpack: a .deb).
#
#   bin/halvardine                          the game
#   share/halvardine/                       its data, read-only
#   share/applications/halvardine.desktop   the desktop menu entry
#   share/icons/hicolor/NxN/apps/           the icon at the usual sizes
#   share/man/man6/halvardine.6.gz          the manual page
#
# The executable finds its data from its own place ("../share/halvardine"),
# so the tree installs and runs under any prefix.
include(GNUInstallDirs)

set(HALVARDINE_DATADIR ${CMAKE_INSTALL_DATADIR}/halvardine)
file(RELATIVE_PATH HALVARDINE_DATA_FROM_BINDIR /${CMAKE_INSTALL_BINDIR} /${HALVARDINE_DATADIR})
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/kernel/os/gamepaths.cpp PROPERTIES
  COMPILE_DEFINITIONS HALVARDINE_DATA_FROM_BINDIR="${HALVARDINE_DATA_FROM_BINDIR}")

install(TARGETS halvardine RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# What a run from the checkout leaves in Data/ is the developer's, not the game's.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/Data/ DESTINATION ${HALVARDINE_DATADIR}
        PATTERN Icons EXCLUDE PATTERN Cache EXCLUDE PATTERN ScreenShots EXCLUDE
        PATTERN Packages EXCLUDE PATTERN "history.txt*" EXCLUDE PATTERN "*.tmp" EXCLUDE)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/Data/Icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/halvardine.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# Manual pages are installed compressed.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(HALVARDINE_MANPAGE ${CMAKE_BINARY_DIR}/halvardine.6.gz)
add_custom_command(OUTPUT ${HALVARDINE_MANPAGE}
  COMMAND ${GZIP_PROGRAM} -9 -n -c ${CMAKE_SOURCE_DIR}/packaging/halvardine.6 > ${HALVARDINE_MANPAGE}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/halvardine.6 VERBATIM)
add_custom_target(manpage ALL DEPENDS ${HALVARDINE_MANPAGE})
install(FILES ${HALVARDINE_MANPAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# ---- The Debian package ---------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME halvardine)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Halvardine developers <halvardine@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade aerial deathmatch over a generated island")
set(CPACK_PACKAGE_DESCRIPTION "Propeller aircraft fight an aerial deathmatch over generated terrain with water
and forest, under a scattering sky with changing weather, against computer
pilots or other players over the network. Built on the Halvardine 3D Engine.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the executable links, as dpkg-shlibdeps names their packages;
# the console's font is looked up by name, so its package is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
include(CPack)
