# What `cmake --install` puts in place, and the Debian package made of it
# (`cpack -G DEB` in the build folder, or `make deb`).
include(GNUInstallDirs)

# The manual page is written by the program itself from its help texts.
set(FULGOR_MAN_PAGE ${CMAKE_BINARY_DIR}/fulgor.1)
add_custom_command(OUTPUT ${FULGOR_MAN_PAGE}
                   COMMAND fulgor --man > ${FULGOR_MAN_PAGE}
                   DEPENDS fulgor
                   COMMENT "Writing the manual page fulgor.1")
add_custom_target(fulgor_man_page ALL DEPENDS ${FULGOR_MAN_PAGE})

install(TARGETS fulgor fulgor_gui RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${FULGOR_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/data/fulgor.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/fulgor.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/data/fulgor-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME fulgor.xml)

set(CPACK_PACKAGE_NAME fulgor)
set(CPACK_PACKAGE_VENDOR "Corvane")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Fireworks firing scripts: edit, address, check, convert and send them to the panel")
set(CPACK_PACKAGE_CONTACT "Fulgor maintainers <fulgor@corvane.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# dpkg-shlibdeps declares what the program links: Qt 6 (Core, Gui, Widgets,
# PrintSupport, SerialPort), SQLite, mdbtools (libmdb3), GLib and zlib.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
