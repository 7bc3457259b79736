tessaron_test(editor_widgets_tests QT
    SOURCES
        AboutWidgetsTest.cpp
        MacroLenWidgetsTest.cpp
        MidiEventsWidgetsTest.cpp
        ModifierImageListWidgetsTest.cpp
        PcKeyboardWidgetsTest.cpp
    LIBS tessaron_editor_widgets Qt6::Test)
