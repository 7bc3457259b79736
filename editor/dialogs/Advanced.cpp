#include "Advanced.h"

#include "AdvancedBarcodePage.h"
#include "AdvancedBeeperPage.h"
#include "AdvancedCardTypePage.h"
#include "AdvancedEcrPage.h"
#include "AdvancedHostPage.h"
#include "AdvancedKeysPage.h"
#include "AdvancedLcdPage.h"
#include "AdvancedMagCardPage.h"
#include "AdvancedModePage.h"
#include "FormBuilder.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tessaron {

namespace {

const QString Caption = QStringLiteral("Tessaron Advanced ROM Properties");

} // namespace

TfrmAdvanced::TfrmAdvanced(const TDialogContext& context, QWidget* parent)
    : TPropertyDialogFrame("frmAdvanced", Caption, parent), m_context(context),
      m_pages(new QTabWidget(Body()))
{
    m_pages->setObjectName(QStringLiteral("PageControl"));
    // Tab lands on its tab bar, which speaks the page's title; the pages as a
    // whole have a name too.
    m_pages->setAccessibleName(QStringLiteral("Property pages"));
    auto* layout = new QVBoxLayout(Body());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pages);

    TAdvancedEditor& editor = *this;
    m_page[PageMode] = new TAdvancedModePage(editor);
    m_page[PageKeys] = new TAdvancedKeysPage(editor);
    m_page[PageLcd] = new TAdvancedLcdPage(editor);
    m_page[PageHost] = new TAdvancedHostPage(editor);
    m_page[PageBeeper] = new TAdvancedBeeperPage(editor);
    m_page[PageCardType] = new TAdvancedCardTypePage(editor);
    m_page[PageBarcode] = new TAdvancedBarcodePage(editor);
    m_page[PageMagCard] = new TAdvancedMagCardPage(editor);
    m_page[PageEcr] = new TAdvancedEcrPage(editor);
    const std::array<const char*, PageCount> titles = {"Mode",         "Keys/LEDs", "LCD",
                                                       "Host",         "Beeper",    "Card Type",
                                                       "Barcode/RFID", "Mag Card",  "ECR Process"};
    for (int i = 0; i < PageCount; ++i) {
        m_pages->addTab(m_page[i], QString::fromLatin1(titles[i]));
    }
    m_pages->setCurrentIndex(PageMode);

    layout->addWidget(MakeLabel(Body(), "lblFoot",
                                QStringLiteral("* Indicates a value that the user can modify in "
                                               "USER Properties panel. ")));
    FinishTabOrder();
}

void TfrmAdvanced::DisableOkAndApply()
{
    SetOkAndApplyEnabled(false);
}

void TfrmAdvanced::FormShow()
{
    m_work = m_context.Rom.AdvancedParams;
    fill();
    SetOkAndApplyEnabled(false);
}

void TfrmAdvanced::ApplyClick()
{
    m_context.Rom.AdvancedParams = m_work;
    setCaption(false);
    m_context.Applied();
    ApplyButton()->setEnabled(false);
}

void TfrmAdvanced::CancelClick()
{
    setCaption(false);
    m_work = m_context.Rom.AdvancedParams;
}

void TfrmAdvanced::Changed(bool reload)
{
    if (reload) {
        fill();
    }
    setCaption(true);
    SetOkAndApplyEnabled(true);
}

void TfrmAdvanced::fill()
{
    m_loading = true;
    const TAdvancedParams& work = Work();
    for (TAdvancedPage* page : m_page) {
        page->Fill(work);
    }
    // The card pages by reader type; a wedge is "Ext. Wedge" and shows its
    // data to post-processing only when it sends packets.
    const int type = work.CardReader_Type;
    const bool wedge = IsWedge(work);
    m_pages->setTabText(PageBarcode,
                        wedge ? QStringLiteral("Ext. Wedge") : QStringLiteral("Barcode/RFID"));
    m_pages->setTabVisible(PageBarcode, type == ReaderBarcode || wedge);
    m_pages->setTabVisible(PageMagCard, type == ReaderMagCard);
    m_pages->setTabVisible(PageEcr, type == ReaderBarcode || type == ReaderMagCard ||
                                        (wedge && Packetized(work)));
    m_loading = false;
}

void TfrmAdvanced::setCaption(bool changed)
{
    setWindowTitle(changed ? Caption + QLatin1Char('*') : Caption);
}

} // namespace tessaron
