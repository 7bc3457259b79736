#include "editor/window/MidiEvents.h"

#include "common/ValueLabel.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace tessaron {

const std::array<TMidiEventType, MidiEventTypeCount> MidiEventTypes = {{
    {"rbNoteOn", "Note On", 0x90, "Key (Note #) :", "Velocity :"},
    {"rbNoteOff", "Note Off", 0x80, "Key (Note #) :", "Velocity :"},
    {"rbPolyAftertouch", "Poly Aftertouch", 0xA0, "Key (Note #) :", "Pressure :"},
    {"rbMonoAftertouch", "Mono Aftertouch", 0xD0, "Pressure :", ""},
    {"rbControlChange", "Control Change", 0xB0, "Controller :", "Value :"},
    {"rbProgramChange", "Program Change", 0xC0, "Patch Number :", ""},
    {"rbPitchWheel", "Pitch Wheel", 0xE0, "LSB :", "MSB :"},
    {"rbSongPosition", "Song Position", 0xF2, "LSB :", "MSB :"},
    {"rbSongSelect", "Song Select", 0xF3, "Song Number :", ""},
    {"rbStart", "Start", 0xFA, "", ""},
    {"rbContinue", "Continue", 0xFB, "", ""},
    {"rbStop", "Stop", 0xFC, "", ""},
    {"rbReset", "Reset", 0xFF, "", ""},
}};

bool MidiStatusHasChannel(std::uint8_t statusByte)
{
    return statusByte < 0xF0;
}

std::uint8_t MidiFirstByte(std::uint8_t statusByte, int channel)
{
    if (!MidiStatusHasChannel(statusByte)) {
        return statusByte;
    }
    const int ch = std::clamp(channel, MidiChannelMin, MidiChannelMax);
    return static_cast<std::uint8_t>((statusByte & 0xF0) + ch - 1);
}

TMidiMessage BuildMidiMessage(std::uint8_t statusByte, int channel, bool value1Used, int value1,
                              bool value2Used, int value2)
{
    TMidiMessage message;
    message.Bytes[static_cast<size_t>(message.Count++)] = MidiFirstByte(statusByte, channel);
    // Data bytes have the top bit clear; a set bit would read as a status byte.
    if (value1Used) {
        message.Bytes[static_cast<size_t>(message.Count++)] =
            static_cast<std::uint8_t>(std::clamp(value1, 0, 127));
    }
    if (value2Used) {
        message.Bytes[static_cast<size_t>(message.Count++)] =
            static_cast<std::uint8_t>(std::clamp(value2, 0, 127));
    }
    return message;
}

std::string MidiHexText(const TMidiMessage& message)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (int i = 0; i < message.Count; ++i) {
        if (i > 0) {
            text += ' ';
        }
        const std::uint8_t b = message.Bytes[static_cast<size_t>(i)];
        text += digits[b >> 4];
        text += digits[b & 0x0F];
    }
    return text;
}

std::string MidiNoteName(int value)
{
    static const char* const names[12] = {"C ", "C#", "D ", "D#", "E ", "F ",
                                          "F#", "G ", "G#", "A ", "A#", "B "};
    if (value < 0 || value > 119) {
        return "---";
    }
    return std::string(names[value % 12]) + std::to_string(value / 12);
}

bool MidiShowsNoteName(std::uint8_t statusByte)
{
    return statusByte == 0x90 || statusByte == 0x80 || statusByte == 0xA0;
}

std::string MidiParam1Text(std::uint8_t statusByte, int value1)
{
    return MidiShowsNoteName(statusByte) ? MidiNoteName(value1) : std::to_string(value1);
}

