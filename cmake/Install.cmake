# What `cmake --install` puts where, and the Debian package made of it. Every destination is
# relative to the prefix, so DESTDIR installs and relocated prefixes work.

install(TARGETS veldranectl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET veldrane)
    install(TARGETS veldrane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The factory files and the skin, as the build laid them out; the manifest is the generator's.
install(DIRECTORY ${VELDRANE_SHARE_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/veldrane
    PATTERN skin-manifest.txt EXCLUDE)
if(EXISTS ${PROJECT_SOURCE_DIR}/tools/skin/CMakeLists.txt)
    install(DIRECTORY ${VELDRANE_ICON_DIR} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()

install(FILES data/veldrane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(data/veldrane.metainfo.xml.in ${CMAKE_BINARY_DIR}/${VELDRANE_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${VELDRANE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/veldrane.1 data/veldranectl.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES data/io.github.veldrane.Veldrane1.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/dbus-1/interfaces)
install(FILES data/veldranectl.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
    RENAME veldranectl)
install(FILES LICENSE data/debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# udev reads the rules under <prefix>/lib, whatever the distribution's library folder is called.
set(VELDRANE_UDEV_RULES_DIR "lib/udev/rules.d" CACHE PATH "Where the udev rule for the mouse is installed")
install(FILES data/70-veldrane.rules DESTINATION ${VELDRANE_UDEV_RULES_DIR})

# The Debian package: `cpack -G DEB` in a build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veldrane)
set(CPACK_PACKAGE_VENDOR "VELDRANE configurator developers")
set(CPACK_PACKAGE_CONTACT "VELDRANE configurator developers <veldrane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION "Tray-resident configurator for the Tessaly VELDRANE USB gaming mouse: buttons, CPI stages, report rate, sensitivity, lighting, on-mouse macros and named profiles, with a simulated mouse to try it without the hardware, and the command-line companion veldranectl.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The licence travels as share/doc/veldrane/LICENSE and, the Debian way, .../copyright.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "udev")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/data/debian/postinst ${PROJECT_SOURCE_DIR}/data/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
