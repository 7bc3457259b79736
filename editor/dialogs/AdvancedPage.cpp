#include "AdvancedPage.h"

#include "FormBuilder.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>

namespace tessaron {

TAdvancedPage::TAdvancedPage(TAdvancedEditor& editor, const char* objectName) : m_editor(editor)
{
    setObjectName(QString::fromLatin1(objectName));
}

void TAdvancedPage::Store(const TStore& store, bool reload)
{
    if (m_editor.Loading()) {
        return;
    }
    store(m_editor.Work());
    m_editor.Changed(reload);
}

void TAdvancedPage::OnToggled(QAbstractButton* box,
                              std::function<void(TAdvancedParams&, bool)> store, bool reload)
{
    connect(box, &QAbstractButton::toggled, this, [this, store, reload](bool checked) {
        Store([&](TAdvancedParams& w) { store(w, checked); }, reload);
    });
}

void TAdvancedPage::OnChecked(QButtonGroup* group, std::function<void(TAdvancedParams&, int)> store,
                              bool reload)
{
    connect(group, &QButtonGroup::idToggled, this, [this, store, reload](int id, bool checked) {
        if (checked) {
            Store([&](TAdvancedParams& w) { store(w, id); }, reload);
        }
    });
}

void TAdvancedPage::OnValue(QSpinBox* spin, std::function<void(TAdvancedParams&, int)> store)
{
    connect(spin, &QSpinBox::valueChanged, this,
            [this, store](int value) { Store([&](TAdvancedParams& w) { store(w, value); }); });
}

void TAdvancedPage::OnIndex(QComboBox* list, std::function<void(TAdvancedParams&, int)> store)
{
    connect(list, &QComboBox::currentIndexChanged, this, [this, store](int index) {
        // No entry selected (a stored value beyond the list) stores nothing.
        if (index >= 0) {
            Store([&](TAdvancedParams& w) { store(w, index); });
        }
    });
}

void TAdvancedPage::OnValue(QSpinBox* spin, TField field)
{
    OnValue(spin, [field](TAdvancedParams& w, int value) { field.Set(w, value); });
}

void TAdvancedPage::OnIndex(QComboBox* list, TField field)
{
    OnIndex(list, [field](TAdvancedParams& w, int index) { field.Set(w, index); });
}

void TAdvancedPage::OnText(QLineEdit* edit, TField field)
{
    connect(edit, &QLineEdit::textChanged, this, [this, field](const QString& text) {
        Store([&](TAdvancedParams& w) { field.Text(w) = ToRecord(text); });
    });
}

} // namespace tessaron
