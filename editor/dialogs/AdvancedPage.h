#pragma once

#include "editor/dialogs/AdvancedEditor.h"
#include "editor/model/PackedFields.h"
#include "editor/model/RecordField.h"

#include <QWidget>

#include <functional>

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace tessaron {

// One page of the Advanced ROM Properties dialog. Its controls store into the
// working copy at once, through the handlers below, which do nothing while
// the dialog fills its controls.
class TAdvancedPage : public QWidget
{
    Q_OBJECT

public:
    TAdvancedPage(TAdvancedEditor& editor, const char* objectName);

    // Sets every control of the page, its enabling and its visibility from the
    // working copy; called with the loading flag set.
    virtual void Fill(const TAdvancedParams& work) = 0;

protected:
    using TStore = std::function<void(TAdvancedParams&)>;

    // Stores unless loading, then reloads (when asked) and marks changed.
    void Store(const TStore& store, bool reload = false);

    // The handlers: a check box's state, the id of a group's checked button, a
    // field's value, a list's position, an editor's text. Buttons react to
    // toggled, which a click, the keyboard and an accessibility action all
    // emit; a group only to a button becoming checked.
    void OnToggled(QAbstractButton* box, std::function<void(TAdvancedParams&, bool)> store,
                   bool reload = false);
    void OnChecked(QButtonGroup* group, std::function<void(TAdvancedParams&, int)> store,
                   bool reload = false);
    void OnValue(QSpinBox* spin, std::function<void(TAdvancedParams&, int)> store);
    void OnIndex(QComboBox* list, std::function<void(TAdvancedParams&, int)> store);
    // The same into one field of the working copy (a byte keeps the low 8 bits).
    using TField = TRecordField<TAdvancedParams>;
    void OnValue(QSpinBox* spin, TField field);
    void OnIndex(QComboBox* list, TField field);
    void OnText(QLineEdit* edit, TField field);

    TAdvancedEditor& m_editor;
};

} // namespace tessaron
