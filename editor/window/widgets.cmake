# The editor's self-contained windows and widgets: MIDI event dialog, macro
# length warning, About box, on-screen PC keyboard and key type icons. They use
# only the model's constants, so they build before the model library does.
add_library(tessaron_editor_widgets STATIC
    About.cpp
    About.h
    MacroLen.cpp
    MacroLen.h
    MidiEvents.cpp
    MidiEvents.h
    MidiEventsHost.h
    ModifierImageList.cpp
    ModifierImageList.h
    PcKeyboard.cpp
    PcKeyboard.h
)
target_include_directories(tessaron_editor_widgets PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(tessaron_editor_widgets PUBLIC Qt6::Widgets tessaron_common_qt)
if(TARGET tessaron_editor_model)
    target_link_libraries(tessaron_editor_widgets PUBLIC tessaron_editor_model)
endif()
