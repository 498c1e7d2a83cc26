# `cmake --install` gives a working installation: installs the build into a fresh prefix, then
# runs `morvane` through its link on the PATH, which must find the plug-in, the post-processor
# libraries, the converters and the translations of the installed host directory.
# Arguments: BUILD, PREFIX, SOURCE, BINDIR, LIBDIR.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(failed)
    message(FATAL_ERROR "cmake --install failed:\n${log}")
endif()
set(host ${PREFIX}/${LIBDIR}/morvane)
foreach(file ${host}/morvane ${host}/Dll/MorvaneNCIReader.so ${host}/Dll/MorvanePost.so
        ${host}/Converters/Fanuc.conv ${host}/Converters/Fanuc-longhand.conv
        ${host}/Converters/Heidenhain.conv ${host}/locale/de.conf
        ${PREFIX}/${LIBDIR}/libmorvane.so ${PREFIX}/include/morvane/plugin_api.h)
    if(NOT EXISTS ${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
if(NOT IS_SYMLINK ${PREFIX}/${BINDIR}/morvane)
    message(FATAL_ERROR "${PREFIX}/${BINDIR}/morvane is not a link into the host directory")
endif()

set(config ${PREFIX}/config)
function(run_installed expected_output)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${config} --unset=MORVANE_PLUGIN
                            ${PREFIX}/${BINDIR}/morvane ${ARGN}
                    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "morvane ${ARGN} failed (${status}):\n${err}")
    endif()
    string(FIND "${out}" "${expected_output}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "morvane ${ARGN} did not print '${expected_output}':\n${out}")
    endif()
    set(run_output "${out}" PARENT_SCOPE)
endfunction()

run_installed("plug-in Morvane 0.0.0.1 (${PREFIX}/${LIBDIR}/libmorvane.so)" --version)
run_installed("Converters in ${host}/Converters:" converters)
run_installed("Fanuc.conv" converters)
# The whole chain (plug-in, post-processor, converter) through converters of the installation,
# and the German translation found by name: the square's first side in each output.
run_installed("N80 X40. F400." convert ${SOURCE}/examples/square.nci -c Fanuc-longhand --longhand
              --locale de)
run_installed("7 L X+40 F400" convert ${SOURCE}/examples/square.nci -c Heidenhain --longhand)
file(REMOVE_RECURSE ${PREFIX})
