# Installing the Linux program as Debian's xscreensaver expects a GL hack, and the Debian
# package CPack makes of it: `cpack` in the build folder writes driftglass_<version>_amd64.deb.
include(GNUInstallDirs)

# The manual and the changelog go compressed, as Debian keeps them.
set(DOC_DIR ${PROJECT_BINARY_DIR}/doc)
set(COMPRESSED_DOCS ${DOC_DIR}/driftglass.6.gz ${DOC_DIR}/driftglass-xscreensaver.1.gz
                    ${DOC_DIR}/changelog.gz)
add_custom_command(
  OUTPUT ${COMPRESSED_DOCS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DOC_DIR}
  COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" gzip
          ${PROJECT_SOURCE_DIR}/resources/linux/driftglass.6 ${DOC_DIR}/driftglass.6.gz
  COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" gzip
          ${PROJECT_SOURCE_DIR}/resources/linux/driftglass-xscreensaver.1
          ${DOC_DIR}/driftglass-xscreensaver.1.gz
  COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" gzip
          ${PROJECT_SOURCE_DIR}/resources/linux/changelog ${DOC_DIR}/changelog.gz
  DEPENDS resources/linux/driftglass.6 resources/linux/driftglass-xscreensaver.1
          resources/linux/changelog
  VERBATIM)
add_custom_target(driftglass_docs ALL DEPENDS ${COMPRESSED_DOCS})

# Where the daemon looks for GL hacks and where its settings read their descriptions.
install(TARGETS driftglass RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver)
# The dialogs' module, where the program looks for it from its folder (../../ and the module's
# folder under the prefix).
install(TARGETS driftglass_gtk LIBRARY DESTINATION ${DRIFTGLASS_MODULE_DIR})
install(FILES resources/linux/driftglass.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
install(FILES ${DOC_DIR}/driftglass.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# Adds the hack to (or removes it from) the daemon's list in the user's ~/.xscreensaver.
install(PROGRAMS resources/linux/driftglass-xscreensaver DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${DOC_DIR}/driftglass-xscreensaver.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES resources/linux/copyright ${DOC_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/driftglass)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME driftglass)
set(CPACK_PACKAGE_VENDOR Tolvanet)
set(CPACK_PACKAGE_CONTACT "Tolvanet <driftglass@tolvanet.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "painted seascape screen saver for xscreensaver")
# The long description under the summary; CPack indents its lines.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Driftglass #1 is a real-time 3-D screen saver: a painted seascape by moonlight
whose sea ripples under a wave simulation, two flowers on curling stalks, a
long scaled creature with insect-fast wings that shed sparks, an ambient sound
and a welcome banner. It runs as a GL hack under xscreensaver, in a window of
its own or full screen.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries' packages, as dpkg-shlibdeps finds them from what the program links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xscreensaver)
include(CPack)
