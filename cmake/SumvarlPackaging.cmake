# Desktop integration (launcher, icons, AppStream metainfo) and the Debian package.
#
# Everything the package ships is in the install component "sumvarl", and CPack packs only that
# component, so an install() rule added elsewhere without a component (a test tool, a static
# library) never ends up in the .deb. A plain `cmake --install` still installs all components.
include(GNUInstallDirs)

set(SUMVARL_APP_ID io.github.sumvarl.Sumvarl)
set(_pkg ${PROJECT_SOURCE_DIR}/packaging)
set(_icons ${PROJECT_SOURCE_DIR}/forms/icons)

# The two programs.
install(TARGETS sumvarl sumvarl-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT sumvarl)
# The printing module, where the program looks for it (print/CMakeLists.txt).
install(TARGETS sumvarl_printer LIBRARY DESTINATION ${SUMVARL_PRINTER_MODULE_DIR} COMPONENT sumvarl)
install(FILES ${_pkg}/${SUMVARL_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT sumvarl)
install(FILES ${_pkg}/${SUMVARL_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT sumvarl)
foreach(size 16 32 48)
    install(FILES ${_icons}/sumvarl-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME sumvarl.png COMPONENT sumvarl)
endforeach()
install(FILES ${_icons}/sumvarl.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT sumvarl)

set(SUMVARL_DEB_MAINTAINER "The Sumvarl developers <sumvarl@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sumvarl)
set(CPACK_PACKAGE_VENDOR "The Sumvarl developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arithmetic practice worksheets for primary school")
# One list item per line of the long description, so `apt show` stays within 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "Sumvarl composes worksheets of random arithmetic problems for children to"
    "practise: choose the operations and their shares, the share of fill-in-the-blank"
    "problems, the number range and the number of problems, then rebuild the sheet at"
    "will or print it. The program's text is Simplified Chinese.")
list(JOIN CPACK_PACKAGE_DESCRIPTION "\n" CPACK_PACKAGE_DESCRIPTION)
set(CPACK_PACKAGE_CONTACT "${SUMVARL_DEB_MAINTAINER}")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};sumvarl;/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps reads the libraries the binary really links (libc6, libstdc++6 and the Qt 6
# libraries, with their minimum versions). What is loaded at run time without being linked is
# listed by hand: Qt's xcb platform plugin, and the fonts that stand in for the Windows faces
# the windows and the printout name (宋体, 隶书, System; see print/PainterSurface.cpp).
# Qt's own texts (the OK of a message box, the file dialog) are read in Chinese from
# qt6-translations-l10n. The printing module's own libraries (libqt6printsupport6, libcups2)
# are read from it as from the programs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-translations-l10n, libqt6sql6-sqlite, fonts-arphic-uming, fonts-arphic-ukai, fonts-wqy-zenhei")

include(CPack)

# The launcher, the metainfo and the .deb are Linux's; the Windows installer is scripts/windows.sh.
if(SUMVARL_BUILD_TESTS AND NOT WIN32)
    add_subdirectory(packaging/tests)
endif()
