# The bridge pump and the start and stop of bridging, over the slot table of
# portmgr/devices (which itself builds on tessaron_bridge).
include(${CMAKE_CURRENT_LIST_DIR}/virtual_ports.cmake)

add_library(tessaron_bridge_pump STATIC
    ${CMAKE_CURRENT_LIST_DIR}/TBridgeControl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TBridgeLog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TBridgePump.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TSlotActivityState.cpp
    ${CMAKE_CURRENT_LIST_DIR}/VirtualPorts.cpp
)
target_include_directories(tessaron_bridge_pump PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(tessaron_bridge_pump PUBLIC tessaron_devices tessaron_bridge)
