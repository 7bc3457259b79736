#pragma once

#include "editor/dialogs/AdvancedEditor.h"
#include "editor/dialogs/DialogContext.h"
#include "editor/dialogs/PropertyDialogFrame.h"

#include <array>

class QTabWidget;

namespace tessaron {

class TAdvancedPage;

// The Advanced ROM Properties dialog, "Tessaron Advanced ROM Properties":
// nine pages over the working copy AdvancedParamsWork, which every control
// changes at once. Apply commits the working copy to AdvancedParams, Cancel
// takes it back from there, so the two are equal whenever the dialog opens.
// Created once, opened modally from the ROM Properties menu.
class TfrmAdvanced : public TPropertyDialogFrame, private TAdvancedEditor
{
    Q_OBJECT

public:
    TfrmAdvanced(const TDialogContext& context, QWidget* parent = nullptr);

    // After a ROM save: nothing is left to apply.
    void DisableOkAndApply();

protected:
    void FormShow() override;
    void ApplyClick() override;
    void CancelClick() override;

private:
    TAdvancedParams& Work() override { return m_context.Rom.AdvancedParamsWork; }
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
    bool m_loading = false;
    QTabWidget* m_pages;
    std::array<TAdvancedPage*, PageCount> m_page{};
};

} // namespace tessaron
