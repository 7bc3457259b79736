#include "editor/window/MidiEvents.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

using namespace tessaron;

namespace {

class FakeMidiHost : public TMidiEventsHost
{
public:
    std::uint8_t MidiChannel() const override { return channel; }
    void SetMidiChannel(std::uint8_t value) override
    {
        channel = value;
        channelsSet.push_back(value);
    }
    void InsertMidiMessage(const std::uint8_t* bytes, int count) override
    {
        messages.emplace_back(bytes, bytes + count);
    }

    std::uint8_t channel = 1;
    std::vector<int> channelsSet;
    std::vector<std::vector<std::uint8_t>> messages;
};

class MidiDialog : public ::testing::Test
{
protected:
    template <typename T>
    T* find(const char* name)
    {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // Clicked on its indicator: a radio button takes clicks on its indicator
    // and caption only, not on the empty rest of its row.
    void choose(const char* radio)
    {
        QRadioButton* button = find<QRadioButton>(radio);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
        EXPECT_TRUE(button->isChecked()) << radio;
    }
    void insert() { QTest::mouseClick(find<QPushButton>("btnInsert"), Qt::LeftButton); }
    QString preview() { return find<QLabel>("sbarMiniNoteOnPanel2")->text(); }
    bool hidden(const char* name) { return find<QWidget>(name)->isHidden(); }

    FakeMidiHost host;
    TfrmMidiEvents dialog{host};
};

using Bytes = std::vector<std::uint8_t>;

} // namespace

TEST(MidiMessage, ChannelIsAddedOnlyToChannelMessages)
{
    EXPECT_EQ(MidiFirstByte(0x90, 1), 0x90);
    EXPECT_EQ(MidiFirstByte(0x90, 16), 0x9F);
    EXPECT_EQ(MidiFirstByte(0xC0, 10), 0xC9);
    EXPECT_EQ(MidiFirstByte(0xE0, 3), 0xE2);
    EXPECT_EQ(MidiFirstByte(0xF2, 10), 0xF2);
    EXPECT_EQ(MidiFirstByte(0xFA, 16), 0xFA);
    EXPECT_EQ(MidiFirstByte(0xFF, 5), 0xFF);
    // A channel out of range never spills into the status nibble.
    EXPECT_EQ(MidiFirstByte(0x90, 0), 0x90);
    EXPECT_EQ(MidiFirstByte(0x90, 17), 0x9F);
}

TEST(MidiMessage, BuildsOnlyTheUsedDataBytes)
{
    const TMidiMessage noteOn = BuildMidiMessage(0x90, 1, true, 60, true, 127);
    ASSERT_EQ(noteOn.Count, 3);
    EXPECT_EQ(MidiHexText(noteOn), "90 3C 7F");
    const TMidiMessage program = BuildMidiMessage(0xC0, 10, true, 5, false, 127);
    EXPECT_EQ(MidiHexText(program), "C9 05");
    const TMidiMessage start = BuildMidiMessage(0xFA, 4, false, 60, false, 127);
    EXPECT_EQ(start.Count, 1);
    EXPECT_EQ(MidiHexText(start), "FA");
    // Data bytes never get the status bit.
    EXPECT_EQ(MidiHexText(BuildMidiMessage(0xB0, 1, true, 300, true, -4)), "B0 7F 00");
}

TEST(MidiMessage, NoteNames)
{
    EXPECT_EQ(MidiNoteName(0), "C 0");
    EXPECT_EQ(MidiNoteName(60), "C 5");
    EXPECT_EQ(MidiNoteName(61), "C#5");
    EXPECT_EQ(MidiNoteName(70), "A#5");
    EXPECT_EQ(MidiNoteName(119), "B 9");
    EXPECT_EQ(MidiNoteName(120), "---");
    EXPECT_EQ(MidiNoteName(127), "---");
    EXPECT_EQ(MidiParam1Text(0x90, 120), "---");
    EXPECT_EQ(MidiParam1Text(0x80, 61), "C#5");
    EXPECT_EQ(MidiParam1Text(0xA0, 60), "C 5");
    EXPECT_EQ(MidiParam1Text(0xB0, 120), "120");
    EXPECT_EQ(MidiParam1Text(0xD0, 60), "60");
}

TEST(MidiMessage, TypeTableInButtonOrder)
{
    const char* names[] = {"rbNoteOn",         "rbNoteOff",       "rbPolyAftertouch",
                           "rbMonoAftertouch", "rbControlChange", "rbProgramChange",
                           "rbPitchWheel",     "rbSongPosition",  "rbSongSelect",
                           "rbStart",          "rbContinue",      "rbStop",
                           "rbReset"};
    const int status[] = {0x90, 0x80, 0xA0, 0xD0, 0xB0, 0xC0, 0xE0,
                          0xF2, 0xF3, 0xFA, 0xFB, 0xFC, 0xFF};
    const int dataBytes[] = {2, 2, 2, 1, 2, 1, 2, 2, 1, 0, 0, 0, 0};
    for (int i = 0; i < MidiEventTypeCount; ++i) {
        const TMidiEventType& type = MidiEventTypes[static_cast<size_t>(i)];
        EXPECT_STREQ(type.ObjectName, names[i]);
        EXPECT_EQ(type.StatusByte, status[i]) << names[i];
        const int used = (type.Param1Label[0] ? 1 : 0) + (type.Param2Label[0] ? 1 : 0);
        EXPECT_EQ(used, dataBytes[i]) << names[i];
        // A second value is never used without a first.
        EXPECT_TRUE(type.Param1Label[0] || !type.Param2Label[0]) << names[i];
    }
}

TEST_F(MidiDialog, StartsAsNoteOnWithDesignLabels)
{
    EXPECT_FALSE(dialog.isModal());
    EXPECT_TRUE(find<QRadioButton>("rbNoteOn")->isChecked());
    EXPECT_EQ(find<QRadioButton>("rbPolyAftertouch")->text(), "Poly Aftertouch");
    EXPECT_EQ(find<QLabel>("lblMidiChannel")->text(), "MIDI Channel :");
    EXPECT_EQ(find<QLabel>("lblParam1")->text(), "Key (Note) :");
    EXPECT_EQ(find<QLabel>("lblParam2")->text(), "Velocity :");
    EXPECT_EQ(find<QPushButton>("btnInsert")->text(), "Insert");
    EXPECT_EQ(find<QLabel>("sbarMiniNoteOnPanel1")->text(), "MIDI Data (hexadecimal)");
    EXPECT_EQ(find<QLabel>("sbarMiniNoteOnPanel1")->parent(), find<QStatusBar>("sbarMiniNoteOn"));
    EXPECT_EQ(preview(), "90 3C 7F");
    EXPECT_EQ(find<QLineEdit>("edMidiParam1")->text(), "C 5");
    EXPECT_EQ(find<QLineEdit>("edMidiParam2")->text(), "127");
    for (const char* field : {"edMidiChannel", "edMidiParam1", "edMidiParam2"}) {
        EXPECT_TRUE(find<QLineEdit>(field)->isReadOnly()) << field;
    }
    for (int i = 0; i < MidiEventTypeCount; ++i) {
        const TMidiEventType& type = MidiEventTypes[static_cast<size_t>(i)];
        EXPECT_EQ(find<QRadioButton>(type.ObjectName)->text(), QString::fromLatin1(type.Caption));
    }
}

TEST_F(MidiDialog, TrackBarRanges)
{
    struct Expect
    {
        const char* name;
        int min, max, value, page, tick;
    };
    for (const Expect& e :
         {Expect{"tbMidiChannel", 1, 16, 1, 4, 1}, Expect{"tbMidiParam1", 0, 127, 60, 12, 4},
          Expect{"tbMidiParam2", 0, 127, 127, 16, 4}}) {
        auto* bar = find<QSlider>(e.name);
        EXPECT_EQ(bar->minimum(), e.min) << e.name;
        EXPECT_EQ(bar->maximum(), e.max) << e.name;
        EXPECT_EQ(bar->value(), e.value) << e.name;
        EXPECT_EQ(bar->pageStep(), e.page) << e.name;
        EXPECT_EQ(bar->tickInterval(), e.tick) << e.name;
        EXPECT_NE(bar->tickPosition(), QSlider::NoTicks) << e.name;
    }
}

TEST_F(MidiDialog, NoteOnInsertsTheWholeMessageAtOnce)
{
    dialog.ShowDialog();
    insert();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], (Bytes{0x90, 0x3C, 0x7F}));
    EXPECT_TRUE(dialog.isVisible()); // stays open for the next message
    insert();
    EXPECT_EQ(host.messages.size(), 2u);
}

