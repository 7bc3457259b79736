#pragma once

#include "editor/dialogs/AdvancedPage.h"

class QButtonGroup;
class QCheckBox;
class QSlider;

namespace tessaron {

class TLcdPanel;
class TSpinEdit;

// "LCD": one or two lines, the sign-on message and how long it stays, the
// cursor, scroll and wrap, Line Edit character translation and the backlight.
class TAdvancedLcdPage : public TAdvancedPage
{
    Q_OBJECT

public:
    explicit TAdvancedLcdPage(TAdvancedEditor& editor);

    void Fill(const TAdvancedParams& work) override;

private:
    QButtonGroup* m_sizeGroup;
    TLcdPanel* m_signOn;
    TSpinEdit* m_spinTSignOnHold;
    QCheckBox* m_cbLcdCursorUnderline;
    QCheckBox* m_cbLcdCursorBlock;
    QCheckBox* m_cbEnableScroll;
    QCheckBox* m_cbEnableWrap;
    QCheckBox* m_cbLcdXlate;
    QSlider* m_tbarLcdBrightness;
};

} // namespace tessaron
