#pragma once

#include "editor/dialogs/AdvancedPage.h"

#include <array>

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

    // Prefix, start sentinel, end sentinel, field separator and suffix.
    static constexpr int CharacterCount = 5;

private:
    QCheckBox* m_cboxMCRTrack1;
    QCheckBox* m_cboxMCRTrack2;
    std::array<TSpinEdit*, CharacterCount> m_characters{};
};

} // namespace tessaron
