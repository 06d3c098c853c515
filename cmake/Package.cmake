# SPDX-License-Identifier: MIT
# What a Linux desktop installation adds to the programs: the desktop entry, the icon, the
# AppStream metadata, manual pages, bash completion and the documents; and `make package`, the
# Debian package of it all (CPack).

set(LIVRANO_APP_ID com.corvanesoftware.Livrano)
set(LIVRANO_MAINTAINER "Corvane Software <livrano@corvanesoftware.com>" CACHE STRING
    "The package's maintainer, as Debian writes one")
set(desktop ${PROJECT_SOURCE_DIR}/data/desktop)
set(generated ${PROJECT_BINARY_DIR}/generated)

configure_file(${desktop}/${LIVRANO_APP_ID}.metainfo.xml.in ${generated}/${LIVRANO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${generated}/${LIVRANO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${desktop}/livrano-cli.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
    RENAME livrano-cli)
if(TARGET livrano)
    install(FILES ${desktop}/${LIVRANO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${LIVRANO_ICON_DIR}/livrano.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${LIVRANO_APP_ID}.svg)
    foreach(size IN LISTS LIVRANO_ICON_SIZES)
        install(FILES ${LIVRANO_ICON_DIR}/livrano-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${LIVRANO_APP_ID}.png)
    endforeach()
endif()

# The documents Debian wants: the licences as a machine-readable copyright file (Livrano's own
# from LICENSE, and those of the works compiled or embedded into the programs and the manual), and
# a changelog in its own format (gzipped, like CHANGELOG.md beside it).
set(docs ${CMAKE_INSTALL_DATADIR}/doc/livrano)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(STRIP "${licence}" licence)
string(REGEX REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REGEX REPLACE "\n([^\n])" "\n \\1" LIVRANO_LICENCE " ${licence}")
configure_file(${desktop}/copyright.in ${generated}/copyright @ONLY)
execute_process(COMMAND date -u -R -d "${LIVRANO_RELEASE_DATE} 12:00" OUTPUT_VARIABLE LIVRANO_RELEASE_DATE_RFC2822
    OUTPUT_STRIP_TRAILING_WHITESPACE)
configure_file(${desktop}/debian-changelog.in ${generated}/changelog @ONLY)
set(documents ${generated}/changelog.gz ${generated}/CHANGELOG.md.gz)
add_custom_command(OUTPUT ${documents}
    COMMAND gzip -9nc ${generated}/changelog > ${generated}/changelog.gz
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/CHANGELOG.md > ${generated}/CHANGELOG.md.gz
    DEPENDS ${generated}/changelog ${PROJECT_SOURCE_DIR}/CHANGELOG.md)
install(FILES ${generated}/copyright ${documents} DESTINATION ${docs})

# Manual pages made from the programs' own --help and --version, when help2man is there. The
# page of livrano-cli adds a section for every command made of its `help COMMAND` text
# (man-commands.sh), so that no word of the page is written twice.
find_program(HELP2MAN help2man)
if(HELP2MAN)
    set(man ${PROJECT_BINARY_DIR}/man)
    add_custom_command(OUTPUT ${man}/livrano-cli.commands
        COMMAND ${CMAKE_COMMAND} -E make_directory ${man}
        COMMAND ${PROJECT_SOURCE_DIR}/cmake/man-commands.sh $<TARGET_FILE:livrano-cli> ${man}/livrano-cli.commands
        DEPENDS livrano-cli ${PROJECT_SOURCE_DIR}/cmake/man-commands.sh
        VERBATIM)
    set(pages)
    set(programs livrano-cli "work with Livrano's repaints, configurations and textures without a window"
        ${man}/livrano-cli.commands)
    if(TARGET livrano)
        list(APPEND programs livrano "turn a painted livery into an installable Flight Simulator repaint" "")
    endif()
    while(programs)
        list(POP_FRONT programs program name include)
        set(page ${man}/${program}.1)
        add_custom_command(OUTPUT ${page}.gz
            COMMAND ${CMAKE_COMMAND} -E make_directory ${man}
            COMMAND ${HELP2MAN} --no-info --no-discard-stderr --name ${name} "$<$<BOOL:${include}>:--include=${include}>"
                --output ${page} $<TARGET_FILE:${program}>
            COMMAND gzip -9nf ${page}
            DEPENDS ${program} ${include}
            VERBATIM COMMAND_EXPAND_LISTS)
        list(APPEND pages ${page}.gz)
    endwhile()
    install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    list(APPEND documents ${pages})
else()
    message(STATUS "help2man not found: no manual pages (scripts/install-deps.sh installs it)")
endif()
add_custom_target(livrano_documents ALL DEPENDS ${documents})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME livrano)
set(CPACK_PACKAGE_VENDOR "Corvane Software")
set(CPACK_PACKAGE_CONTACT ${LIVRANO_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${LIVRANO_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn a painted livery into an installable Flight Simulator repaint")
set(CPACK_PACKAGE_DESCRIPTION "Livrano cuts a livery painted on one flat template bitmap into an
aircraft's textures, converts them to the simulator's texture format, gives
the new livery its folders and adds it to the aircraft's aircraft.cfg. It
works on simulators installed under Wine or Proton. The package holds the
window program (livrano) and the command-line tool (livrano-cli).")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window needs a platform plugin, which no library links; the screens are designed in Tahoma,
# and the Help button opens the manual with xdg-open.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wine, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
