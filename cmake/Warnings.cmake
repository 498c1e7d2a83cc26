# Project-wide warnings; every target of ours is -Wall -Wextra -Wpedantic clean.
add_library(morvane_warnings INTERFACE)
target_compile_options(morvane_warnings INTERFACE
    $<$<COMPILE_LANG_AND_ID:CXX,GNU,Clang>:-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor>
    $<$<COMPILE_LANG_AND_ID:C,GNU,Clang>:-Wall -Wextra -Wpedantic>)

# CI builds turn every warning into an error (the presets set this from the CI environment), so
# a warning cannot slip in unnoticed; a developer's build only shows them.
option(MORVANE_WERROR "Treat compiler warnings as errors" OFF)
if(MORVANE_WERROR)
    target_compile_options(morvane_warnings INTERFACE -Werror)
endif()
