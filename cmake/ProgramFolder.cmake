# The program folder: Data/airlines.cfg, the empty working folders, Media/ and Livrano.pdf
# beside the executables. The build tree gets one under build/<preset>/program (the media are
# drawn there by tools/media), and `cmake --install` lays one out at the install prefix.

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

install(TARGETS livrano-cli RUNTIME DESTINATION .)
if(TARGET livrano)
    install(TARGETS livrano RUNTIME DESTINATION .)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/data/airlines.cfg DESTINATION Data)
foreach(folder IN LISTS LIVRANO_EMPTY_FOLDERS)
    install(DIRECTORY DESTINATION "${folder}")
endforeach()
if(LIVRANO_GUI)
    foreach(file IN LISTS LIVRANO_MEDIA_FILES)
        install(FILES ${LIVRANO_PROGRAM_DIR}/Media/${file} DESTINATION Media)
    endforeach()
    install(FILES ${LIVRANO_PROGRAM_DIR}/Livrano.pdf DESTINATION .)
endif()