TEST_F(MidiDialog, ProgramChangeOnChannelTen)
{
    host.channel = 10;
    dialog.ShowDialog();
    choose("rbProgramChange");
    find<QSlider>("tbMidiParam1")->setValue(5);
    EXPECT_EQ(find<QLabel>("lblParam1")->text(), "Patch Number :");
    EXPECT_EQ(find<QLabel>("lblParam2")->text(), "");
    EXPECT_TRUE(hidden("lblParam2"));
    EXPECT_TRUE(hidden("tbMidiParam2"));
    EXPECT_TRUE(hidden("edMidiParam2"));
    EXPECT_FALSE(hidden("tbMidiParam1"));
    EXPECT_EQ(find<QLineEdit>("edMidiParam1")->text(), "5");
    EXPECT_EQ(preview(), "C9 05");
    insert();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], (Bytes{0xC9, 0x05}));
}

TEST_F(MidiDialog, SystemMessagesIgnoreTheChannel)
{
    host.channel = 7;
    dialog.ShowDialog();
    choose("rbSongSelect");
    EXPECT_FALSE(find<QSlider>("tbMidiChannel")->isEnabled());
    EXPECT_FALSE(find<QLabel>("lblMidiChannel")->isEnabled());
    EXPECT_FALSE(find<QLineEdit>("edMidiChannel")->isEnabled());
    EXPECT_EQ(find<QLabel>("lblParam1")->text(), "Song Number :");
    EXPECT_EQ(preview(), "F3 3C");

    choose("rbStart");
    EXPECT_TRUE(hidden("tbMidiParam1"));
    EXPECT_TRUE(hidden("lblParam1"));
    EXPECT_TRUE(hidden("tbMidiParam2"));
    EXPECT_EQ(preview(), "FA");
    insert();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], (Bytes{0xFA}));

    choose("rbControlChange");
    EXPECT_TRUE(find<QSlider>("tbMidiChannel")->isEnabled());
    EXPECT_FALSE(hidden("tbMidiParam2"));
    EXPECT_EQ(preview(), "B6 3C 7F");
}

