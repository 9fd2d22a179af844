# tessary_layer(<folder> <lower layers...>): the sources of src/<folder> as the static library
# tessary_<folder>, linking only the layers named after it.
set(TESSARY_SRC_DIR ${CMAKE_CURRENT_LIST_DIR}/../src)

function(tessary_layer folder)
  file(GLOB sources CONFIGURE_DEPENDS ${TESSARY_SRC_DIR}/${folder}/*.cpp
       ${TESSARY_SRC_DIR}/${folder}/*.h ${TESSARY_SRC_DIR}/${folder}/*.qrc)
  list(FILTER sources EXCLUDE REGEX ".*/app/main\\.cpp$")
  add_library(tessary_${folder} STATIC ${sources})
  target_include_directories(tessary_${folder} PUBLIC ${TESSARY_SRC_DIR})
  set(deps)
  foreach(lower ${ARGN})
    list(APPEND deps tessary_${lower})
  endforeach()
  target_link_libraries(tessary_${folder} PUBLIC ${deps})
endfunction()

# The bottom layer: the system services, on Qt alone.
function(tessary_platform_layer version)
  tessary_layer(platform)
  target_link_libraries(tessary_platform PUBLIC Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport)
  target_compile_definitions(tessary_platform PUBLIC TESSARY_VERSION="${version}")
endfunction()

# The RTF codec on the services: what the fuzz target needs, and no widgets.
function(tessary_codec_layers version)
  tessary_platform_layer(${version})
  tessary_layer(rtf platform)
endfunction()