namespace {

QSlider* makeTrackBar(QWidget* parent, const char* name, int min, int max, int start, int page,
                      int tick)
{
    auto* bar = new QSlider(Qt::Horizontal, parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setRange(min, max);
    bar->setValue(start);
    bar->setPageStep(page);
    bar->setSingleStep(1);
    bar->setTickInterval(tick);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setMinimumWidth(180);
    return bar;
}

QLineEdit* makeField(QWidget* parent, const char* name)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setReadOnly(true);
    field->setFixedWidth(44);
    field->setAlignment(Qt::AlignCenter);
    field->setFocusPolicy(Qt::NoFocus);
    return field;
}

QLabel* makeLabel(QWidget* parent, const char* name, const char* text)
{
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setMinimumWidth(100);
    return label;
}

// Hidden value controls keep their room, so the dialog does not jump around
// when the message type changes.
void keepRoomWhenHidden(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

} // namespace

TfrmMidiEvents::TfrmMidiEvents(TMidiEventsHost& host, QWidget* parent)
    : QDialog(parent), m_host(host), m_statusByte(MidiEventTypes[0].StatusByte)
{
    setObjectName(QStringLiteral("frmMidiEvents"));
    setWindowTitle(QStringLiteral("Insert MIDI Message"));
    setModal(false);

    auto* typeBox = new QGroupBox(QStringLiteral("MIDI Event Type"), this);
    typeBox->setObjectName(QStringLiteral("grpMidiEventType"));
    auto* typeLayout = new QVBoxLayout(typeBox);
    typeLayout->setSpacing(2);
    m_typeGroup = new QButtonGroup(this);
    m_typeGroup->setExclusive(true);
    for (int i = 0; i < MidiEventTypeCount; ++i) {
        const TMidiEventType& type = MidiEventTypes[static_cast<size_t>(i)];
        auto* button = new QRadioButton(QString::fromLatin1(type.Caption), typeBox);
        button->setObjectName(QString::fromLatin1(type.ObjectName));
        m_typeGroup->addButton(button, i);
        typeLayout->addWidget(button);
        m_typeButtons[static_cast<size_t>(i)] = button;
    }
    m_typeButtons[0]->setChecked(true);

    auto* valueBox = new QGroupBox(QStringLiteral("MIDI Event Values"), this);
    valueBox->setObjectName(QStringLiteral("grpMidiEventValues"));
    auto* valueLayout = new QGridLayout(valueBox);
    m_lblMidiChannel = makeLabel(valueBox, "lblMidiChannel", "MIDI Channel :");
    m_tbMidiChannel =
        makeTrackBar(valueBox, "tbMidiChannel", MidiChannelMin, MidiChannelMax, 1, 4, 1);
    m_edMidiChannel = makeField(valueBox, "edMidiChannel");
    m_lblParam1 = makeLabel(valueBox, "lblParam1", "Key (Note) :");
    m_tbMidiParam1 = makeTrackBar(valueBox, "tbMidiParam1", 0, 127, 60, 12, 4);
    m_edMidiParam1 = makeField(valueBox, "edMidiParam1");
    m_lblParam2 = makeLabel(valueBox, "lblParam2", "Velocity :");
    m_tbMidiParam2 = makeTrackBar(valueBox, "tbMidiParam2", 0, 127, 127, 16, 4);
    m_edMidiParam2 = makeField(valueBox, "edMidiParam2");
    const std::array<std::array<QWidget*, 3>, 3> rows = {{
        {m_lblMidiChannel, m_tbMidiChannel, m_edMidiChannel},
        {m_lblParam1, m_tbMidiParam1, m_edMidiParam1},
        {m_lblParam2, m_tbMidiParam2, m_edMidiParam2},
    }};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            QWidget* w = rows[static_cast<size_t>(r)][static_cast<size_t>(c)];
            keepRoomWhenHidden(w);
            valueLayout->addWidget(w, r, c);
        }
    }
    m_btnInsert = new QPushButton(QStringLiteral("Insert"), valueBox);
    m_btnInsert->setObjectName(QStringLiteral("btnInsert"));
    valueLayout->setRowStretch(3, 1);
    valueLayout->addWidget(m_btnInsert, 4, 1, 1, 2, Qt::AlignRight);

    m_sbarMiniNoteOn = new QStatusBar(this);
    m_sbarMiniNoteOn->setObjectName(QStringLiteral("sbarMiniNoteOn"));
    m_sbarMiniNoteOn->setSizeGripEnabled(false);
    m_panelCaption = new QLabel(QStringLiteral("MIDI Data (hexadecimal)"), m_sbarMiniNoteOn);
    m_panelCaption->setObjectName(QStringLiteral("sbarMiniNoteOnPanel1"));
    m_panelBytes = new TValueLabel(QString(), m_panelCaption, m_sbarMiniNoteOn);
    m_panelBytes->setObjectName(QStringLiteral("sbarMiniNoteOnPanel2"));
    m_sbarMiniNoteOn->addWidget(m_panelCaption);
    m_sbarMiniNoteOn->addWidget(m_panelBytes, 1);

    auto* boxes = new QHBoxLayout;
    boxes->addWidget(typeBox);
    boxes->addWidget(valueBox, 1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 0);
    outer->addLayout(boxes);
    outer->addWidget(m_sbarMiniNoteOn);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_typeGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) {
            chooseType(id);
        }
    });
    connect(m_tbMidiChannel, &QSlider::valueChanged, this, &TfrmMidiEvents::channelChanged);
    connect(m_tbMidiParam1, &QSlider::valueChanged, this, &TfrmMidiEvents::refresh);
    connect(m_tbMidiParam2, &QSlider::valueChanged, this, &TfrmMidiEvents::refresh);
    connect(m_btnInsert, &QPushButton::clicked, this, &TfrmMidiEvents::insertMessage);

    refresh();
}

