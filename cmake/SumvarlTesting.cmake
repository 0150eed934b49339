# One line per test binary. GoogleTest binaries are discovered case by case; Qt Test binaries
# run headless on the offscreen platform wherever CTest runs them.
# LEAKCHECK turns LeakSanitizer back on for a binary that does not load Qt: the asan preset
# switches it off for all tests, since Qt's process-wide caches look like leaks.
function(sumvarl_add_gtest name)
    cmake_parse_arguments(ARG "LEAKCHECK" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main Sumvarl::options)
    set(properties ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    if(ARG_LEAKCHECK)
        list(APPEND properties ENVIRONMENT_MODIFICATION "ASAN_OPTIONS=set:detect_leaks=1:abort_on_error=1")
    endif()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
endfunction()

function(sumvarl_add_qtest name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;ENV" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test Sumvarl::options)
    add_test(NAME ${name} COMMAND ${name} -platform offscreen)
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    # On Windows Qt Test logs to the debugger, not to the console, unless told otherwise; CTest
    # would show nothing of a failure.
    if(WIN32)
        list(APPEND ARG_ENV QT_FORCE_STDERR_LOGGING=1)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${ARG_ENV}")
endfunction()

# A test run inside the private CUPS scheduler of print/tests/test-printer.sh, which the script
# starts in MODE (printer, none or rejecting) for this one command and stops afterwards. Without
# root or cupsd the script exits 77 and the test is reported as skipped. Windows has no CUPS
# and prints through its own spooler, so there these tests are not made.
function(sumvarl_add_printer_test name mode)
    if(WIN32)
        return()
    endif()
    add_test(NAME ${name}
        COMMAND sh ${PROJECT_SOURCE_DIR}/print/tests/test-printer.sh run ${mode} ${ARGN})
    set_tests_properties(${name} PROPERTIES TIMEOUT 120 SKIP_RETURN_CODE 77)
endfunction()

# A Qt Test binary under the test printer, headless: all of it as test <target>, or one test
# function as test <target>.<function>.
function(sumvarl_add_printer_qtest target mode)
    if(WIN32)
        return()
    endif()
    set(name ${target})
    if(ARGN)
        set(name ${target}.${ARGN})
    endif()
    sumvarl_add_printer_test(${name} ${mode} $<TARGET_FILE:${target}> -platform offscreen ${ARGN})
    # The windows print through the printing module, which is not beside a test's binary.
    set_tests_properties(${name} PROPERTIES ENVIRONMENT
        "QT_QPA_PLATFORM=offscreen;SUMVARL_PRINTER_MODULE_DIR=$<TARGET_FILE_DIR:sumvarl_printer>")
endfunction()
