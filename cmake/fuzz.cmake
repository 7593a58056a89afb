# libFuzzer targets over the pure logic (clang, AddressSanitizer and UBSan): one executable
# per tests/fuzz/*_fuzz.cpp, named fuzz_<name>. `make fuzz` and `make fuzz-short` run them.
set(FUZZ_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)

add_library(fuzzlogic STATIC ${PURE_SOURCES})
target_include_directories(fuzzlogic PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/resources)
target_compile_options(fuzzlogic PRIVATE ${FUZZ_SANITIZE} -fsanitize=fuzzer-no-link ${WARNINGS})

file(GLOB FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(source ${FUZZ_TARGETS})
  get_filename_component(name ${source} NAME_WE)
  string(REGEX REPLACE "_fuzz$" "" name ${name})
  add_executable(fuzz_${name} ${source})
  target_compile_options(fuzz_${name} PRIVATE ${FUZZ_SANITIZE} -fsanitize=fuzzer ${WARNINGS})
  target_link_options(fuzz_${name} PRIVATE ${FUZZ_SANITIZE} -fsanitize=fuzzer)
  target_link_libraries(fuzz_${name} PRIVATE fuzzlogic)
endforeach()
