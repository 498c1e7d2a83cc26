# What `cmake --install` gives another CMake project, and the Debian package of an installation.
#
# find_package(Morvane 1 REQUIRED) gives Morvane::plugin_api (the C header of the plug-in and the
# post-processor's entry points) and Morvane::core (the C++ API, include/morvane/convert.hpp,
# with its static libraries). The targets are the build's own; their include directories and
# their link to the warning flags are the build tree's only.
include(CMakePackageConfigHelpers)

# morvane_package_target(TARGET...): installs the targets into the export set, their include
# directories those of the build tree only (the installed headers are under include/).
function(morvane_package_targets)
    foreach(target IN LISTS ARGN)
        get_target_property(includes ${target} INTERFACE_INCLUDE_DIRECTORIES)
        set(wrapped)
        foreach(directory IN LISTS includes)
            if(directory AND NOT directory MATCHES "^\\$<")
                list(APPEND wrapped "$<BUILD_INTERFACE:${directory}>")
            elseif(directory)
                list(APPEND wrapped "${directory}")
            endif()
        endforeach()
        list(APPEND wrapped "$<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>")
        set_property(TARGET ${target} PROPERTY INTERFACE_INCLUDE_DIRECTORIES "${wrapped}")
        get_target_property(links ${target} INTERFACE_LINK_LIBRARIES)
        if(links)
            string(REPLACE "$<LINK_ONLY:morvane_warnings>" "$<LINK_ONLY:$<BUILD_INTERFACE:morvane_warnings>>"
                   links "${links}")
            set_property(TARGET ${target} PROPERTY INTERFACE_LINK_LIBRARIES "${links}")
        endif()
    endforeach()
    install(TARGETS ${ARGN} EXPORT MorvaneTargets
            ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
            INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
endfunction()

set_target_properties(morvane_api PROPERTIES EXPORT_NAME plugin_api)
set_target_properties(morvane_core PROPERTIES EXPORT_NAME core)
set_target_properties(morvane_files PROPERTIES EXPORT_NAME files)
# readProgramFile (convert.hpp) reads through the file services: in the build only what needs
# them links them; an installed Morvane::core brings them.
target_link_libraries(morvane_core INTERFACE $<INSTALL_INTERFACE:Morvane::files>)
# A sanitized build's libraries need the sanitizers' run-time in whatever links them.
if(MORVANE_SANITIZE)
    target_link_options(morvane_core INTERFACE $<INSTALL_INTERFACE:-fsanitize=address,undefined>)
endif()
morvane_package_targets(morvane_api morvane_core morvane_text morvane_nci morvane_writer
                        morvane_cycles morvane_parsers morvane_formats morvane_frontend
                        morvane_files)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/morvane DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
set(_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Morvane)
install(EXPORT MorvaneTargets NAMESPACE Morvane:: DESTINATION ${_cmake_dir})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/MorvaneConfig.cmake.in
    ${CMAKE_BINARY_DIR}/MorvaneConfig.cmake INSTALL_DESTINATION ${_cmake_dir})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/MorvaneConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/MorvaneConfig.cmake ${CMAKE_BINARY_DIR}/MorvaneConfigVersion.cmake
        DESTINATION ${_cmake_dir})

# cpack -G DEB (from a build of the release preset): everything `cmake --install` installs,
# under /usr.
set(CPACK_PACKAGE_NAME morvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "converts CNC programs (Heidenhain, Fanuc, Siemens, Sinumerik, G&L Numeripath) into NCI text")
set(CPACK_PACKAGE_CONTACT "Morvane developers <morvane@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= 2.36), libstdc++6 (>= 12), libgcc-s1")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_GENERATOR DEB)
include(CPack)
