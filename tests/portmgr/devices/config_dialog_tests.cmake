# The configuration dialog and its notice (Qt), against the simulated keypads.
if(NOT TESSARON_GUI)
    return()
endif()
tessaron_test(devices_config_dialog_tests QT
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/DevicesFixture.cpp ${CMAKE_CURRENT_LIST_DIR}/ConfigFormTest.cpp
    LIBS tessaron_devices_dialogs tessaron_test_support_qt tessaron_fakehid tessaron_fake_serial
         Qt6::Test
    LABELS threads)
target_compile_definitions(devices_config_dialog_tests PRIVATE
    FAKEHID_LIBRARY="$<TARGET_FILE:tessaron_fakehid>")
