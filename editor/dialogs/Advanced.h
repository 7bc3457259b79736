#pragma once

#include "editor/dialogs/AdvancedEditor.h"
#include "editor/dialogs/DialogContext.h"
#include "editor/dialogs/PropertyDialogFrame.h"

#include <array>

class QTabWidget;

namespace tessaron {

class TAdvancedPage;

// The Advanced ROM Properties dialog, "Tessaron Advanced ROM Properties":
// nine pages over a working copy of AdvancedParams, taken at each opening,
// which every control changes at once. Apply commits it to AdvancedParams,
// Cancel takes it back from there. Created once, opened modally from the
// ROM Properties menu.
class TfrmAdvanced : public TPropertyDialogFrame, private TAdvancedEditor
{
    Q_OBJECT

public:
    TfrmAdvanced(const TDialogContext& context, QWidget* parent = nullptr);

    // After a ROM save: nothing is left to apply.
    void DisableOkAndApply();
    // What the controls hold, not yet applied.
    const TAdvancedParams& WorkingCopy() const { return m_work; }

protected:
    void FormShow() override;
    void ApplyClick() override;
    void CancelClick() override;

private:
    TAdvancedParams& Work() override { return m_work; }
    bool Loading() const override { return m_loading; }
    void Changed(bool reload) override;

    // Fills every page from the working copy and shows the card pages that
    // the reader type calls for.
    void fill();
    void setCaption(bool changed);

    enum
    {
        PageMode,
        PageKeys,
        PageLcd,
        PageHost,
        PageBeeper,
        PageCardType,
        PageBarcode,
        PageMagCard,
        PageEcr,
        PageCount
    };

    TDialogContext m_context;
    TAdvancedParams m_work{};
    bool m_loading = false;
    QTabWidget* m_pages;
    std::array<TAdvancedPage*, PageCount> m_page{};
};

} // namespace tessaron
