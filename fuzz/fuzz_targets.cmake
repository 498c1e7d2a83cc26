# The fuzz targets and what each is built from, shared by the libFuzzer build (fuzz/) and the
# replay tests (tests/robustness). fuzz/run reads the list below: keep it on one line.
set(MORVANE_FUZZ_TARGETS fanuc heidenhain siemens sinumerik numeripath config_string converter_file post nci_path)
# The hang hunters convert with the product's own bounds in a build without the sanitizers
# (fuzz/CMakeLists.txt); the replay tests leave them out. fuzz/run reads this line too.
set(MORVANE_HANG_TARGETS hang_fanuc hang_heidenhain)
set(MORVANE_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})

# Format-list positions of the dialect targets.
set(MORVANE_FUZZ_FORMAT_fanuc 0)
set(MORVANE_FUZZ_FORMAT_heidenhain 1)
set(MORVANE_FUZZ_FORMAT_siemens 2)
set(MORVANE_FUZZ_FORMAT_sinumerik 3)
set(MORVANE_FUZZ_FORMAT_numeripath 4)
set(MORVANE_FUZZ_FORMAT_hang_fanuc 0)
set(MORVANE_FUZZ_FORMAT_hang_heidenhain 1)

# Adds the entry point of fuzz target `name` and what it needs to the executable `exe`.
function(morvane_fuzz_target_sources exe name)
    target_sources(${exe} PRIVATE ${MORVANE_FUZZ_DIR}/fuzz_support.cpp
                   ${PROJECT_SOURCE_DIR}/tests/support/nci_check.cpp)
    target_include_directories(${exe} PRIVATE ${MORVANE_FUZZ_DIR} ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${exe} PRIVATE morvane_core morvane_warnings)
    if(DEFINED MORVANE_FUZZ_FORMAT_${name})
        target_sources(${exe} PRIVATE ${MORVANE_FUZZ_DIR}/program_fuzzer.cpp)
        target_compile_definitions(${exe} PRIVATE
            MORVANE_FUZZ_FORMAT=${MORVANE_FUZZ_FORMAT_${name}})
    elseif(name STREQUAL "converter_file")
        target_sources(${exe} PRIVATE ${MORVANE_FUZZ_DIR}/converter_file_fuzzer.cpp)
        target_link_libraries(${exe} PRIVATE morvane_converter_file)
    elseif(name STREQUAL "post")
        target_sources(${exe} PRIVATE ${MORVANE_FUZZ_DIR}/post_fuzzer.cpp)
        target_link_libraries(${exe} PRIVATE morvane_post_engine)
        target_compile_definitions(${exe} PRIVATE
            MORVANE_CONVERTERS_DIR="${PROJECT_SOURCE_DIR}/post/Converters")
    else()
        target_sources(${exe} PRIVATE ${MORVANE_FUZZ_DIR}/${name}_fuzzer.cpp)
    endif()
endfunction()
