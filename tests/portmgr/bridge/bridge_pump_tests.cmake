# Virtual ports and the activity monitor, on real pseudo-terminals.
tessaron_test(bridge_virtual_port_tests
    SOURCES PtyHost.cpp TVirtualPortTest.cpp TActivityMonitorTest.cpp
    LIBS tessaron_bridge)

# The pump and the start and stop of bridging: real bridge threads against the
# simulated USB keypad library, loaded as hidapi (and linked, so that the tests
# drive the very instance the bridge loads).
tessaron_test(bridge_pump_tests
    SOURCES BridgeFixture.cpp PtyHost.cpp TBridgePumpTest.cpp TBridgeControlTest.cpp
            TBridgeLoopTest.cpp
    LIBS tessaron_bridge_pump tessaron_fakehid
    LABELS threads)
target_compile_definitions(bridge_pump_tests PRIVATE
    TESSARON_FAKEHID_LIBRARY="$<TARGET_FILE:tessaron_fakehid>")
