# Corvandelle, offscreen, with the simulated USB keypad library as its hidapi,
# and Download into a keypad behind it: the editor's files and Tavrix.
if(NOT TESSARON_GUI OR NOT TARGET Tavrix)
    return()
endif()
tessaron_test(corvandelle_e2e_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/CorvandelleE2ETest.cpp ${CMAKE_CURRENT_LIST_DIR}/BridgeProcess.cpp
    LIBS tessaron_editor_model tessaron_common_qt
    LABELS threads)
target_compile_definitions(corvandelle_e2e_tests PRIVATE
    TESSARON_CORVANDELLE="$<TARGET_FILE:Corvandelle>"
    TESSARON_TOOL="$<TARGET_FILE:tessaron>"
    TESSARON_FAKEHID_LIBRARY="$<TARGET_FILE:tessaron_fakehid>"
    TAVRIX_PROGRAM="$<TARGET_FILE:Tavrix>")
add_dependencies(corvandelle_e2e_tests Corvandelle tessaron_fakehid Tavrix)
