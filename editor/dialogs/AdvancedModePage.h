#pragma once

#include "editor/dialogs/AdvancedPage.h"

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace tessaron {

class TSpinEdit;

// "Mode": True Terminal, Line Edit or Automated Screen Mode, the starting
// screen, masking and echo, and the keypad's Line Edit data format.
class TAdvancedModePage : public TAdvancedPage
{
    Q_OBJECT

public:
    explicit TAdvancedModePage(TAdvancedEditor& editor);

    void Fill(const TAdvancedParams& work) override;

    // The keypad's prefix, start, tail and suffix characters.
    static constexpr int CharacterCount = 4;

private:
    QButtonGroup* m_modeGroup;
    QLabel* m_lblStartScreen;
    QComboBox* m_cboxStartScreen;
    QCheckBox* m_cboxMaskUserInput;
    QCheckBox* m_cboxEcho;
    QGroupBox* m_gboxKeypadData;
    QLineEdit* m_edMaskChar;
    std::array<TSpinEdit*, CharacterCount> m_characters{};
};

} // namespace tessaron
