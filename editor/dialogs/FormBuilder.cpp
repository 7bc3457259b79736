#include "FormBuilder.h"

#include "DialogLists.h"
#include "SpinEdit.h"
#include "common/Accessibility.h"
#include "common/ButtonAccessible.h"
#include "common/QtPicture.h"
#include "editor/model/PackedFields.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace tessaron {

namespace {

template <class T>
T* named(T* widget, const char* name)
{
    if (name != nullptr) {
        widget->setObjectName(QString::fromLatin1(name));
    }
    return widget;
}

} // namespace

QGroupBox* MakeGroup(QWidget* parent, const char* name, const QString& title)
{
    return named(new QGroupBox(title, parent), name);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text)
{
    return named(new QLabel(text, parent), name);
}

QLabel* MakeNote(QWidget* parent, const char* name, const QString& text)
{
    QLabel* note = MakeLabel(parent, name, text);
    note->setWordWrap(true);
    return note;
}

QCheckBox* MakeCheck(QWidget* parent, const char* name, const QString& text)
{
    return named(new QCheckBox(text, parent), name);
}

QRadioButton* MakeRadio(QWidget* parent, const char* name, const QString& text, QButtonGroup* group,
                        int id)
{
    auto* button = named(new QRadioButton(text, parent), name);
    group->addButton(button, id);
    return button;
}

QButtonGroup* MakeButtonGroup(QWidget* owner)
{
    auto* group = new QButtonGroup(owner);
    group->setExclusive(true);
    return group;
}

TSpinEdit* MakeSpin(QWidget* parent, const char* name, int minimum, int maximum, int step)
{
    return named(new TSpinEdit(parent, minimum, maximum, step), name);
}

QComboBox* MakeList(QWidget* parent, const char* name, const QStringList& entries)
{
    auto* list = named(new QComboBox(parent), name);
    list->addItems(entries);
    list->setMaxVisibleItems(15);
    return list;
}

QLineEdit* MakeLatin1Edit(QWidget* parent, const char* name, int maxLength)
{
    auto* edit = named(new QLineEdit(parent), name);
    edit->setMaxLength(maxLength);
    // The records hold 8-bit text: printable Latin-1 only.
    static const QRegularExpression latin1(QStringLiteral("[\\x{20}-\\x{7E}\\x{A0}-\\x{FF}]*"));
    edit->setValidator(new QRegularExpressionValidator(latin1, edit));
    return edit;
}

QLabel* MakePicture(QWidget* parent, const char* name, const char* fileName, int width, int height,
                    const QString& description)
{
    return MakePicture(parent, name, QPixmap::fromImage(LoadPicture(fileName)), width, height,
                       description);
}

QLabel* MakePicture(QWidget* parent, const char* name, const QPixmap& pixmap, int width, int height,
                    const QString& description)
{
    auto* picture = named(new QLabel(parent), name);
    picture->setFixedSize(width, height);
    picture->setAlignment(Qt::AlignCenter);
    picture->setAccessibleName(description);
    SetPicture(picture, pixmap);
    return picture;
}

void SetPicture(QLabel* picture, const QPixmap& pixmap)
{
    if (pixmap.isNull()) {
        picture->clear();
    } else {
        picture->setPixmap(pixmap);
    }
}

QHBoxLayout* MakeRow(std::initializer_list<QWidget*> widgets)
{
    auto* layout = new QHBoxLayout;
    for (QWidget* w : widgets) {
        layout->addWidget(w);
    }
    layout->addStretch();
    return layout;
}

TSpinEdit* AddSpinRow(QGridLayout* grid, int row, const char* labelName, const QString& label,
                      const char* spinName, int minimum, int maximum, int step,
                      const char* unitName, const QString& unit, QLabel** labelOut)
{
    QWidget* parent = grid->parentWidget();
    QLabel* caption = MakeLabel(parent, labelName, label);
    TSpinEdit* spin = MakeSpin(parent, spinName, minimum, maximum, step);
    LabelFor(caption, spin);
    grid->addWidget(caption, row, 0);
    grid->addWidget(spin, row, 1);
    if (labelOut != nullptr) {
        *labelOut = caption;
    }
    if (!unit.isEmpty()) {
        QLabel* unitLabel = MakeLabel(parent, unitName, unit);
        DescribeWith(spin, unit);
        grid->addWidget(unitLabel, row, 2);
    }
    return spin;
}

