# Installing and packaging: `cmake --install` lays Merendella out as a desktop application, and
# `cpack` (run in the build folder) turns that layout into a Debian package.

include(GNUInstallDirs)

set(MERENDELLA_APP_ID org.merendella.Merendella)

# Where Debian puts a game: the program and its sound module, private and architecture-dependent,
# in lib/games/merendella; the pictures and sounds, the same on every architecture, in
# share/games/merendella; a link in games/ that the desktop entry's bare "merendella" finds on
# the search path, as Debian's own games are found. The program reads img/ and sounds/ beside
# its real location (Qt resolves the link through /proc/self/exe), so links in its folder lead to
# them; relative links keep working when the tree is staged (DESTDIR) or moved.
# games/ under /usr/local too: Debian's login shells and desktop sessions search /usr/local/games
# as they search /usr/games. Where games/ is not searched (~/.local, /opt), set
# MERENDELLA_INSTALL_GAMESDIR=bin.
set(MERENDELLA_INSTALL_APPDIR lib/games/merendella)
set(MERENDELLA_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/games/merendella)
set(MERENDELLA_INSTALL_GAMESDIR "games" CACHE STRING
    "Folder, relative to the prefix, of the link that starts the program")

install(TARGETS merendella merendella_sound merendella_speech RUNTIME DESTINATION ${MERENDELLA_INSTALL_APPDIR}
        LIBRARY DESTINATION ${MERENDELLA_INSTALL_APPDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/img/ DESTINATION ${MERENDELLA_INSTALL_DATADIR}/img
        FILES_MATCHING PATTERN "*.jpg")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/sounds/ DESTINATION ${MERENDELLA_INSTALL_DATADIR}/sounds
        FILES_MATCHING PATTERN "*.wav")
install(FILES ${merendella_qm_files} DESTINATION ${MERENDELLA_INSTALL_DATADIR}/translations)

# A relative symbolic link at <prefix>/link to <prefix>/target.
function(merendella_install_link target link)
    get_filename_component(link_dir ${link} DIRECTORY)
    file(RELATIVE_PATH to /${link_dir} /${target})
    install(CODE "
        set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${link}\")
        message(STATUS \"Installing: \${link} -> ${to}\")
        get_filename_component(link_dir \"\${link}\" DIRECTORY)
        file(MAKE_DIRECTORY \"\${link_dir}\")
        file(REMOVE \"\${link}\")
        file(CREATE_LINK \"${to}\" \"\${link}\" SYMBOLIC)
        list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${link}\")
    ")
endfunction()
merendella_install_link(${MERENDELLA_INSTALL_APPDIR}/merendella ${MERENDELLA_INSTALL_GAMESDIR}/merendella)
merendella_install_link(${MERENDELLA_INSTALL_DATADIR}/img ${MERENDELLA_INSTALL_APPDIR}/img)
merendella_install_link(${MERENDELLA_INSTALL_DATADIR}/sounds ${MERENDELLA_INSTALL_APPDIR}/sounds)
merendella_install_link(${MERENDELLA_INSTALL_DATADIR}/translations ${MERENDELLA_INSTALL_APPDIR}/translations)

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

# A commented example of the settings file, for a grown-up or an administrator to copy to
# /etc/xdg/merendella/ or ~/.config/merendella/.
install(FILES ${PROJECT_SOURCE_DIR}/data/merendella.conf DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/merendella/examples)

# The package is native (its version has no Debian revision: the game and its package come from
# the same hands), so Debian calls its changelog changelog.gz. Its first entry is the release.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog merendella_changelog_top LIMIT_COUNT 1)
if(NOT merendella_changelog_top MATCHES "^merendella \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog: the first entry is not for version ${PROJECT_VERSION}")
endif()
# The changelog and the manual page gzipped as Debian does: -9, and -n leaves out the name and
# date, so the same sources give the same package.
set(docs ${PROJECT_BINARY_DIR}/packaging)
add_custom_command(OUTPUT ${docs}/changelog.gz ${docs}/merendella.6.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${docs}
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/changelog
                                     ${PROJECT_SOURCE_DIR}/data/merendella.6 ${docs}
    COMMAND gzip -9nf ${docs}/changelog ${docs}/merendella.6
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog ${PROJECT_SOURCE_DIR}/data/merendella.6 VERBATIM)
add_custom_target(merendella_docs ALL DEPENDS ${docs}/changelog.gz ${docs}/merendella.6.gz)
install(FILES ${docs}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/merendella)
install(FILES ${docs}/merendella.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

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
    "It shows and speaks Italian, English, French, Spanish and German.")
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
# Qt's own words of the boxes' buttons ("Sì", "No") come from Qt's translations.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
# No ldconfig in the maintainer scripts: CPack 3.25 adds the calls, with no setting to refuse
# them, for any shared object in lib/ or one folder below it; the sound module is a private
# plugin, two folders below, which the dynamic linker never looks for.
# The faces that stand in for the designed fonts; without them the screens fall back to DejaVu.
# Qt's Wayland platform lets the game run as a Wayland client; without it, through XWayland.
# The voice: Qt's speech through Speech Dispatcher and eSpeak NG; without them the game is silent.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-comic-neue, fonts-liberation2, qt6-wayland, speech-dispatcher, speech-dispatcher-espeak-ng, qt6-speech-speechd-plugin")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
find_program(DPKG_PROGRAM dpkg)
if(DPKG_PROGRAM)
    execute_process(COMMAND ${DPKG_PROGRAM} --print-architecture
                    OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()

include(CPack)