TEST_F(MidiDialog, NoteNameOnlyForNoteMessages)
{
    dialog.ShowDialog();
    find<QSlider>("tbMidiParam1")->setValue(120);
    EXPECT_EQ(find<QLineEdit>("edMidiParam1")->text(), "---");
    choose("rbControlChange");
    EXPECT_EQ(find<QLineEdit>("edMidiParam1")->text(), "120");
    EXPECT_EQ(find<QLabel>("lblParam1")->text(), "Controller :");
    EXPECT_EQ(find<QLabel>("lblParam2")->text(), "Value :");
    choose("rbPolyAftertouch");
    find<QSlider>("tbMidiParam1")->setValue(61);
    EXPECT_EQ(find<QLineEdit>("edMidiParam1")->text(), "C#5");
    EXPECT_EQ(find<QLabel>("lblParam2")->text(), "Pressure :");
    // The data byte itself is the number, whatever the field shows.
    EXPECT_EQ(preview(), "A0 3D 7F");
}

TEST_F(MidiDialog, ChannelTrackBarSetsTheHostChannel)
{
    dialog.ShowDialog();
    EXPECT_TRUE(host.channelsSet.empty()); // showing is not a change
    find<QSlider>("tbMidiChannel")->setValue(12);
    ASSERT_FALSE(host.channelsSet.empty());
    EXPECT_EQ(host.channelsSet.back(), 12);
    EXPECT_EQ(host.channel, 12);
    EXPECT_EQ(find<QLineEdit>("edMidiChannel")->text(), "12");
    EXPECT_EQ(preview(), "9B 3C 7F");
    // Keyboard steps on the track bar count as changes too.
    find<QSlider>("tbMidiChannel")->setFocus();
    QTest::keyClick(find<QSlider>("tbMidiChannel"), Qt::Key_PageUp);
    EXPECT_EQ(host.channel, 16);
}

TEST_F(MidiDialog, ReopeningReadsTheChannelAndKeepsTheRest)
{
    dialog.ShowDialog();
    choose("rbPitchWheel");
    find<QSlider>("tbMidiParam2")->setValue(64);
    dialog.hide();

    host.channel = 3;
    dialog.ShowDialog();
    EXPECT_EQ(find<QSlider>("tbMidiChannel")->value(), 3);
    EXPECT_EQ(find<QLineEdit>("edMidiChannel")->text(), "3");
    EXPECT_TRUE(find<QRadioButton>("rbPitchWheel")->isChecked());
    EXPECT_EQ(find<QLabel>("lblParam1")->text(), "LSB :");
    EXPECT_EQ(preview(), "E2 3C 40");

    // Shown again while open: brought up on the host's current channel.
    host.channel = 9;
    dialog.ShowDialog();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(find<QSlider>("tbMidiChannel")->value(), 9);
}

TEST_F(MidiDialog, HostChannelOutOfRangeIsCorrected)
{
    host.channel = 0;
    dialog.ShowDialog();
    EXPECT_EQ(find<QSlider>("tbMidiChannel")->value(), 1);
    EXPECT_EQ(host.channel, 1);
    host.channel = 40;
    dialog.ShowDialog();
    EXPECT_EQ(host.channel, 16);
    EXPECT_EQ(preview(), "9F 3C 7F");
}
