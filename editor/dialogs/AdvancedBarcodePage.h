#pragma once

#include "editor/dialogs/AdvancedPage.h"

#include <QPixmap>

class QButtonGroup;
class QLabel;

namespace tessaron {

class TSpinEdit;

// "Barcode/RFID", captioned "Ext. Wedge" for an external wedge: the prefix,
// start, end and suffix characters around the card data, and for a wedge
// whether its device sends packets.
class TAdvancedBarcodePage : public TAdvancedPage
{
    Q_OBJECT

public:
    explicit TAdvancedBarcodePage(TAdvancedEditor& editor);

    void Fill(const TAdvancedParams& work) override;

private:
    QWidget* m_delimiters;
    QLabel* m_labels[4];
    TSpinEdit* m_spinBCRPrefixChar;
    TSpinEdit* m_spinBCRStartChar;
    TSpinEdit* m_spinBCREndChar;
    TSpinEdit* m_spinBCRSuffixChar;
    QLabel* m_lblWedgeMode;
    QButtonGroup* m_wedgeGroup;
    QLabel* m_imgBarcode;
    QPixmap m_barcodePicture;
    QPixmap m_wedgePicture;
};

} // namespace tessaron
