# Installing and packaging: `cmake --install` lays Merendella out as a desktop application, and
# `cpack` (run in the build folder) turns that layout into a Debian package.

include(GNUInstallDirs)

set(MERENDELLA_APP_ID org.merendella.Merendella)

# The program reads its pictures from img/ and its sounds from sounds/ beside its real location,
# so the program, the pictures and the sounds share one private folder. A relative link in bin/ puts it on the search path; the
# program resolves the link through /proc/self/exe, and a relative target keeps working when
# the tree is staged (DESTDIR) or moved. bin/ rather than games/: the desktop entry runs a bare
# "merendella", and games/ is missing from the search path of systemd user sessions and of
# prefixes such as ~/.local or /opt.
set(MERENDELLA_INSTALL_APPDIR "lib/merendella" CACHE STRING
    "Folder, relative to the prefix, that holds the program and its pictures")

install(TARGETS merendella merendella_sound RUNTIME DESTINATION ${MERENDELLA_INSTALL_APPDIR}
        LIBRARY DESTINATION ${MERENDELLA_INSTALL_APPDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/img/ DESTINATION ${MERENDELLA_INSTALL_APPDIR}/img
        FILES_MATCHING PATTERN "*.jpg")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/sounds/ DESTINATION ${MERENDELLA_INSTALL_APPDIR}/sounds
        FILES_MATCHING PATTERN "*.wav")

file(RELATIVE_PATH merendella_link_target
     /${CMAKE_INSTALL_BINDIR} /${MERENDELLA_INSTALL_APPDIR}/merendella)
install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/merendella\")
    message(STATUS \"Installing: \${link} -> ${merendella_link_target}\")
    get_filename_component(link_dir \"\${link}\" DIRECTORY)
    file(MAKE_DIRECTORY \"\${link_dir}\")
    file(REMOVE \"\${link}\")
    file(CREATE_LINK \"${merendella_link_target}\" \"\${link}\" SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${link}\")
")

install(FILES ${PROJECT_SOURCE_DIR}/data/${MERENDELLA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/${MERENDELLA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

foreach(size 16 32 48 64 128 256)
    set(icon ${PROJECT_SOURCE_DIR}/data/icons/${size}x${size}/${MERENDELLA_APP_ID}.png)
    if(EXISTS ${icon})
        install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    else()
        message(WARNING "missing icon ${icon}: the menu entry will show no icon at ${size}x${size}")
    endif()
endforeach()
set(icon ${PROJECT_SOURCE_DIR}/data/icons/scalable/${MERENDELLA_APP_ID}.svg)
if(EXISTS ${icon})
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
else()
    message(WARNING "missing icon ${icon}: the menu entry will show no scalable icon")
endif()

# Debian looks for the licence terms in share/doc/<package>/copyright.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/merendella
        RENAME copyright)

# ---- Debian package ----

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME merendella)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Merendella developers")
set(CPACK_PACKAGE_CONTACT "The Merendella developers <${MERENDELLA_CREDITS_MAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "puzzle game for young children about sharing cards fairly")
# The long description, wrapped as Debian wants it; CPack indents each line.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Three children stand in three rows, each holding seven picture cards:"
    "stickers worth points, or tarts carrying strawberries. The player drags"
    "one card onto another to swap them, until the three hands add up to the"
    "same total."
    ""
    "Large pictures, a sound for every move and a celebration for every win;"
    "played by dragging or tapping, with a mouse, a touch screen or the keys."
    "The interface is in Italian.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
# dpkg-shlibdeps (dpkg-dev) reads the program's libraries: the Qt 6 packages and the C++ runtime,
# with the versions this build needs. Qt's X11 platform and JPEG plugins ship in libqt6gui6.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The faces that stand in for the designed fonts; without them the screens fall back to DejaVu.
# Qt's Wayland platform lets the game run as a Wayland client; without it, through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-comic-neue, fonts-liberation2, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
find_program(DPKG_PROGRAM dpkg)
if(DPKG_PROGRAM)
    execute_process(COMMAND ${DPKG_PROGRAM} --print-architecture
                    OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()

include(CPack)
