# AddressSanitizer and UndefinedBehaviorSanitizer for the whole build; any report aborts the run.
if(MORVANE_SANITIZE)
    set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        # gcc leaves float-cast-overflow out of "undefined"; a double converted to int out of
        # range is exactly the fault we guard against.
        list(APPEND _san -fsanitize=float-cast-overflow)
    endif()
    add_compile_options(${_san})
    add_link_options(${_san})
endif()

# The fuzz build (clang): every target is instrumented for libFuzzer's coverage and sanitized
# alike; only the fuzz targets link libFuzzer's driver (fuzz/CMakeLists.txt).
if(MORVANE_BUILD_FUZZ)
    set(_fuzz -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
              -fno-omit-frame-pointer)
    add_compile_options(${_fuzz})
    add_link_options(-fsanitize=address,undefined)
endif()
