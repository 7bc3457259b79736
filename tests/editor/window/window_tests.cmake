# The main window driven offscreen, and the Qt services it uses.
tessaron_test(editor_window_tests QT
    SOURCES
        CommonQtTest.cpp
        MainDocumentTest.cpp
        MainEditingTest.cpp
        MainInputTest.cpp
        MainKeypadTest.cpp
        MainStartupTest.cpp
        MainToolsTest.cpp
        MainWindowFixture.h
    LIBS tessaron_editor_window tessaron_test_support_qt Qt6::Test)
# The Test button's checks find the keyboard test beside the tests.
add_dependencies(editor_window_tests Ruskel)

# The editing controller and its undo history, without Qt.
tessaron_test(editor_editing_tests
    SOURCES EditingControllerTest.cpp
    LIBS tessaron_editor_editing)
