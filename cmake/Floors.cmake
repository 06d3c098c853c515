# SPDX-License-Identifier: MIT
# The floors of src/, kept by the compiler: each folder is one target, and its headers are found
# only through an include root of its own, build/<preset>/floors/FOLDER, which holds one link,
# FOLDER -> src/FOLDER. A folder library makes that root public, so it reaches the targets that
# link the library and no others: an include of a folder that is not below ("texture/" in
# src/aircraft/) finds no such file. An include of the same folder's file by its bare name, or by
# a path relative to the including file, still works. scripts/check-floors.py (ctest
# IncludeFloors) holds the same floors and names every include that breaks one.

# The include root that shows `folder` alone, made at configure time. Where a symbolic link cannot
# be made (Windows without the right to make one), the root is src/ itself: the build then shows
# every folder and only IncludeFloors keeps the floors.
function(livrano_floor_root folder out)
    set(root ${PROJECT_BINARY_DIR}/floors/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} RESULT failed SYMBOLIC)
    if(failed)
        message(STATUS "No link for the floor of src/${folder} (${failed}): it sees all of src/")
        set(root ${PROJECT_SOURCE_DIR}/src)
    endif()
    set(${out} ${root} PARENT_SCOPE)
endfunction()

# livrano_folder_library(TARGET FOLDER [BELOW...]): a static library of every .cpp of src/FOLDER
# (new file pairs join by being there), on the libraries of the folders below it, which it links
# publicly, so that what links it sees them as well.
function(livrano_folder_library target folder)
    file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp)
    add_library(${target} STATIC ${sources})
    livrano_floor_root(${folder} root)
    target_include_directories(${target} PUBLIC ${root})
    target_compile_options(${target} PRIVATE ${LIVRANO_WARNINGS})
    if(ARGN)
        target_link_libraries(${target} PUBLIC ${ARGN})
    endif()
endfunction()
