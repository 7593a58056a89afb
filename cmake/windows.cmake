# Both Windows builds: SETUP.EXE without a C runtime; the x86_64 build also builds the
# Windows-side tests and tools, which link the C++ runtime and GoogleTest.

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
set(SYSTEM_LIBS lz32 kernel32 user32 gdi32 advapi32 comdlg32)
set(RESOURCE_FILE ${CMAKE_SOURCE_DIR}/resources/setup.rc)
set(CHECK_RESOURCE_FILE ${CMAKE_SOURCE_DIR}/resources/check.rc)
set(UNINSTALL_RESOURCE_FILE ${CMAKE_SOURCE_DIR}/resources/uninstall.rc)
file(GLOB RESOURCE_DEPENDS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.h ${CMAKE_SOURCE_DIR}/resources/*.rc
     ${CMAKE_SOURCE_DIR}/resources/art/*)
set_source_files_properties(${RESOURCE_FILE} ${CHECK_RESOURCE_FILE} ${UNINSTALL_RESOURCE_FILE}
                            PROPERTIES OBJECT_DEPENDS "${RESOURCE_DEPENDS}")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR}/resources -I${CMAKE_SOURCE_DIR}/src")

# No resource id may be given twice where it must be unique (ids, templates, string table).
set(RESOURCE_CHECK_STAMP ${CMAKE_BINARY_DIR}/resource-ids.ok)
add_custom_command(OUTPUT ${RESOURCE_CHECK_STAMP}
    COMMAND python3 ${CMAKE_SOURCE_DIR}/resources/check-ids ${CMAKE_SOURCE_DIR}/resources
            ${RESOURCE_CHECK_STAMP}
    DEPENDS ${CMAKE_SOURCE_DIR}/resources/check-ids ${CMAKE_SOURCE_DIR}/resources/resource.h
            ${CMAKE_SOURCE_DIR}/resources/strings.rc ${CMAKE_SOURCE_DIR}/resources/dialogs.rc
            ${CMAKE_SOURCE_DIR}/resources/uninstall.rc
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
  target_link_options(${target} PRIVATE -nostdlib -s -Wl,-e,${entry}
      -Wl,--subsystem,${subsystem}:4.0,--major-os-version,4,--minor-os-version,0
      -Wl,--major-subsystem-version,4,--minor-subsystem-version,0)
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
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  return()
endif()

# ---- x86_64: Windows-side tests and tools, run under Wine ----
enable_testing()
set(HOSTED_LINK -static -static-libgcc -static-libstdc++)

add_library(setupcore STATIC ${PURE_SOURCES} ${WIN_SOURCES})
target_include_directories(setupcore PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/resources)
target_compile_options(setupcore PRIVATE ${WARNINGS})
target_link_libraries(setupcore PUBLIC ${SYSTEM_LIBS})

set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Helpers shared by the Windows-side tests. They use the program's code (the install page,
# the script model), so it comes after them on every link line.
file(GLOB TEST_SUPPORT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
add_library(testsupport STATIC ${TEST_SUPPORT_SOURCES})
target_include_directories(testsupport PUBLIC ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src
                           ${CMAKE_SOURCE_DIR}/resources)
target_link_libraries(testsupport PUBLIC gtest setupcore ${SYSTEM_LIBS})

# Small Win32 tools used by the virtual machine scripts, the tests and the demo.
file(GLOB TOOL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/vm/*.cpp
     ${CMAKE_SOURCE_DIR}/tools/bench/*.cpp ${CMAKE_SOURCE_DIR}/demo/src/*.cpp)
foreach(src ${TOOL_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  if(src MATCHES "/tools/bench/")
    # The benchmarks make the copying page from its real template.
    add_executable(${name} ${src} ${RESOURCE_FILE})
  else()
    add_executable(${name} ${src})
  endif()
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/resources)
  if(name STREQUAL "demowalk" OR src MATCHES "/tools/bench/")
    # The demo's wizard walker and the benchmarks use the tests' window and file helpers.
    target_link_libraries(${name} PRIVATE testsupport)
  endif()
  target_link_libraries(${name} PRIVATE setupcore ${SYSTEM_LIBS})
  target_link_options(${name} PRIVATE ${HOSTED_LINK})
  add_custom_command(TARGET ${name} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E make_directory ${OUT_DIR}/tools
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${name}> ${OUT_DIR}/tools/)
endforeach()

# The package checker on the sample package and on a package with one case of each finding.
add_test(NAME e2e_setupchk COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/setupchk_test.sh)
set_tests_properties(e2e_setupchk PROPERTIES TIMEOUT 600 LABELS e2e)

# One test executable per file; each runs on a fresh virtual Windows 98 machine.
file(GLOB WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*_test.cpp)
file(GLOB E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*_test.cpp)
foreach(src ${WIN_TESTS} ${E2E_TESTS})
  get_filename_component(name ${src} NAME_WE)
  get_filename_component(dir ${src} DIRECTORY)
  get_filename_component(kind ${dir} NAME)
  set(target ${kind}_${name})
  # A test may bring resources of its own: <name>.rc beside it takes the place of setup.rc
  # (it can #include "setup.rc" to have both), and the bitmaps it names are drawn by
  # <name>_art.py into a folder of the build.
  if(EXISTS ${dir}/${name}.rc)
    add_executable(${target} ${src} ${dir}/${name}.rc)
    if(EXISTS ${dir}/${name}_art.py)
      set(art_dir ${CMAKE_BINARY_DIR}/testart/${target})
      add_custom_command(OUTPUT ${art_dir}/stamp
          COMMAND python3 ${dir}/${name}_art.py ${art_dir}
          COMMAND ${CMAKE_COMMAND} -E touch ${art_dir}/stamp
          DEPENDS ${dir}/${name}_art.py ${CMAKE_SOURCE_DIR}/tests/support/bmp4.py
          COMMENT "Test bitmaps of ${target}")
      set_source_files_properties(${dir}/${name}.rc PROPERTIES OBJECT_DEPENDS ${art_dir}/stamp)
      target_include_directories(${target} PRIVATE ${art_dir})
    endif()
  else()
    add_executable(${target} ${src} ${RESOURCE_FILE})
  endif()
  target_link_libraries(${target} PRIVATE testsupport setupcore gtest_main)
  target_link_options(${target} PRIVATE ${HOSTED_LINK})
  add_dependencies(${target} setup uninstaller)
  # A line "// vmrun-screens: 640x480 1024x768" in the test source runs it once per screen
  # size (the first keeps the plain name); without it the machine has 640x480.
  file(STRINGS ${src} screens REGEX "^// vmrun-screens:")
  if(screens)
    string(REGEX REPLACE "^// vmrun-screens:[ ]*" "" screens "${screens}")
    separate_arguments(screens)
  else()
    set(screens 640x480)
  endif()
  set(test_name "")
  foreach(screen ${screens})
    if(test_name)
      set(test_name ${target}_${screen})
    else()
      set(test_name ${target})
    endif()
    add_test(NAME ${test_name}
             COMMAND ${CMAKE_SOURCE_DIR}/tools/vm/vmrun --screen ${screen} $<TARGET_FILE:${target}>)
    set_tests_properties(${test_name} PROPERTIES
        ENVIRONMENT "SETUP_EXE=${OUT_DIR}/SETUP.EXE;SETUP_ROOT=${CMAKE_SOURCE_DIR};SETUP_TOOLS=${OUT_DIR}/tools"
        TIMEOUT 600 LABELS ${kind})
  endforeach()
endforeach()
