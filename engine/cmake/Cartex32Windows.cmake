# cartex32.dll: the engine's objects linked for 32-bit Windows with the .def
# file Cartex32WindowsDef.cmake writes (plain names, each an alias of its
# __stdcall symbol), the C and C++ runtimes of GCC linked in, so that the
# DLL needs nothing but system DLLs (KERNEL32, USER32, GDI32, msvcrt).

if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
  message(FATAL_ERROR "cartex32.dll is a 32-bit library; use cmake/toolchain-mingw-i686.cmake")
endif()

set(CARTEX32_OBJECT_LIST "${CMAKE_CURRENT_BINARY_DIR}/cartex32-objects.txt")
file(GENERATE OUTPUT "${CARTEX32_OBJECT_LIST}"
     CONTENT "$<JOIN:$<TARGET_OBJECTS:cartex32_objects>,\n>\n")
set(CARTEX32_LINK_DEF "${CMAKE_CURRENT_BINARY_DIR}/cartex32-link.def")
add_custom_command(
  OUTPUT "${CARTEX32_LINK_DEF}"
  COMMAND "${CMAKE_COMMAND}" -DNM=${CMAKE_NM} -DDEF_IN=${CMAKE_CURRENT_BINARY_DIR}/cartex32.def
          -DOBJECT_LIST=${CARTEX32_OBJECT_LIST} -DOUTPUT=${CARTEX32_LINK_DEF}
          -P "${CMAKE_CURRENT_SOURCE_DIR}/cmake/Cartex32WindowsDef.cmake"
  DEPENDS cartex32_objects $<TARGET_OBJECTS:cartex32_objects>
          "${CMAKE_CURRENT_BINARY_DIR}/cartex32.def" "${CARTEX32_OBJECT_LIST}"
          "${CMAKE_CURRENT_SOURCE_DIR}/cmake/Cartex32WindowsDef.cmake"
  COMMENT "Writing the export table of cartex32.dll"
  VERBATIM)

add_library(cartex32 SHARED $<TARGET_OBJECTS:cartex32_objects> "${CARTEX32_LINK_DEF}")
target_include_directories(cartex32 PUBLIC
  "$<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include>"
  "$<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>")
target_link_libraries(cartex32 PRIVATE user32 gdi32)
target_link_options(cartex32 PRIVATE -static-libgcc -static-libstdc++ "LINKER:--no-undefined")
set_target_properties(cartex32 PROPERTIES
  PREFIX ""
  OUTPUT_NAME cartex32
  PUBLIC_HEADER "${CMAKE_CURRENT_SOURCE_DIR}/include/cartex32.h")

install(TARGETS cartex32
  RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT cartex32
  PUBLIC_HEADER DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}" COMPONENT cartex32)
