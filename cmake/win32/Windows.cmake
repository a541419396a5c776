# The Windows builds (cross-built with mingw-w64; the 64-bit one is tested under wine). The third-party
# libraries come from ORB_WIN32_THIRD_PARTY, which cmake/win32/third-party.sh fills.
if(NOT ORB_WIN32_THIRD_PARTY OR NOT EXISTS ${ORB_WIN32_THIRD_PARTY}/lib/libcrypto.a)
  message(FATAL_ERROR "ORB_WIN32_THIRD_PARTY must name the folder cmake/win32/third-party.sh built (use `make windows`)")
endif()

# The test programs of this build run under wine, in a prefix of the build's own.
set(ORB_WINEPREFIX ${CMAKE_BINARY_DIR}/wine)
# Debian keeps the 64-bit loader out of PATH.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  find_program(ORB_WINE NAMES wine64 PATHS /usr/lib/wine /usr/lib64/wine NO_CACHE)
endif()
if(NOT ORB_WINE)
  find_program(ORB_WINE NAMES wine NO_CACHE)
endif()
configure_file(${CMAKE_SOURCE_DIR}/cmake/win32/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

# Every file runs on a bare Windows: the compiler's runtime (libgcc, libstdc++, winpthread) is linked in.
add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)

# Windows names its libraries as they are: BemaFI32.dll, Orb00100.dll.
set(CMAKE_SHARED_LIBRARY_PREFIX "")
set(CMAKE_IMPORT_LIBRARY_PREFIX "")
# Libraries sit beside the programs that load them, as Windows looks for them.
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

set(OPENSSL_USE_STATIC_LIBS TRUE)
set(OPENSSL_ROOT_DIR ${ORB_WIN32_THIRD_PARTY})
find_package(OpenSSL REQUIRED COMPONENTS Crypto)
set_property(TARGET OpenSSL::Crypto APPEND PROPERTY INTERFACE_LINK_LIBRARIES ws2_32 crypt32 bcrypt)
find_package(SQLite3 REQUIRED)
find_package(pugixml REQUIRED)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
                      INTERFACE_INCLUDE_DIRECTORIES ${ORB_WIN32_THIRD_PARTY}/include)
set(CMAKE_DL_LIBS "")

# The module: Orb00100.dll exports what the export table names, through a module-definition file
# written from the static library's symbols by orb_exportmap. The table is the same on every
# platform, so the development build's own orb_exportmap writes it (a Windows program could not
# run on a machine without a Windows of the same width).
set(ORB_HOST_EXPORTMAP "" CACHE FILEPATH "orb_exportmap of a native build of this tree")
if(NOT EXISTS "${ORB_HOST_EXPORTMAP}")
  message(FATAL_ERROR "ORB_HOST_EXPORTMAP must name orb_exportmap of a native build (use `make windows`)")
endif()
function(orb_windows_module)
  set(def ${CMAKE_BINARY_DIR}/Orb00100.def)
  add_custom_command(OUTPUT ${def}
    COMMAND ${ORB_HOST_EXPORTMAP} ${CMAKE_NM} $<TARGET_FILE:orb00100_static> ${def}
    DEPENDS orb00100_static ${ORB_HOST_EXPORTMAP}
    COMMENT "Writing the export list of Orb00100.dll from the export table"
    VERBATIM)
  add_custom_target(orb00100_export_map DEPENDS ${def})
  add_library(orb00100 SHARED ${ORB_MODULE_OBJECTS} ${def})
  target_link_libraries(orb00100 PRIVATE ${ORB_MODULE_LIBRARIES})
  target_link_options(orb00100 PRIVATE -Wl,--kill-at)
  set_target_properties(orb00100 PROPERTIES OUTPUT_NAME Orb00100)
  add_dependencies(orb00100 orb00100_export_map)
endfunction()
