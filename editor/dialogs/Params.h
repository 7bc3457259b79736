#pragma once

#include "editor/dialogs/DialogContext.h"
#include "editor/dialogs/PropertyDialogFrame.h"
#include "editor/model/PackedFields.h"

#include <cstdint>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QRadioButton;

namespace tessaron {

class TSpinEdit;

// The USER-mode Parameters dialog, "Tessaron USER Properties": the global
// parameters of the key table. Created once, opened modally from the
// Properties tool button in USER mode; each opening fills every control from
// the key table, and only Apply (or OK) writes them back.
class TfrmParameters : public TPropertyDialogFrame
{
    Q_OBJECT

public:
    TfrmParameters(const TDialogContext& context, QWidget* parent = nullptr);

protected:
    void FormShow() override;
    void ApplyClick() override;
    void CancelClick() override {}

private:
    void buildModeColumn(QWidget* column);
    void buildLinkColumn(QWidget* column);
    void buildReaderColumn(QWidget* column);
    void connectHandlers();

    void UserChangedSomething();
    void setLineEditMode(bool lineEdit);
    void setHostMode(THostMode host);
    void setReaderGroups(int type);
    void setCharacterEnabling();

    TDialogContext m_context;
    bool m_loading = false;
    std::uint8_t m_pendingRollOver = 2;

    QButtonGroup* m_modeGroup;
    QButtonGroup* m_rollOverGroup;
    QButtonGroup* m_greenGroup;
    QButtonGroup* m_redGroup;
    QButtonGroup* m_hostGroup;
    QButtonGroup* m_readerGroup;

    QCheckBox* m_cbMaskInput = nullptr;
    QLabel* m_lblMaskInput = nullptr;
    QLabel* m_lblTailChar1 = nullptr;
    QLabel* m_lblTailChar2 = nullptr;
    TSpinEdit* m_spinTailChar = nullptr;
    TSpinEdit* m_spinCharacterPacing = nullptr;
    TSpinEdit* m_spinDownloadDelay = nullptr;
    TSpinEdit* m_spinCmdPrefix = nullptr;
    TSpinEdit* m_spinKeyClick = nullptr;

    QComboBox* m_cboxBaudRate = nullptr;
    QComboBox* m_cboxWordFormat = nullptr;
    QLabel* m_lblRFID = nullptr;
    TSpinEdit* m_spinRFID = nullptr;
    QLabel* m_lblCdcSerialNo = nullptr;
    TSpinEdit* m_spinCdcSerialNo = nullptr;

    QGroupBox* m_gboxBCR = nullptr;
    QGroupBox* m_gboxMCR = nullptr;
    QCheckBox* m_cbStartCharEnable = nullptr;
    QLabel* m_lblStartChar = nullptr;
    TSpinEdit* m_spinStartChar = nullptr;
    QCheckBox* m_cbEndCharEnable = nullptr;
    QLabel* m_lblEndChar = nullptr;
    TSpinEdit* m_spinEndChar = nullptr;
    QCheckBox* m_cbTrack1 = nullptr;
    QCheckBox* m_cbTrack2 = nullptr;
    QComboBox* m_cboxStartSentinel = nullptr;
    QComboBox* m_cboxEndSentinel = nullptr;
    QComboBox* m_cboxFieldSeparator = nullptr;
};

} // namespace tessaron
