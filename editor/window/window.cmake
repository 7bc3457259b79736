# The editing controller and its undo history: no Qt, so that tests drive
# every editing command without a window (library tessaron_editor_editing).
add_library(tessaron_editor_editing STATIC
    EditingController.cpp
    EditingController.h
    EditingView.h
    UndoHistory.cpp
    UndoHistory.h
)
set_target_properties(tessaron_editor_editing PROPERTIES AUTOMOC OFF)
target_include_directories(tessaron_editor_editing PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(tessaron_editor_editing PUBLIC tessaron_editor_model)

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
    WindowIcon.cpp
    WindowIcon.h
)
target_include_directories(tessaron_editor_window PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(tessaron_editor_window PUBLIC
    tessaron_editor_editing
    tessaron_editor_widgets
    tessaron_editor_dialogs
    tessaron_editor_model
    tessaron_common_qt
    Qt6::Widgets
)
