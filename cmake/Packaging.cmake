# Installing the program for a desktop, and the .deb made from that installation.
#
#   bin/kelvora                                  launcher: the user's copy of the collection
#   libexec/kelvora/kelvora                      the program itself
#   share/kelvora/kelvora.mdb                    the collection as shipped
#   share/applications/kelvora.desktop
#   share/icons/hicolor/48x48/apps/kelvora.png
#
# The launcher finds the other files relative to itself, so `cmake --install --prefix` may
# place the tree anywhere.
if(NOT TARGET kelvora)
    return()
endif()

include(GNUInstallDirs)

# The program links system libraries only: no run path of its own once installed.
set_target_properties(kelvora PROPERTIES INSTALL_RPATH "")

set(KELVORA_LIBEXEC_REL ${CMAKE_INSTALL_LIBEXECDIR}/kelvora)
set(KELVORA_DATA_REL ${CMAKE_INSTALL_DATADIR}/kelvora)
configure_file(${CMAKE_SOURCE_DIR}/packaging/kelvora-launcher.sh.in
               ${CMAKE_BINARY_DIR}/packaging/kelvora @ONLY)

install(TARGETS kelvora RUNTIME DESTINATION ${KELVORA_LIBEXEC_REL})
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/kelvora DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${KELVORA_MDB} DESTINATION ${KELVORA_DATA_REL})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/kelvora.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
if(KELVORA_ICON)
    install(FILES ${KELVORA_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps
            RENAME kelvora.png)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Morvandel)
set(CPACK_PACKAGE_CONTACT "Morvandel <info@morvandel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Zandrel kelvora: a Persian collection of questions and answers on prophethood")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_STRIP_FILES ON)
# What the program loads at run time without linking it (the platform plugins) and the faces
# that stand in for the windows' fonts are always named here; the linked libraries come from
# dpkg-shlibdeps, with their versions, where it is installed.
set(kelvora_runtime_depends
    "qt6-qpa-plugins, fonts-noto-core | fonts-noto-ui-core, fonts-dejavu-core")
find_program(KELVORA_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(KELVORA_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "${kelvora_runtime_depends}")
else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), libx11-6, ${kelvora_runtime_depends}")
endif()
include(CPack)
