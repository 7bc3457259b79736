#pragma once

#include "editor/dialogs/AdvancedPage.h"

namespace tessaron {

class TSpinEdit;

// "Beeper": the lengths of the key beep, the power-on chirp, the error beep
// and the "card read OK" beep.
class TAdvancedBeeperPage : public TAdvancedPage
{
    Q_OBJECT

public:
    explicit TAdvancedBeeperPage(TAdvancedEditor& editor);

    void Fill(const TAdvancedParams& work) override;

private:
    TSpinEdit* m_spinKeyClick;
    TSpinEdit* m_spinPowerOnBeep;
    TSpinEdit* m_spinErrorBeep;
    TSpinEdit* m_spinCardOkBeep;
};

} // namespace tessaron
