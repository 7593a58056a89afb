# Both Windows builds: SETUP.EXE without a C runtime; the x86_64 build also builds the
# Windows-side tests and tools (windows-tests.cmake), which link the C++ runtime and
# GoogleTest. With SHIPPED_EXE_TESTS (the i686-tests preset) only the tools and the
# whole-program tests are built, for i686: they run the executables that the i686 preset
# built, the ones that ship.
option(SHIPPED_EXE_TESTS "Build only the tools and whole-program tests for out/i686/SETUP.EXE" OFF)

set(PRODUCT_FLAGS -Os -ffreestanding -fno-exceptions -fno-rtti -fno-threadsafe-statics
    -fno-asynchronous-unwind-tables -fno-stack-protector -fno-ident)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  list(APPEND PRODUCT_FLAGS -march=i486 -mtune=i486)
  set(ENTRY_SYMBOL _WinMainCRTStartup)
  set(OUT_DIR ${CMAKE_SOURCE_DIR}/out/i686 CACHE PATH "")
else()
  set(ENTRY_SYMBOL WinMainCRTStartup)
  set(OUT_DIR ${CMAKE_SOURCE_DIR}/out/x86_64 CACHE PATH "")
endif()

# LZ32 first: MinGW's KERNEL32 import library also defines the LZ functions, which Windows 95
# exports from LZ32.DLL only.
set(SYSTEM_LIBS lz32 kernel32 user32 gdi32 advapi32 comdlg32)
set(RESOURCE_FILE ${CMAKE_SOURCE_DIR}/resources/setup.rc)
file(GLOB RESOURCE_DEPENDS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.h ${CMAKE_SOURCE_DIR}/resources/*.rc
     ${CMAKE_SOURCE_DIR}/resources/art/*)
set_source_files_properties(${RESOURCE_FILE} PROPERTIES OBJECT_DEPENDS "${RESOURCE_DEPENDS}")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR}/resources -I${CMAKE_SOURCE_DIR}/src")

if(SHIPPED_EXE_TESTS)
  include(${CMAKE_SOURCE_DIR}/cmake/windows-tests.cmake)
  return()
endif()

# No resource id may be given twice where it must be unique (ids, templates, string table).
set(RESOURCE_CHECK_STAMP ${CMAKE_BINARY_DIR}/resource-ids.ok)
add_custom_command(OUTPUT ${RESOURCE_CHECK_STAMP}
    COMMAND python3 ${CMAKE_SOURCE_DIR}/resources/check-ids ${CMAKE_SOURCE_DIR}/resources
            ${RESOURCE_CHECK_STAMP}
    DEPENDS ${CMAKE_SOURCE_DIR}/resources/check-ids ${CMAKE_SOURCE_DIR}/resources/resource.h
            ${CMAKE_SOURCE_DIR}/resources/setup.rc ${CMAKE_SOURCE_DIR}/resources/dialogs.rc
    COMMENT "Checking resource ids")
add_custom_target(resource_ids DEPENDS ${RESOURCE_CHECK_STAMP})

add_executable(setup WIN32 ${PURE_SOURCES} ${WIN_SOURCES} ${RUNTIME_ONLY_SOURCES} ${RESOURCE_FILE})
set_target_properties(setup PROPERTIES OUTPUT_NAME SETUP SUFFIX .EXE)
add_dependencies(setup resource_ids)
target_include_directories(setup PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/resources)
target_compile_definitions(setup PRIVATE SETUP_FREESTANDING=1)
target_compile_options(setup PRIVATE ${PRODUCT_FLAGS} ${WARNINGS})
set(CMAKE_CXX_STANDARD_LIBRARIES "")
target_link_options(setup PRIVATE -nostdlib -s -Wl,-e,${ENTRY_SYMBOL}
    -Wl,--subsystem,windows:4.0,--major-os-version,4,--minor-os-version,0
    -Wl,--major-subsystem-version,4,--minor-subsystem-version,0)
target_link_libraries(setup PRIVATE ${SYSTEM_LIBS} gcc)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  # The shipping executable must load on a bare Windows 95 and run on a 486; one that does
  # not is never copied to out/.
  add_custom_command(TARGET setup POST_BUILD
      COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/win9x/check_win9x.py
              --objdump i686-w64-mingw32-objdump $<TARGET_FILE:setup>
      COMMENT "Windows 95/98 fidelity check of SETUP.EXE")
  # A change of the check or its lists re-links, and so re-checks, the program.
  file(GLOB WIN9X_CHECK_FILES ${CMAKE_SOURCE_DIR}/tools/win9x/*.py ${CMAKE_SOURCE_DIR}/tools/win9x/*.txt)
  set_property(TARGET setup APPEND PROPERTY LINK_DEPENDS ${WIN9X_CHECK_FILES})
endif()
add_custom_command(TARGET setup POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${OUT_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:setup> ${OUT_DIR}/SETUP.EXE)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  return()
endif()

include(${CMAKE_SOURCE_DIR}/cmake/windows-tests.cmake)
