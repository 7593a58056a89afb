# Native build of the pure logic, unit-tested with AddressSanitizer and UBSan.
enable_testing()
find_package(GTest REQUIRED)
set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)

add_library(setuplogic STATIC ${PURE_SOURCES})
target_include_directories(setuplogic PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/resources)
target_compile_options(setuplogic PRIVATE ${SANITIZE} ${WARNINGS})

file(GLOB UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*_test.cpp)
add_executable(unit_tests ${UNIT_TESTS})
target_include_directories(unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_options(unit_tests PRIVATE ${SANITIZE})
target_link_options(unit_tests PRIVATE ${SANITIZE})
target_link_libraries(unit_tests PRIVATE setuplogic GTest::gtest_main)
include(GoogleTest)
gtest_discover_tests(unit_tests)

# The identity file's checks, and a build configured with a bad one.
add_test(NAME identity_file COMMAND ${CMAKE_SOURCE_DIR}/tests/unit/identity_file_test.sh)
