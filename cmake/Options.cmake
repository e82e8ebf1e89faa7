# One place for the flags every target of the project builds with.
add_library(zq708_options INTERFACE)
target_compile_features(zq708_options INTERFACE cxx_std_20)
target_compile_options(zq708_options INTERFACE
    -Wall -Wextra -Wpedantic -Wold-style-cast -Wnon-virtual-dtor
    $<$<BOOL:${ZQ708_WERROR}>:-Werror>)
# ZQ708_SANITIZE=ON: address and undefined behaviour; ZQ708_SANITIZE=thread: the thread sanitizer
# (run with TSAN_OPTIONS=suppressions=<source>/tests/tsan.supp for Qt's uninstrumented code).
if(ZQ708_SANITIZE STREQUAL "thread")
    target_compile_options(zq708_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(zq708_options INTERFACE -fsanitize=thread)
elseif(ZQ708_SANITIZE)
    target_compile_options(zq708_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
        -fno-sanitize-recover=undefined)
    target_link_options(zq708_options INTERFACE -fsanitize=address,undefined)
endif()
# The fuzz build (clang only, see fuzz/): coverage for libFuzzer in every object, with the address
# and undefined-behaviour sanitizers; optimised, for many executions a second, with asserts kept.
option(ZQ708_FUZZ "Build the libFuzzer targets of fuzz/ (clang)" OFF)
if(ZQ708_FUZZ)
    target_compile_options(zq708_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
        -fno-omit-frame-pointer -fno-sanitize-recover=undefined -O2 -g)
    target_link_options(zq708_options INTERFACE -fsanitize=address,undefined)
endif()

include(GoogleTest)
find_package(GTest REQUIRED)

# zq708_add_test(<name> SOURCES <files...> LIBS <targets...> [GUI] [MOC] [TIMEOUT <seconds>])
# A GUI test gets a main that creates a QApplication on the offscreen platform (tests/GuiTestMain.cpp,
# compiled once). MOC: a source defines a Q_OBJECT class and includes its .moc file. Each test case
# gets TIMEOUT seconds (default 120). Every test may use the helpers of tests/support/.
function(zq708_add_test name)
    cmake_parse_arguments(T "GUI;MOC" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    if(T_GUI AND NOT ZQ708_GUI)
        return()
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    add_executable(${name} ${T_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${T_LIBS} zq708testsupport zq708_options GTest::gtest)
    target_compile_definitions(${name} PRIVATE ZQ708_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
        ZQ708_BIN_DIR="${ZQ708_BIN_DIR}")
    set_target_properties(${name} PROPERTIES AUTOMOC ${T_MOC})
    # Labels "gui" and "core": CI runs the GUI tests once more under a Chinese locale.
    set(label core)
    if(T_GUI)
        target_link_libraries(${name} PRIVATE zq708_gui_test_main zq708gui Qt6::Test)
        set(label gui)
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    # Backups of the tests' reads and writes go to a folder of the build, never to the user's.
    gtest_discover_tests(${name}
        DISCOVERY_TIMEOUT 60
        PROPERTIES TIMEOUT ${T_TIMEOUT} ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
            ENVIRONMENT_MODIFICATION "XDG_DATA_HOME=set:${CMAKE_BINARY_DIR}/tests/data-home" LABELS ${label})
endfunction()