void AddChoiceRow(QGridLayout* grid, int row, const char* labelName, const QString& label,
                  QButtonGroup* group, std::initializer_list<TChoice> choices)
{
    QWidget* parent = grid->parentWidget();
    QLabel* caption = MakeLabel(parent, labelName, label);
    auto* buttons = new QHBoxLayout;
    for (const TChoice& choice : choices) {
        QRadioButton* button =
            MakeRadio(parent, choice.Name, QString::fromLatin1(choice.Caption), group, choice.Id);
        TButtonAccessible::Qualify(button, label);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    grid->addWidget(caption, row, 0);
    grid->addLayout(buttons, row, 1);
}

QComboBox* AddPortRows(QGridLayout* grid, const char* port, QButtonGroup* dataBits,
                       QButtonGroup* stopBits, QButtonGroup* parity)
{
    const auto name = [port](const char* before, const char* after) {
        return std::string(before) + port + after;
    };
    QWidget* parent = grid->parentWidget();
    QLabel* baud = MakeLabel(parent, name("lbl", "BaudRate").c_str(), QStringLiteral("Baud Rate:"));
    QComboBox* list = MakeList(parent, name("cbox", "BaudRate").c_str(), BaudRateEntries());
    LabelFor(baud, list);
    grid->addWidget(baud, 0, 0);
    grid->addWidget(list, 0, 1, Qt::AlignLeft);
    AddChoiceRow(
        grid, 1, name("lbl", "DataBits").c_str(), QStringLiteral("# of Data Bits:"), dataBits,
        {{name("rb", "7DataBits").c_str(), "7", 7}, {name("rb", "8DataBits").c_str(), "8", 8}});
    AddChoiceRow(
        grid, 2, name("lbl", "StopBits").c_str(), QStringLiteral("# of Stop Bits:"), stopBits,
        {{name("rb", "StopBits1").c_str(), "1", 1}, {name("rb", "StopBits2").c_str(), "2", 2}});
    AddChoiceRow(grid, 3, name("lbl", "Parity").c_str(), QStringLiteral("Parity:"), parity,
                 {{name("rb", "ParityNone").c_str(), "None", int(TParity::None)},
                  {name("rb", "ParityOdd").c_str(), "Odd", int(TParity::Odd)},
                  {name("rb", "ParityEven").c_str(), "Even", int(TParity::Even)},
                  {name("rb", "ParityMark").c_str(), "Mark", int(TParity::Mark)},
                  {name("rb", "ParitySpace").c_str(), "Space", int(TParity::Space)}});
    return list;
}

void ShowWordFormat(const TWordFormat& format, QButtonGroup* dataBits, QButtonGroup* stopBits,
                    QButtonGroup* parity)
{
    CheckId(dataBits, format.EightDataBits ? 8 : 7);
    CheckId(stopBits, format.TwoStopBits ? 2 : 1);
    CheckId(parity, int(format.Parity));
}

QGroupBox* MakeLedGroup(QWidget* parent, int led, const QString& title, QButtonGroup* group,
                        const TLedCaptions& captions)
{
    static const TLedCaptions suffixes = {"off", "level", "host", "power"};
    const QByteArray boxName = "gboxLED" + QByteArray::number(led);
    QGroupBox* box = MakeGroup(parent, boxName.constData(), title);
    auto* layout = new QVBoxLayout(box);
    for (int code = 0; code < 4; ++code) {
        const QByteArray name = "rbLED" + QByteArray::number(led) + suffixes[code];
        QRadioButton* button =
            MakeRadio(box, name.constData(), QString::fromLatin1(captions[code]), group, code);
        // "Green LED Off": both groups offer the same captions.
        TButtonAccessible::Qualify(button, title);
        layout->addWidget(button);
    }
    return box;
}

void SetLedCaptions(QButtonGroup* group, const TLedCaptions& captions)
{
    for (int id = 0; id < int(captions.size()); ++id) {
        group->button(id)->setText(QString::fromLatin1(captions[id]));
    }
}

void DescribeWith(QWidget* field, const QString& text)
{
    field->setAccessibleDescription(text.simplified());
}

void SetEnabled(std::initializer_list<QWidget*> widgets, bool enabled)
{
    for (QWidget* w : widgets) {
        w->setEnabled(enabled);
    }
}

void SetVisible(std::initializer_list<QWidget*> widgets, bool visible)
{
    for (QWidget* w : widgets) {
        w->setVisible(visible);
    }
}

void CheckId(QButtonGroup* group, int id)
{
    if (QAbstractButton* button = group->button(id)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group refuses to uncheck its last button.
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons()) {
        button->setChecked(false);
    }
    group->setExclusive(true);
}

void SelectEntry(QComboBox* list, int index)
{
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

QString FromRecord(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToRecord(const QString& text)
{
    return text.toLatin1().toStdString();
}

} // namespace tessaron
