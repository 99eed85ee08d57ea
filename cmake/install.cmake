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

install(TARGETS fulgor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
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
# The libraries the program links are found by dpkg-shlibdeps; the SQLite
# driver of Qt is a plugin loaded at run time, so it is named here, as are the
# Qt, SQLite and mdbtools libraries themselves.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6serialport6 (>= 6.4), libqt6sql6 (>= 6.4), libqt6sql6-sqlite (>= 6.4), libqt6printsupport6 (>= 6.4), libsqlite3-0, libmdb3")
include(CPack)
