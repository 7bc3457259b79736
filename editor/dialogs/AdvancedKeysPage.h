#pragma once

#include "editor/dialogs/AdvancedPage.h"

class QButtonGroup;
class QGroupBox;

namespace tessaron {

class TSpinEdit;

// "Keys/LEDs": character pacing, the download delay (shown only), key
// roll-over and the functions of the green and red LEDs, whose captions follow
// the host type.
class TAdvancedKeysPage : public TAdvancedPage
{
    Q_OBJECT

public:
    explicit TAdvancedKeysPage(TAdvancedEditor& editor);

    void Fill(const TAdvancedParams& work) override;

private:
    TSpinEdit* m_spinCharPacing;
    TSpinEdit* m_spinDownloadDelay;
    QButtonGroup* m_rollOverGroup;
    QButtonGroup* m_greenGroup;
    QButtonGroup* m_redGroup;
    QGroupBox* m_gboxLED1;
    QGroupBox* m_gboxLED2;
};

} // namespace tessaron
