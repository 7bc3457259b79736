#pragma once

#include "editor/window/MidiEventsHost.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <string>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QStatusBar;

namespace tessaron {

// One message type of the dialog, in the order of its radio buttons.
struct TMidiEventType
{
    const char* ObjectName; // the radio button
    const char* Caption;
    std::uint8_t StatusByte; // for channel 1
    const char* Param1Label; // "" when data value 1 is not used
    const char* Param2Label; // "" when data value 2 is not used
};

constexpr int MidiEventTypeCount = 13;
extern const std::array<TMidiEventType, MidiEventTypeCount> MidiEventTypes;

constexpr int MidiChannelMin = 1;
constexpr int MidiChannelMax = 16;

// A built message: status byte and up to two data bytes.
struct TMidiMessage
{
    std::array<std::uint8_t, 3> Bytes{};
    int Count = 0;
};

// Channel messages (status below 0xF0) carry the channel (1..16) in their low
// nibble; system messages do not.
bool MidiStatusHasChannel(std::uint8_t statusByte);
std::uint8_t MidiFirstByte(std::uint8_t statusByte, int channel);

// The first byte, then the used data values (each kept to 7 bits).
TMidiMessage BuildMidiMessage(std::uint8_t statusByte, int channel, bool value1Used, int value1,
                              bool value2Used, int value2);

// "90 3C 7F": two upper-case hex digits per byte, separated by blanks.
std::string MidiHexText(const TMidiMessage& message);

// "C 5" for 60, "C#5" for 61, "---" above 119.
std::string MidiNoteName(int value);

// Note On, Note Off and Poly Aftertouch show data value 1 as a note name.
bool MidiShowsNoteName(std::uint8_t statusByte);
std::string MidiParam1Text(std::uint8_t statusByte, int value1);

// The modeless dialog that builds one MIDI message and hands it to the host.
// Created once; closing only hides it.
class TfrmMidiEvents : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmMidiEvents(TMidiEventsHost& host, QWidget* parent = nullptr);

    // Shows the dialog on the host's channel; an open one is refreshed and
    // brought to the front without taking the keyboard focus.
    void ShowDialog();

    // The dialog's state, for the host and for tests.
    std::uint8_t StatusByte() const { return m_statusByte; }
    bool Value1Used() const { return m_value1Used; }
    bool Value2Used() const { return m_value2Used; }
    TMidiMessage CurrentMessage() const;

private:
    void chooseType(int index);
    void channelChanged(int position);
    void refresh();
    void insertMessage();

    TMidiEventsHost& m_host;
    std::uint8_t m_statusByte;
    bool m_value1Used = true;
    bool m_value2Used = true;

    QButtonGroup* m_typeGroup;
    std::array<QRadioButton*, MidiEventTypeCount> m_typeButtons{};
    QLabel* m_lblMidiChannel;
    QSlider* m_tbMidiChannel;
    QLineEdit* m_edMidiChannel;
    QLabel* m_lblParam1;
    QSlider* m_tbMidiParam1;
    QLineEdit* m_edMidiParam1;
    QLabel* m_lblParam2;
    QSlider* m_tbMidiParam2;
    QLineEdit* m_edMidiParam2;
    QPushButton* m_btnInsert;
    QStatusBar* m_sbarMiniNoteOn;
    QLabel* m_panelCaption;
    QLabel* m_panelBytes;
};

} // namespace tessaron
