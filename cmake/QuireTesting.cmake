# Test helpers shared by every folder's tests.
#
# qb_add_test(NAME TARGET [GUI] [TIMEOUT seconds] [ARGS ...])
#   Native builds run TARGET directly. Windows builds run it under Wine (through the
#   cross-compiling emulator) with the Wine server fixture; GUI tests also take the
#   desktop lock, since clipboard, desktop and HKCU are shared within one prefix.
function(qb_add_test name target)
    cmake_parse_arguments(T "GUI" "TIMEOUT" "ARGS" ${ARGN})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    add_test(NAME ${name} COMMAND ${target} ${T_ARGS})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
    if(CMAKE_CROSSCOMPILING)
        set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine
                             ENVIRONMENT "TIMEOUT=${T_TIMEOUT}")
        if(T_GUI)
            set_tests_properties(${name} PROPERTIES RESOURCE_LOCK desktop)
        endif()
    endif()
endfunction()

if(CMAKE_CROSSCOMPILING AND NOT TARGET keepalive)
    add_executable(keepalive WIN32 ${CMAKE_SOURCE_DIR}/tests/wine/keepalive.c)
    add_test(NAME wine_start COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-server.sh start
             ${CMAKE_BINARY_DIR}/wine-run.sh $<TARGET_FILE:keepalive>)
    add_test(NAME wine_stop COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-server.sh stop
             ${CMAKE_BINARY_DIR}/wine-run.sh)
    set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 120)
    set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)
endif()
