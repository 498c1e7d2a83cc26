# Project-wide warnings; every target of ours is -Wall -Wextra -Wpedantic clean.
add_library(morvane_warnings INTERFACE)
target_compile_options(morvane_warnings INTERFACE
    $<$<COMPILE_LANG_AND_ID:CXX,GNU,Clang>:-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor>
    $<$<COMPILE_LANG_AND_ID:C,GNU,Clang>:-Wall -Wextra -Wpedantic>)
