#pragma once

#include "editor/dialogs/AdvancedPage.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace tessaron {

// "ECR Process": card post-processing for cash registers and time and
// attendance systems, the ECR_Mode flags and the suffix to remove.
class TAdvancedEcrPage : public TAdvancedPage
{
    Q_OBJECT

public:
    explicit TAdvancedEcrPage(TAdvancedEditor& editor);

    void Fill(const TAdvancedParams& work) override;

private:
    QCheckBox* m_cboxEnableEcrMode;
    QWidget* m_options;
    QComboBox* m_cboxSelectTrack;
    QComboBox* m_cboxSelectField;
    QCheckBox* m_cboxSuppressLZ;
    QCheckBox* m_cboxPrepend00;
    QCheckBox* m_cboxConcatenate;
    QLineEdit* m_edRemoveSuffix;
};

} // namespace tessaron
