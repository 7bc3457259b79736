# Virtual ports on pseudo-terminals and the activity monitor's logic.
target_sources(tessaron_bridge PRIVATE
    PortsLock.cpp
    TActivityMonitor.cpp
    TVirtualPort.cpp
    TWakeEvent.cpp
)
target_link_libraries(tessaron_bridge PUBLIC tessaron_common)
