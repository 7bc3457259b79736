# Corvandelle, offscreen, with the simulated USB keypad library as its hidapi.
if(NOT TESSARON_GUI)
    return()
endif()
tessaron_test(corvandelle_e2e_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/CorvandelleE2ETest.cpp ${CMAKE_CURRENT_LIST_DIR}/BridgeProcess.cpp
            ${PROJECT_SOURCE_DIR}/tests/portmgr/bridge/PtyHost.cpp
    LABELS threads)
target_compile_definitions(corvandelle_e2e_tests PRIVATE
    TESSARON_CORVANDELLE="$<TARGET_FILE:Corvandelle>"
    TESSARON_TOOL="$<TARGET_FILE:tessaron>"
    TESSARON_FAKEHID_LIBRARY="$<TARGET_FILE:tessaron_fakehid>")
add_dependencies(corvandelle_e2e_tests Corvandelle tessaron_fakehid)
