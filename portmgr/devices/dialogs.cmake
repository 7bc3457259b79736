# The configuration dialog and its notice: the only Qt code of this folder, in
# a library of their own so that tessaron_devices stays free of Qt. Built with
# the programs only.
if(NOT TESSARON_GUI)
    return()
endif()
add_library(tessaron_devices_dialogs STATIC
    ${CMAKE_CURRENT_LIST_DIR}/Config.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Config.h
    ${CMAKE_CURRENT_LIST_DIR}/Enumerate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Enumerate.h
)
set_target_properties(tessaron_devices_dialogs PROPERTIES AUTOMOC ON)
target_include_directories(tessaron_devices_dialogs PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(tessaron_devices_dialogs PUBLIC tessaron_devices tessaron_common_qt Qt6::Widgets)
