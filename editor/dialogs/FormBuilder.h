#pragma once

// Small helpers that make the property dialogs' controls: each control gets
// its name, a field takes the text of its label as the name a screen reader
// speaks, and a unit or note beside it becomes its description.

#include "common/Accessibility.h"

#include <QString>
#include <QStringList>

#include <array>
#include <initializer_list>
#include <string>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPixmap;
class QRadioButton;
class QWidget;

namespace tessaron {

class TSpinEdit;
struct TWordFormat;

QGroupBox* MakeGroup(QWidget* parent, const char* name, const QString& title);
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text);
// A word-wrapped explanatory text.
QLabel* MakeNote(QWidget* parent, const char* name, const QString& text);
QCheckBox* MakeCheck(QWidget* parent, const char* name, const QString& text);
// A radio button in an exclusive group, under the id the group reports.
QRadioButton* MakeRadio(QWidget* parent, const char* name, const QString& text, QButtonGroup* group,
                        int id);
QButtonGroup* MakeButtonGroup(QWidget* owner);
TSpinEdit* MakeSpin(QWidget* parent, const char* name, int minimum, int maximum, int step = 1);
// A pick-list showing 15 rows when dropped down.
QComboBox* MakeList(QWidget* parent, const char* name, const QStringList& entries);
// A one-line editor taking at most maxLength characters that an 8-bit text holds.
QLineEdit* MakeLatin1Edit(QWidget* parent, const char* name, int maxLength);
// One of the suite's pictures (an empty area of that size when the file is
// missing or damaged). description is what a screen reader says of it.
QLabel* MakePicture(QWidget* parent, const char* name, const char* fileName, int width, int height,
                    const QString& description);
// The same for a picture the page already holds (so that it is read once).
QLabel* MakePicture(QWidget* parent, const char* name, const QPixmap& pixmap, int width, int height,
                    const QString& description);
void SetPicture(QLabel* picture, const QPixmap& pixmap);

// Widgets side by side, kept to the left.
QHBoxLayout* MakeRow(std::initializer_list<QWidget*> widgets);
// A numeric field in one row of a grid: its label, the field and, when unit
// is given, a unit label after it (a name of nullptr leaves a label unnamed).
TSpinEdit* AddSpinRow(QGridLayout* grid, int row, const char* labelName, const QString& label,
                      const char* spinName, int minimum, int maximum, int step = 1,
                      const char* unitName = nullptr, const QString& unit = QString(),
                      QLabel** labelOut = nullptr);

// A labelled row of radio buttons in a grid, each with its object name,
// caption and id in group; a screen reader calls each "<label> <caption>".
struct TChoice
{
    const char* Name;
    const char* Caption;
    int Id;
};
void AddChoiceRow(QGridLayout* grid, int row, const char* labelName, const QString& label,
                  QButtonGroup* group, std::initializer_list<TChoice> choices);

// A serial port's settings in a grid from row 0: "Baud Rate:" with its list,
// then radio buttons for the data bits (ids 7, 8), stop bits (1, 2) and parity
// (TParity). The objects are named after port: "lbl<port>BaudRate",
// "cbox<port>BaudRate", "rb<port>7DataBits", "rb<port>StopBits1",
// "rb<port>ParityNone" and so on. Returns the list.
QComboBox* AddPortRows(QGridLayout* grid, const char* port, QButtonGroup* dataBits,
                       QButtonGroup* stopBits, QButtonGroup* parity);
// Checks the buttons that show format in those groups.
void ShowWordFormat(const TWordFormat& format, QButtonGroup* dataBits, QButtonGroup* stopBits,
                    QButtonGroup* parity);

// The four functions of the green (led 1) or red (led 2) LED by code, as
// radio buttons in group, each spoken "<title> <caption>": box "gboxLED<led>",
// buttons "rbLED<led>off", "rbLED<led>level", "rbLED<led>host" and
// "rbLED<led>power".
using TLedCaptions = std::array<const char*, 4>;
QGroupBox* MakeLedGroup(QWidget* parent, int led, const QString& title, QButtonGroup* group,
                        const TLedCaptions& captions);
// Recaptions the four buttons of an LED group by code.
void SetLedCaptions(QButtonGroup* group, const TLedCaptions& captions);

// A unit ("ms", "decimal") or a note that tells more about a control.
void DescribeWith(QWidget* field, const QString& text);

// All of them enabled or disabled, shown or hidden.
void SetEnabled(std::initializer_list<QWidget*> widgets, bool enabled);
void SetVisible(std::initializer_list<QWidget*> widgets, bool visible);
// Checks the button with that id, or none for an id the group does not have.
void CheckId(QButtonGroup* group, int id);
// Selects entry index, or none when the list has no such entry.
void SelectEntry(QComboBox* list, int index);

// Latin-1 text of the document records and the controls.
QString FromRecord(const std::string& text);
std::string ToRecord(const QString& text);

} // namespace tessaron
