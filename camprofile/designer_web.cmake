# The designer page's engine (`make web`, emcmake): camprofile itself, every source of its folder, as one classic
# script with the WebAssembly inside (build/designer.js). Its main is renamed camprofileMain and run by
# designer_web.cpp as often as the page asks; files go to an in-memory file system.
file(GLOB DESIGNER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/camprofile/*.cpp)
# Emscripten 3.1.6's C++ library has no std::to_chars for double: number_format_web.cpp writes the same text.
list(REMOVE_ITEM DESIGNER_SOURCES ${CMAKE_SOURCE_DIR}/camprofile/number_format.cpp)

# CLI11 and nlohmann-json are header-only: Debian's headers, seen through a folder of their own so that no other
# host header reaches Emscripten's compiler.
set(HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
foreach(library CLI nlohmann)
  if(NOT EXISTS /usr/include/${library})
    message(FATAL_ERROR "/usr/include/${library} is missing: install libcli11-dev and nlohmann-json3-dev")
  endif()
  file(MAKE_DIRECTORY ${HOST_HEADERS})
  file(CREATE_LINK /usr/include/${library} ${HOST_HEADERS}/${library} SYMBOLIC)
endforeach()

add_executable(designer ${DESIGNER_SOURCES})
target_include_directories(designer SYSTEM PRIVATE ${HOST_HEADERS})
# Only main.cpp defines main; the name is changed in every file so that designer_web.cpp can call it.
target_compile_definitions(designer PRIVATE main=camprofileMain)
target_link_libraries(designer PRIVATE camdesign curves)
target_link_options(designer PRIVATE -sSINGLE_FILE=1 -sMODULARIZE=1 -sEXPORT_NAME=createDesigner
                    -sENVIRONMENT=web -sFORCE_FILESYSTEM=1 -sALLOW_MEMORY_GROWTH=1
                    -sEXPORTED_FUNCTIONS=_designerRun,_designerStdout,_designerStderr
                    -sEXPORTED_RUNTIME_METHODS=ccall,UTF8ToString,FS)
set_target_properties(designer PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
