# The layers of the product are static libraries, one per folder of src/. A layer's headers are
# reached only through its target: morvane_layer(TARGET FOLDER) gives TARGET the include root
# build/layers/TARGET, which holds one link, FOLDER -> src/FOLDER, so "nci/limits.h" still names
# src/nci/limits.h. A target sees its own folder and the folders of the layers it links; an
# include of any other layer fails to compile.
function(morvane_layer target folder)
    set(root ${CMAKE_BINARY_DIR}/layers/${target})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
    target_include_directories(${target} PUBLIC ${root})
    target_link_libraries(${target} PRIVATE morvane_warnings)
endfunction()

# The public headers (include/morvane): the plug-in interface and the post-processor's entry
# points. Every layer that speaks them links this.
add_library(morvane_api INTERFACE)
target_include_directories(morvane_api INTERFACE ${PROJECT_SOURCE_DIR}/include)
