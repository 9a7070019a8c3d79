# The designer page's engine (`make web`, emcmake): camprofile itself, every source of its folder, with the cam
# library, as one classic script with the WebAssembly inside (build/camprofile.js). Its main is renamed
# camprofileMain and run by designer_web.cpp as often as the page asks; files go to an in-memory file system.

# camprofile reports bad input by exceptions, thrown as deep as the cam library: WebAssembly's own (JavaScript's
# emulation makes every call that may throw a trip out to JavaScript and back).
add_compile_options(-fwasm-exceptions)
add_link_options(-fwasm-exceptions)
# Emscripten 3.1.6's C++ library (Debian 12) has no std::to_chars for double; 3.1.69's (Debian 13) has.
include(CheckCXXSourceCompiles)
check_cxx_source_compiles("#include <charconv>
int main() { char t[32]; return std::to_chars(t, t + 32, 0.5, std::chars_format::general).ptr == t; }"
                          HAVE_TO_CHARS_DOUBLE)
if(NOT HAVE_TO_CHARS_DOUBLE)
  add_compile_options(-include ${CMAKE_SOURCE_DIR}/camprofile/to_chars_web.h)
endif()
add_subdirectory(camdesign)

# CLI11 and nlohmann-json are header-only: Debian's headers, seen through a folder of their own so that no other
# host header reaches Emscripten's compiler.
set(HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${HOST_HEADERS})
foreach(library CLI nlohmann)
  if(NOT EXISTS /usr/include/${library})
    message(FATAL_ERROR "/usr/include/${library} is missing: install libcli11-dev and nlohmann-json3-dev")
  endif()
  file(CREATE_LINK /usr/include/${library} ${HOST_HEADERS}/${library} SYMBOLIC)
endforeach()

file(GLOB DESIGNER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/camprofile/*.cpp)
add_executable(designer ${DESIGNER_SOURCES})
target_include_directories(designer SYSTEM PRIVATE ${HOST_HEADERS})
# Only main.cpp defines main; the name is changed in every file so that designer_web.cpp can call it.
target_compile_definitions(designer PRIVATE main=camprofileMain)
target_link_libraries(designer PRIVATE camdesign curves)
# Most of the folder's bytes: optimised for size. The numbers do not change with it: without fast-math every
# WebAssembly operation rounds as IEEE 754 says, at any optimisation level.
target_compile_options(designer PRIVATE -Os)
target_link_options(designer PRIVATE -Os)
target_link_options(designer PRIVATE -sSINGLE_FILE=1 -sMODULARIZE=1 -sEXPORT_NAME=createDesigner
                    -sENVIRONMENT=web -sFORCE_FILESYSTEM=1 -sALLOW_MEMORY_GROWTH=1
                    -sEXPORTED_FUNCTIONS=_designerRun,_designerStdout,_designerStderr,_designerTurn,_designerTurnValues
                    -sEXPORTED_RUNTIME_METHODS=ccall,UTF8ToString,FS,HEAPF64)
set_target_properties(designer PROPERTIES SUFFIX ".js" OUTPUT_NAME camprofile RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
