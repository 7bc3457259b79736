#pragma once

#include "editor/dialogs/DialogContext.h"
#include "editor/dialogs/PropertyDialogFrame.h"

#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;

namespace tessaron {

class TLcdPanel;
class TSpinEdit;

// The ROM screen editor: the eight LCD screens of Automated Screen Mode, one
// at a time, in working copies of ScreenData taken at each opening. Apply
// commits all eight to ScreenData, Cancel takes all eight back. The
// screen being edited, the OK and Apply buttons and the caption carry over
// from one opening to the next. Created once, opened modally from the ROM
// Properties menu.
class TfrmScreenEdit : public TPropertyDialogFrame
{
    Q_OBJECT

public:
    TfrmScreenEdit(const TDialogContext& context, QWidget* parent = nullptr);

    // What the controls hold, not yet applied.
    const TScreenDataArray& WorkingCopy() const { return m_work; }

protected:
    void FormShow() override;
    void ApplyClick() override;
    void CancelClick() override;

private:
    void buildScreenChoice(QWidget* parent);
    void buildTimeoutAndCard(QWidget* parent);
    void buildKeyActions(QWidget* parent);
    void buildLedsAndTransition(QWidget* parent);

    TScreenDataRec& screen();
    // Fills every control from the current working screen.
    void fill();
    // What a handler does unless loading: store into the current working
    // screen, refill when asked, mark changed.
    void store(const std::function<void(TScreenDataRec&)>& change, bool refill);
    void markChanged();
    void setLedModes();

    // Store a box's state or a list's position into a byte of the screen; a
    // list with no entry selected stores nothing.
    using TField = std::uint8_t TScreenDataRec::*;
    void onToggled(QCheckBox* box, TField field, bool refill);
    void onIndex(QComboBox* list, TField field, bool refill);

    TDialogContext m_context;
    TScreenDataArray m_work{};
    int m_current = 0;
    bool m_loading = false;
    bool m_changed = false;

    QButtonGroup* m_screenGroup;
    TLcdPanel* m_lcd = nullptr;
    QCheckBox* m_cboxTimeoutEnable = nullptr;
    QLabel* m_lblTimeoutAction = nullptr;
    QComboBox* m_cboxTimeoutAction = nullptr;
    QLabel* m_lblTimeoutPeriod = nullptr;
    TSpinEdit* m_spinTimeoutPeriod = nullptr;
    QCheckBox* m_cboxCardSwipeEnable = nullptr;
    QLabel* m_lblCardSwipeAction = nullptr;
    QComboBox* m_cboxCardSwipeAction = nullptr;
    QLabel* m_lblCardSwipeHelp = nullptr;
    QComboBox* m_cboxUserDataAction = nullptr;
    QComboBox* m_cboxUserFullAction = nullptr;
    QComboBox* m_cboxEnterAction = nullptr;
    QComboBox* m_cboxBackNormalAction = nullptr;
    QComboBox* m_cboxBackEmptyAction = nullptr;
    QComboBox* m_cboxClearNormalAction = nullptr;
    QComboBox* m_cboxClearEmptyAction = nullptr;
    QCheckBox* m_cboxMaskUserInput = nullptr;
    QCheckBox* m_cboxRequireAllData = nullptr;
    QCheckBox* m_cboxSaveDataForNextScreen = nullptr;
    QButtonGroup* m_greenGroup;
    QButtonGroup* m_redGroup;
    TSpinEdit* m_spinOnShow = nullptr;
    TSpinEdit* m_spinOnLeave = nullptr;
};

} // namespace tessaron
