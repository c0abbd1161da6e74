# The manual page in English and German, the licence and the changelog, installed with the
# program, and the Debian package made from the installed files by CPack (tools/package.sh).

# Compressed without names or times, so that the same sources give the same files.
function(pesterly_gzip source output)
    add_custom_command(OUTPUT ${output}
        COMMAND gzip -9n --stdout ${source} > ${output}
        DEPENDS ${source} VERBATIM)
endfunction()

set(PESTERLY_MAINTAINER "Pesterly <${PESTERLY_CONTACT_EMAIL}>")
set(page ${CMAKE_CURRENT_BINARY_DIR}/pesterly.1)
set(page_de ${CMAKE_CURRENT_BINARY_DIR}/de/pesterly.1)
configure_file(${PROJECT_SOURCE_DIR}/doc/pesterly.1 ${page} @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/doc/pesterly.de.1 ${page_de} @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${CMAKE_CURRENT_BINARY_DIR}/changelog @ONLY)
pesterly_gzip(${page} ${page}.gz)
pesterly_gzip(${page_de} ${page_de}.gz)
pesterly_gzip(${CMAKE_CURRENT_BINARY_DIR}/changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_target(pesterly_docs ALL
    DEPENDS ${page}.gz ${page_de}.gz ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)

install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${page_de}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/de/man1)
# Debian's places: GNUInstallDirs would name the folder after the project, with a capital.
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/pesterly)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
        DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pesterly)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${PESTERLY_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop reminder that asks about due events")
# One line of the extended description per line of the control file.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Pesterly keeps a table of up to 101 events (birthdays, bills, chores), each"
    "with a date, a repeat rule and optional reminder mail. Once a day, at a time"
    "of your choice, it asks about every event that has come due: done, not done,"
    "or put off. An event not done can send a nag mail to its own address and to"
    "a list of addresses, through the system's sendmail or an SMTP server."
    "Pesterly waits in the desktop's notification area.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PESTERLY_WEBSITE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Nag mail goes through /usr/sbin/sendmail unless PESTERLY_MAIL_URL names a server.
# Qt's own buttons and file dialogs in the user's language come from qt6-translations-l10n.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "default-mta | mail-transport-agent, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
# The program looks for its manual and mail module under the prefix it was built for, so the
# package puts them exactly there; tools/package.sh builds for /usr.
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
include(CPack)