void TfrmMidiEvents::ShowDialog()
{
    // Read the channel without the change handler: showing is not a change.
    // A host value out of range is corrected in the host as well.
    const int channel = m_host.MidiChannel();
    {
        const QSignalBlocker blocker(m_tbMidiChannel);
        m_tbMidiChannel->setValue(channel);
    }
    if (m_tbMidiChannel->value() != channel) {
        m_host.SetMidiChannel(static_cast<std::uint8_t>(m_tbMidiChannel->value()));
    }
    refresh();
    if (isVisible()) {
        // Already open: brought to the front with its values refreshed, but
        // the keyboard stays where the user is typing.
        raise();
        return;
    }
    show();
    raise();
    activateWindow();
}

TMidiMessage TfrmMidiEvents::CurrentMessage() const
{
    return BuildMidiMessage(m_statusByte, m_tbMidiChannel->value(), m_value1Used,
                            m_tbMidiParam1->value(), m_value2Used, m_tbMidiParam2->value());
}

void TfrmMidiEvents::chooseType(int index)
{
    if (index < 0 || index >= MidiEventTypeCount) {
        return;
    }
    const TMidiEventType& type = MidiEventTypes[static_cast<size_t>(index)];
    m_statusByte = type.StatusByte;
    m_lblParam1->setText(QString::fromLatin1(type.Param1Label));
    m_lblParam2->setText(QString::fromLatin1(type.Param2Label));
    m_value1Used = type.Param1Label[0] != '\0';
    m_value2Used = type.Param2Label[0] != '\0';
    refresh();
}

void TfrmMidiEvents::channelChanged(int position)
{
    m_host.SetMidiChannel(static_cast<std::uint8_t>(position));
    refresh();
}

void TfrmMidiEvents::refresh()
{
    const bool hasChannel = MidiStatusHasChannel(m_statusByte);
    m_lblMidiChannel->setEnabled(hasChannel);
    m_tbMidiChannel->setEnabled(hasChannel);
    m_edMidiChannel->setEnabled(hasChannel);
    m_edMidiChannel->setText(QString::number(m_tbMidiChannel->value()));

    m_edMidiParam1->setText(
        QString::fromStdString(MidiParam1Text(m_statusByte, m_tbMidiParam1->value())));
    m_edMidiParam2->setText(QString::number(m_tbMidiParam2->value()));

    m_lblParam1->setVisible(m_value1Used);
    m_tbMidiParam1->setVisible(m_value1Used);
    m_edMidiParam1->setVisible(m_value1Used);
    m_lblParam2->setVisible(m_value2Used);
    m_tbMidiParam2->setVisible(m_value2Used);
    m_edMidiParam2->setVisible(m_value2Used);

    m_panelBytes->setText(QString::fromStdString(MidiHexText(CurrentMessage())));

    // A screen reader names each track bar and field by the label before it,
    // which changes with the message type.
    const std::pair<QLabel*, std::pair<QSlider*, QLineEdit*>> rows[] = {
        {m_lblMidiChannel, {m_tbMidiChannel, m_edMidiChannel}},
        {m_lblParam1, {m_tbMidiParam1, m_edMidiParam1}},
        {m_lblParam2, {m_tbMidiParam2, m_edMidiParam2}},
    };
    for (const auto& [label, controls] : rows) {
        QString name = label->text();
        name.remove(QLatin1Char(':'));
        name = name.trimmed();
        controls.first->setAccessibleName(name);
        controls.second->setAccessibleName(name + QStringLiteral(" value"));
    }
}

void TfrmMidiEvents::insertMessage()
{
    const TMidiMessage message = CurrentMessage();
    m_host.InsertMidiMessage(message.Bytes.data(), message.Count);
}

} // namespace tessaron
