# Installation and the Debian package.
# The programs find their companions (the template srcres.dat, the pin picture _data.pdb, the demo
# database, license.txt, the logo Rsgar.bmp) beside their own files, so everything lives together
# in one program folder; bin/ holds a launcher for the navigator and a link to the companion.
# The desktop entry and the icon go where desktops look for them.
#   cmake --install build --prefix /usr/local      install
#   cd build && cpack                               build the .deb (installs into /usr)
include(GNUInstallDirs)

set(VEMBRA_PACKAGE_NAME vembra-navigator)
set(VEMBRA_INSTALL_PROGRAM_DIR lib/${VEMBRA_PACKAGE_NAME}
    CACHE STRING "Folder of the program and its companion files, below the install prefix")

if(TARGET vembra-navigator)
    install(TARGETS vembra-navigator RUNTIME DESTINATION ${VEMBRA_INSTALL_PROGRAM_DIR})
    # bin/vembra-navigator: a launcher that prepares the user's application folder with the
    # companion and then runs the program from its folder.
    configure_file(${PROJECT_SOURCE_DIR}/packaging/vembra-navigator.in
        ${CMAKE_BINARY_DIR}/install-links/vembra-navigator @ONLY)
    install(PROGRAMS ${CMAKE_BINARY_DIR}/install-links/vembra-navigator
        DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET vembra)
    install(TARGETS vembra RUNTIME DESTINATION ${VEMBRA_INSTALL_PROGRAM_DIR})
    # bin/vembra -> ../<program folder>/vembra, made in the build tree and installed as a link.
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install-links)
    file(CREATE_LINK ../${VEMBRA_INSTALL_PROGRAM_DIR}/vembra
        ${CMAKE_BINARY_DIR}/install-links/vembra SYMBOLIC)
    install(FILES ${CMAKE_BINARY_DIR}/install-links/vembra DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

if(TARGET vembra_template)
    install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/srcres.dat
        DESTINATION ${VEMBRA_INSTALL_PROGRAM_DIR})
endif()
if(TARGET vembra_companion_files)
    install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/_data.pdb
                  ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/demo.mdb
                  ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/demo.norv
                  ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/demoSettings.norv
        DESTINATION ${VEMBRA_INSTALL_PROGRAM_DIR})
endif()
if(TARGET vembra_about_files)
    install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Rsgar.bmp
        DESTINATION ${VEMBRA_INSTALL_PROGRAM_DIR})
endif()
if(TARGET vembra_work_order_logo)
    install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Rsvmb.bmp
        DESTINATION ${VEMBRA_INSTALL_PROGRAM_DIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/license.txt
    DESTINATION ${VEMBRA_INSTALL_PROGRAM_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/license.txt
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${VEMBRA_PACKAGE_NAME} RENAME copyright)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/vembra-navigator.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/vembra-navigator.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${VEMBRA_PACKAGE_NAME})
set(CPACK_PACKAGE_VENDOR "Norv")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION "Turns the delay measured by a CPD-locating unit into a short \
list of candidate devices, shows them on the node's map with their cable routes, and prints a \
one-page work order.")
set(CPACK_PACKAGE_CONTACT
    "Seed 4f6928e0 maintainers <maintainers@users.noreply.c-seed-4f6928e0.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Debian 12 packages the programs load at run time (the Qt JPEG and X11 plugins come with
# libqt6gui6) and the faces that stand in for the fonts maps name.
string(JOIN ", " CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6 (>= 2.35)"
    "libstdc++6 (>= 12)"
    "libgcc-s1 (>= 3.4)"
    "libqt6core6 (>= 6.4)"
    "libqt6gui6 (>= 6.4)"
    "libqt6widgets6 (>= 6.4)"
    "libqt6printsupport6 (>= 6.4)"
    "libsqlite3-0 (>= 3.31)"
    "zlib1g (>= 1:1.2)"
    "fonts-liberation"
    "fonts-dejavu-core")
include(CPack)
