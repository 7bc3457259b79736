#pragma once

#include "editor/dialogs/AdvancedPage.h"

class QButtonGroup;
class QComboBox;
class QLabel;

namespace tessaron {

class TSpinEdit;

// "Host": how the keypad is connected, the CDC serial number, the host's
// serial parameters (Word_Format in the encoding its bit 7 chooses) and, shown
// only, the command prefix and the flow-control characters.
class TAdvancedHostPage : public TAdvancedPage
{
    Q_OBJECT

public:
    explicit TAdvancedHostPage(TAdvancedEditor& editor);

    void Fill(const TAdvancedParams& work) override;

private:
    QButtonGroup* m_hostGroup;
    QLabel* m_lblCdcSerialNo;
    TSpinEdit* m_spinCdcSerialNo;
    QComboBox* m_cboxHostBaudRate;
    QButtonGroup* m_dataBitsGroup;
    QButtonGroup* m_stopBitsGroup;
    QButtonGroup* m_parityGroup;
    TSpinEdit* m_spinCmdPrefix;
    TSpinEdit* m_spinXonChar;
    TSpinEdit* m_spinXoffChar;
};

} // namespace tessaron
