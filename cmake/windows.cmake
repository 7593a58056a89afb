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
  set(CONSOLE_ENTRY_SYMBOL _mainCRTStartup)
  set(OUT_DIR ${CMAKE_SOURCE_DIR}/out/i686 CACHE PATH "")
else()
  set(ENTRY_SYMBOL WinMainCRTStartup)
  set(CONSOLE_ENTRY_SYMBOL mainCRTStartup)
  set(OUT_DIR ${CMAKE_SOURCE_DIR}/out/x86_64 CACHE PATH "")
endif()

# LZ32 first: MinGW's KERNEL32 import library also defines the LZ functions, which Windows 95
# exports from LZ32.DLL only.
set(SYSTEM_LIBS lz32 kernel32 user32 gdi32 advapi32)
set(RESOURCE_FILE ${CMAKE_SOURCE_DIR}/resources/setup.rc)
set(CHECK_RESOURCE_FILE ${CMAKE_SOURCE_DIR}/resources/check.rc)
set(UNINSTALL_RESOURCE_FILE ${CMAKE_SOURCE_DIR}/resources/uninstall.rc)
file(GLOB RESOURCE_DEPENDS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.h ${CMAKE_SOURCE_DIR}/resources/*.rc
     ${CMAKE_SOURCE_DIR}/resources/art/*)
# The artwork: the committed pictures of resources/art for the default identity; for any
# other, resources/draw-art draws them with its texts into kitart/art of the build, which
# the resource compiler then searches first (a directory's include path comes before a
# target's own).
if(NOT SETUP_IDENTITY STREQUAL "${CMAKE_SOURCE_DIR}/resources/identity.ini")
  set(KIT_ART_STAMP ${CMAKE_BINARY_DIR}/kitart/stamp)
  add_custom_command(OUTPUT ${KIT_ART_STAMP}
      COMMAND python3 ${CMAKE_SOURCE_DIR}/resources/draw-art --identity ${SETUP_IDENTITY}
              ${CMAKE_BINARY_DIR}/kitart/art
      COMMAND ${CMAKE_COMMAND} -E touch ${KIT_ART_STAMP}
      DEPENDS ${SETUP_IDENTITY} ${CMAKE_SOURCE_DIR}/resources/draw-art ${CMAKE_SOURCE_DIR}/resources/bmpfile.py ${CMAKE_SOURCE_DIR}/tools/kit/identity.py
      COMMENT "Drawing the artwork of ${SETUP_IDENTITY}")
  list(APPEND RESOURCE_DEPENDS ${KIT_ART_STAMP})
  include_directories(${CMAKE_BINARY_DIR}/kitart)
endif()
# The language of the texts SETUP.EXE and UNINSTAL.EXE show, from the identity's
# [Product] Language: its file of resources/lang/ becomes lang.rc (the templates' texts and
# font, the resources' language and code page), setuptexts.rc and uninstalltexts.rc, here
# when the build is configured and again whenever a language file changes. A text that does
# not fit its buffer stops the build with its line.
execute_process(COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/kit/identity.py value ${SETUP_IDENTITY}
                        Product Language
                OUTPUT_VARIABLE SETUP_LANGUAGE OUTPUT_STRIP_TRAILING_WHITESPACE)
set(LANG_DIR ${CMAKE_BINARY_DIR}/lang)
execute_process(COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/kit/langtexts.py write ${SETUP_LANGUAGE} ${LANG_DIR}
                RESULT_VARIABLE lang_result ERROR_VARIABLE lang_error)
if(lang_result)
  message(FATAL_ERROR "${lang_error}The build stops: fix the language file.")
endif()
file(GLOB LANG_FILES ${CMAKE_SOURCE_DIR}/resources/lang/*.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${LANG_FILES}
             ${CMAKE_SOURCE_DIR}/tools/kit/langtexts.py)
list(APPEND RESOURCE_DEPENDS ${LANG_DIR}/lang.rc ${LANG_DIR}/setuptexts.rc ${LANG_DIR}/uninstalltexts.rc)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR}/resources -I${CMAKE_SOURCE_DIR}/src -I${LANG_DIR}")
set_source_files_properties(${RESOURCE_FILE} ${CHECK_RESOURCE_FILE} ${UNINSTALL_RESOURCE_FILE}
                            PROPERTIES OBJECT_DEPENDS "${RESOURCE_DEPENDS}")

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
            ${CMAKE_SOURCE_DIR}/resources/strings.rc ${CMAKE_SOURCE_DIR}/resources/dialogs.rc
            ${CMAKE_SOURCE_DIR}/resources/uninstall.rc ${CMAKE_SOURCE_DIR}/resources/lang/english.txt
    COMMENT "Checking resource ids")
add_custom_target(resource_ids DEPENDS ${RESOURCE_CHECK_STAMP})

# The code every program of the package shares, built the shipping way. A program links
# only what it uses of it.
add_library(shipcore STATIC ${PURE_SOURCES} ${WIN_SOURCES})
target_include_directories(shipcore PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/resources)
target_compile_definitions(shipcore PRIVATE SETUP_FREESTANDING=1)
target_compile_options(shipcore PRIVATE ${PRODUCT_FLAGS} ${WARNINGS})
set(CMAKE_CXX_STANDARD_LIBRARIES "")

# A program that ships: no C runtime, loadable by Windows 95 (subsystem and OS version 4.0),
# its own sources plus the shared code; the i686 build is refused unless it passes the
# Windows 95/98 fidelity check; copied to out/<arch>/OUTPUT.EXE.
# add_shipping_program(TARGET OUTPUT SUBSYSTEM ENTRY source...)  SUBSYSTEM: windows or console
function(add_shipping_program target output subsystem entry)
  add_executable(${target} ${ARGN})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${output} SUFFIX .EXE)
  add_dependencies(${target} resource_ids)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/resources)
  target_compile_definitions(${target} PRIVATE SETUP_FREESTANDING=1)
  target_compile_options(${target} PRIVATE ${PRODUCT_FLAGS} ${WARNINGS})
  # No base relocations: Windows 95 loads a program at its preferred base, always, and the
  # table would only add to the size.
  target_link_options(${target} PRIVATE -nostdlib -s -Wl,-e,${entry}
      -Wl,--subsystem,${subsystem}:4.0,--major-os-version,4,--minor-os-version,0
      -Wl,--major-subsystem-version,4,--minor-subsystem-version,0
      -Wl,--disable-dynamicbase,--disable-reloc-section)
  target_link_libraries(${target} PRIVATE shipcore ${SYSTEM_LIBS} gcc)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    # The shipping executable must load on a bare Windows 95 and run on a 486; one that
    # does not is never copied to out/.
    set(console_flag "")
    if(subsystem STREQUAL "console")
      set(console_flag --console)
    endif()
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/win9x/check_win9x.py
                --objdump i686-w64-mingw32-objdump ${console_flag} $<TARGET_FILE:${target}>
        COMMENT "Windows 95/98 fidelity check of ${output}.EXE")
    # A change of the check or its lists re-links, and so re-checks, the program.
    file(GLOB WIN9X_CHECK_FILES ${CMAKE_SOURCE_DIR}/tools/win9x/*.py ${CMAKE_SOURCE_DIR}/tools/win9x/*.txt)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${WIN9X_CHECK_FILES})
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E make_directory ${OUT_DIR}
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${OUT_DIR}/${output}.EXE)
endfunction()

add_shipping_program(setup SETUP windows ${ENTRY_SYMBOL}
    ${SETUP_SOURCES} ${RUNTIME_ONLY_SOURCES} ${RESOURCE_FILE})
add_shipping_program(uninstaller UNINSTAL windows ${ENTRY_SYMBOL}
    ${UNINSTALL_SOURCES} ${RUNTIME_ONLY_SOURCES} ${UNINSTALL_RESOURCE_FILE})
add_shipping_program(setupchk SETUPCHK console ${CONSOLE_ENTRY_SYMBOL}
    ${CHECK_SOURCES} ${CONSOLE_RUNTIME_SOURCES} ${CHECK_RESOURCE_FILE})
# A kit's build (SETUP_PROGRAMS_ONLY) makes the three programs and the stand-in of the
# companion that its identity names (for the demo and the tests), nothing else.
option(SETUP_PROGRAMS_ONLY "Build the three programs only (a kit)" OFF)
if(SETUP_PROGRAMS_ONLY)
  add_executable(kitcompanion ${CMAKE_SOURCE_DIR}/demo/src/qxmain.cpp)
  target_include_directories(kitcompanion PRIVATE ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(kitcompanion PRIVATE ${SYSTEM_LIBS})
  target_link_options(kitcompanion PRIVATE -static -static-libgcc -static-libstdc++)
  add_custom_command(TARGET kitcompanion POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E make_directory ${OUT_DIR}/tools
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:kitcompanion> ${OUT_DIR}/tools/qxmain.exe)
  return()
endif()
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  return()
endif()

include(${CMAKE_SOURCE_DIR}/cmake/windows-tests.cmake)
