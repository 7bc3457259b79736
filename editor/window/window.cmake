# Plindorax's main window and its parts (library tessaron_editor_window).
add_library(tessaron_editor_window STATIC
    EditorSettings.cpp
    EditorSettings.h
    GridPopupMenu.cpp
    GridPopupMenu.h
    KeyButton.cpp
    KeyButton.h
    KeyTypeMenu.cpp
    KeyTypeMenu.h
    KeypadPanel.cpp
    KeypadPanel.h
    MacroGrid.cpp
    MacroGrid.h
    MacroGridModel.cpp
    MacroGridModel.h
    Main.cpp
    Main.h
    MainDocument.cpp
    MainEditing.cpp
    MainKeypad.cpp
    MainServices.h
    MainTools.cpp
    ManualInputEdit.cpp
    ManualInputEdit.h
    MessageBoxSink.cpp
    MessageBoxSink.h
    PortStatus.cpp
    PortStatus.h
    SiblingPrograms.cpp
    SiblingPrograms.h
)
target_include_directories(tessaron_editor_window PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(tessaron_editor_window PUBLIC
    tessaron_editor_widgets
    tessaron_editor_dialogs
    tessaron_editor_model
    tessaron_common_qt
    Qt6::Widgets
)
