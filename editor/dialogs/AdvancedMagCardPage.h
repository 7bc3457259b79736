#pragma once

#include "editor/dialogs/AdvancedPage.h"

class QCheckBox;

namespace tessaron {

class TSpinEdit;

// "Mag Card": the tracks read and the characters sent around and in place of
// the sentinels and field separators of a magnetic card.
class TAdvancedMagCardPage : public TAdvancedPage
{
    Q_OBJECT

public:
    explicit TAdvancedMagCardPage(TAdvancedEditor& editor);

    void Fill(const TAdvancedParams& work) override;

private:
    QCheckBox* m_cboxMCRTrack1;
    QCheckBox* m_cboxMCRTrack2;
    TSpinEdit* m_spinMCRPrefixChar;
    TSpinEdit* m_spinMCRStartSentinel;
    TSpinEdit* m_spinMCREndSentinel;
    TSpinEdit* m_spinMCRFieldSeparator;
    TSpinEdit* m_spinMCRSuffixChar;
};

} // namespace tessaron
