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

# The desktop entry is named after the application id, which is also the window's Wayland app id
# and X11 class: docks and task switchers find the entry, and its icon, from the window.
install(FILES data/veldrane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications RENAME ${VELDRANE_APP_ID}.desktop)
configure_file(data/veldrane.metainfo.xml.in ${CMAKE_BINARY_DIR}/${VELDRANE_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${VELDRANE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY data/gnome-shell/${VELDRANE_GNOME_EXTENSION} DESTINATION ${CMAKE_INSTALL_DATADIR}/gnome-shell/extensions)
install(FILES data/io.github.veldrane.Veldrane1.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/dbus-1/interfaces)
install(FILES data/veldranectl.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
    RENAME veldranectl)

# Who answers for the package: its control file and its changelog.
set(VELDRANE_MAINTAINER "VELDRANE developers <veldrane@users.noreply.github.com>")

# Manual pages and the changelog are installed compressed, as distributions keep them; -n leaves the
# name and time out of the archive, so that the same sources give the same bytes.
find_program(VELDRANE_GZIP gzip REQUIRED)
configure_file(data/debian/changelog.in ${CMAKE_BINARY_DIR}/compressed/changelog @ONLY)
set(VELDRANE_COMPRESSED)
foreach(source data/veldrane.1 data/veldranectl.1 ${CMAKE_BINARY_DIR}/compressed/changelog)
    get_filename_component(name ${source} NAME)
    set(copy ${CMAKE_BINARY_DIR}/compressed/${name}.copy)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/compressed/${name}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
        COMMAND ${VELDRANE_GZIP} -9nf ${copy}
        COMMAND ${CMAKE_COMMAND} -E rename ${copy}.gz ${CMAKE_BINARY_DIR}/compressed/${name}.gz
        DEPENDS ${source}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        COMMENT "Compressing ${name}"
        VERBATIM)
    list(APPEND VELDRANE_COMPRESSED ${CMAKE_BINARY_DIR}/compressed/${name}.gz)
endforeach()
add_custom_target(veldrane_compressed_docs ALL DEPENDS ${VELDRANE_COMPRESSED})
install(FILES ${CMAKE_BINARY_DIR}/compressed/veldrane.1.gz ${CMAKE_BINARY_DIR}/compressed/veldranectl.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES LICENSE data/debian/copyright ${CMAKE_BINARY_DIR}/compressed/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DOCDIR})

# udev reads the rules under <prefix>/lib, whatever the distribution's library folder is called.
set(VELDRANE_UDEV_RULES_DIR "lib/udev/rules.d" CACHE PATH "Where the udev rule for the mouse is installed")
install(FILES data/70-veldrane.rules DESTINATION ${VELDRANE_UDEV_RULES_DIR})

# The Debian package: `cpack -G DEB` in a build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veldrane)
set(CPACK_PACKAGE_VENDOR "VELDRANE developers")
set(CPACK_PACKAGE_CONTACT "${VELDRANE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# One line each of the extended description, within the 80 columns that package tools show; an
# empty line parts two paragraphs.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "A configurator that lives in the system tray and sets up the Tessaly VELDRANE"
    "USB gaming mouse: the function of each of its twelve buttons, four CPI stages,"
    "the report rate, sensitivity, angle snap, lighting and up to twelve macros that"
    "the mouse plays by itself, in six named profiles."
    ""
    "A simulated mouse lets anyone try every function without the hardware, and the"
    "command-line companion veldranectl shows what the profile files hold and talks"
    "to the mouse from scripts.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The programs go in without their symbols, as distributions ship them.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The licence travels as share/doc/veldrane/LICENSE and, the Debian way, .../copyright.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "udev")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/data/debian/postinst ${PROJECT_SOURCE_DIR}/data/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
