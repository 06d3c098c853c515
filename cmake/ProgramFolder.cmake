# SPDX-License-Identifier: MIT
# The program folder: Data/airlines.cfg, the empty working folders, Media/ and Livrano.pdf
# beside the executables. The build tree gets one under build/<preset>/program (the media are
# drawn there by tools/media), from which the binaries of the build tree work.

set(LIVRANO_EMPTY_FOLDERS "Aircraft Configurations" TempBitmaps Templates)

add_custom_command(OUTPUT ${LIVRANO_PROGRAM_DIR}/Data/airlines.cfg
    COMMAND ${CMAKE_COMMAND} -E make_directory ${LIVRANO_PROGRAM_DIR}/Data
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/data/airlines.cfg ${LIVRANO_PROGRAM_DIR}/Data/airlines.cfg
    DEPENDS ${PROJECT_SOURCE_DIR}/data/airlines.cfg
    VERBATIM)
add_custom_target(livrano_program_folder ALL DEPENDS ${LIVRANO_PROGRAM_DIR}/Data/airlines.cfg)
foreach(folder IN LISTS LIVRANO_EMPTY_FOLDERS)
    add_custom_command(TARGET livrano_program_folder POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E make_directory "${LIVRANO_PROGRAM_DIR}/${folder}" VERBATIM)
endforeach()

# Windows installs the program folder itself: the executables beside their files, the whole
# inside the simulator. Elsewhere the programs go to bin/ and their read-only files to
# share/livrano/, which `livrano-cli setup` copies into a program folder inside the simulator.
if(WIN32)
    install(TARGETS livrano-cli RUNTIME DESTINATION .)
    if(TARGET livrano)
        install(TARGETS livrano RUNTIME DESTINATION .)
    endif()
    install(FILES ${PROJECT_SOURCE_DIR}/data/airlines.cfg DESTINATION Data)
    foreach(folder IN LISTS LIVRANO_EMPTY_FOLDERS)
        install(DIRECTORY DESTINATION "${folder}")
    endforeach()
    set(LIVRANO_SHARED_DIR .)
else()
    include(GNUInstallDirs)
    install(TARGETS livrano-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    if(TARGET livrano)
        install(TARGETS livrano RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
    # The programs look for their files at ../share/livrano from their own folder.
    set(LIVRANO_SHARED_DIR ${CMAKE_INSTALL_DATADIR}/livrano)
    install(FILES ${PROJECT_SOURCE_DIR}/data/airlines.cfg DESTINATION ${LIVRANO_SHARED_DIR}/Data)
endif()
if(LIVRANO_GUI)
    foreach(file IN LISTS LIVRANO_MEDIA_FILES)
        install(FILES ${LIVRANO_PROGRAM_DIR}/Media/${file} DESTINATION ${LIVRANO_SHARED_DIR}/Media)
    endforeach()
    install(FILES ${LIVRANO_PROGRAM_DIR}/Livrano.pdf DESTINATION ${LIVRANO_SHARED_DIR})
endif()
