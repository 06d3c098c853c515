# SPDX-License-Identifier: MIT
# The compiler and linker flags Debian builds its own packages with, every hardening feature on
# (dpkg-buildflags): the stack protector, fortified C library calls, relocations made read-only
# and bound when the program starts. `make package` packs the default build, so an optimised
# build gets them; a debug build does not, since fortified calls need the optimiser, and neither
# do the sanitizer and fuzz builds, which bring their own instrumentation. The project compiles
# no C, so CFLAGS has nothing to reach.
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(DPKG_BUILDFLAGS AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo)$" AND NOT LIVRANO_SANITIZE
   AND NOT LIVRANO_FUZZ)
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
        # From the source folder, so that -ffile-prefix-map writes the sources' paths relative
        # to it, as a Debian build does.
        execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                ${DPKG_BUILDFLAGS} --get ${kind}
            WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
            COMMAND_ERROR_IS_FATAL ANY)
        separate_arguments(LIVRANO_DEB_${kind} UNIX_COMMAND "${flags}")
    endforeach()
    set(flags ${LIVRANO_DEB_CPPFLAGS} ${LIVRANO_DEB_CXXFLAGS} ${LIVRANO_DEB_LDFLAGS})
    add_compile_options(${LIVRANO_DEB_CPPFLAGS} ${LIVRANO_DEB_CXXFLAGS})
    add_link_options(${LIVRANO_DEB_LDFLAGS})
    list(JOIN flags " " shown)
    message(STATUS "Debian's build flags: ${shown}")
endif()
