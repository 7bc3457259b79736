#pragma once

#include "editor/dialogs/AdvancedPage.h"

#include <QPixmap>

#include <array>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;

namespace tessaron {

class TLcdPanel;
class TSpinEdit;

// "Card Type": the card reader type (which decides the card pages shown), the
// reader's serial parameters and the message the LCD shows after a good read.
class TAdvancedCardTypePage : public TAdvancedPage
{
    Q_OBJECT

public:
    explicit TAdvancedCardTypePage(TAdvancedEditor& editor);

    void Fill(const TAdvancedParams& work) override;

private:
    QButtonGroup* m_readerGroup;
    QLabel* m_imgCardReader;
    std::array<QPixmap, 4> m_readerPictures; // by reader type; none for 0
    QGroupBox* m_gboxCardCom;
    QComboBox* m_cboxCardBaudRate;
    QButtonGroup* m_dataBitsGroup;
    QButtonGroup* m_stopBitsGroup;
    QButtonGroup* m_parityGroup;
    QGroupBox* m_gboxCardOKMessage;
    TLcdPanel* m_cardOK;
    TSpinEdit* m_spinTCardReadHold;
};

} // namespace tessaron
