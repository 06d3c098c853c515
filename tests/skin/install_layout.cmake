# SPDX-License-Identifier: MIT
# Installs the build into a fresh prefix and checks the layout: the programs in bin/, their
# read-only files in share/livrano/, the desktop's files, and none of the folders the program writes.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX} OUTPUT_QUIET RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${result})")
endif()
set(expected bin/livrano bin/livrano-cli share/livrano/Livrano.pdf share/livrano/Data/airlines.cfg
    share/applications/com.corvanesoftware.Livrano.desktop share/metainfo/com.corvanesoftware.Livrano.metainfo.xml
    share/icons/hicolor/scalable/apps/com.corvanesoftware.Livrano.svg share/bash-completion/completions/livrano-cli
    share/doc/livrano/copyright)
foreach(file IN LISTS MEDIA)
    list(APPEND expected share/livrano/Media/${file})
endforeach()
foreach(file IN LISTS expected)
    if(NOT EXISTS ${PREFIX}/${file} OR IS_DIRECTORY ${PREFIX}/${file})
        message(FATAL_ERROR "missing ${file}")
    endif()
endforeach()
file(GLOB_RECURSE installed LIST_DIRECTORIES true "${PREFIX}/*")
set(written ${installed})
list(FILTER written INCLUDE REGEX "/(Aircraft Configurations|TempBitmaps|Templates)$")
if(written)
    message(FATAL_ERROR "the prefix holds folders the program writes: ${written}")
endif()
file(STRINGS ${PREFIX}/share/livrano/Data/airlines.cfg callsigns)
list(LENGTH callsigns count)
if(count LESS 24)
    message(FATAL_ERROR "airlines.cfg holds only ${count} callsigns")
endif()
file(REMOVE_RECURSE ${PREFIX})
