#include "Main.h"

#include "common/Accessibility.h"
#include "common/FileReadError.h"
#include "common/FileWriteError.h"
#include "common/ValueLabel.h"
#include "editor/dialogs/Advanced.h"
#include "editor/dialogs/FormBuilder.h"
#include "editor/dialogs/Params.h"
#include "editor/dialogs/ScreenEdit.h"
#include "editor/model/LoaderSettings.h"
#include "editor/model/PackedFields.h"
#include "editor/window/EditorSettings.h"
#include "editor/window/GridPopupMenu.h"
#include "editor/window/KeyButton.h"
#include "editor/window/KeyTypeMenu.h"
#include "editor/window/KeypadPanel.h"
#include "editor/window/MacroGrid.h"
#include "editor/window/MacroGridModel.h"
#include "editor/window/MacroLen.h"
#include "editor/window/ManualInputEdit.h"
#include "editor/window/MidiEvents.h"
#include "editor/window/PcKeyboard.h"
#include "editor/window/WindowIcon.h"

#include <QAction>
#include <QBoxLayout>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>

namespace tessaron {

namespace {

constexpr int ToolBarHeight = 44;

QToolButton* makeToolButton(QToolBar* bar, const char* name, const QString& caption,
                            const QString& hint, QStyle::StandardPixmap icon)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setToolTip(hint);
    button->setIcon(bar->style()->standardIcon(icon));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    // Reached with Tab; a mouse click leaves the focus where it was.
    button->setFocusPolicy(Qt::TabFocus);
    button->setAccessibleName(caption.trimmed());
    bar->addWidget(button);
    return button;
}

// A command's hint with its shortcut, "New (Ctrl+N)".
QString withShortcut(const QString& hint, const QKeySequence& keys)
{
    return hint + QStringLiteral(" (") + keys.toString(QKeySequence::NativeText) + QLatin1Char(')');
}

const QKeySequence NewKeys(Qt::CTRL | Qt::Key_N);
const QKeySequence OpenKeys(Qt::CTRL | Qt::Key_O);
const QKeySequence SaveKeys(Qt::CTRL | Qt::Key_S);
const QKeySequence SaveAsKeys(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
const QKeySequence QuitKeys(Qt::CTRL | Qt::Key_Q);
const QKeySequence UndoKeys(Qt::CTRL | Qt::Key_Z);
const QList<QKeySequence> RedoKeys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                   QKeySequence(Qt::CTRL | Qt::Key_Y)};
const QKeySequence CutKeys(Qt::CTRL | Qt::Key_X);
const QKeySequence CopyKeys(Qt::CTRL | Qt::Key_C);
const QKeySequence PasteKeys(Qt::CTRL | Qt::Key_V);

// Undo and redo keys, which the text fields would otherwise keep for their
// own text: the name is the document's, and the manual entry a scratch field.
bool isHistoryKey(const QKeyEvent* event)
{
    const QKeySequence keys(event->keyCombination());
    return keys == UndoKeys || RedoKeys.contains(keys);
}

} // namespace

TfrmMain::TfrmMain(const TMainServices& services, const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent), m_services(services), m_messageSink(services.Messages),
      m_siblings(services.Programs, services.Messages),
      m_editing(m_document, services.Keyboard, *this)
{
    // Before any control is asked for its accessibility interface.
    InstallAccessibility();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Plindorax"));
    setWindowIcon(PlindoraxIcon());
    setAcceptDrops(true);
    // Not resizable: minimize and close boxes only.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);
    // The window keeps its size on every desktop; at the usual 9 pt and up the
    // ten tool buttons no longer fit its width, so it takes a smaller font.
    QFont small = font();
    small.setPointSizeF(8);
    setFont(small);

    buildToolBar();
    buildLevelArea();
    buildCommands();
    connectEditing();
    setAccessibleNames();
    setTabOrder();

    // The document has its defaults; then the editor's settings.
    const TEditorSettings settings = ReadEditorSettings(EditorSettingsPath());
    m_keypadLayout = settings.KeypadLayout;
    m_romEditMode = settings.RomEditMode;
    m_midiChannel = settings.MidiChannel;
    setKeyLayout();

    if (m_services.Keyboard.CtrlDown()) {
        // The answer holds for this run only.
        m_romEditMode =
            m_services.Messages.ConfirmYesNo(QStringLiteral("Plindorax Edit Mode Selection"),
                                             QStringLiteral("Do you wish to enter advanced ROM "
                                                            "Edit mode?"));
    }

    if (m_romEditMode) {
        m_toolBtnParameters->setText(QStringLiteral("ROM Properties"));
        m_toolBtnParameters->setAccessibleName(QStringLiteral("ROM Properties"));
        m_toolBtnParameters->setMenu(m_editMenu);
        m_toolBtnParameters->setPopupMode(QToolButton::DelayedPopup);
    }
    if (!arguments.isEmpty()) {
        // Read as a redefinition file in either mode; a missing file loads
        // nothing and says nothing.
        const std::string path =
            QFile::encodeName(QFileInfo(arguments.constFirst()).absoluteFilePath()).toStdString();
        try {
            if (m_document.ReadRedefinition(path)) {
                afterLoadRefresh(false, path);
            }
        } catch (const FileReadError& error) {
            showError(QString::fromLocal8Bit(error.what()));
        }
    } else {
        SetModified(false);
        setWindowTitle(captionPrefix(m_romEditMode) + QStringLiteral("untitled"));
    }
    ShowPortStatus();

    // The other forms, each made once for the life of the process. Each Apply
    // of a property dialog is one step of the undo history.
    const TDialogContext context{Keypad(), Rom(), m_services.Messages,
                                 [this] { m_editing.PropertiesApplied(); }};
    m_frmParameters = new TfrmParameters(context, this);
    m_frmAdvanced = new TfrmAdvanced(context, this);
    m_frmScreenEdit = new TfrmScreenEdit(context, this);
    m_frmMidiEvents = new TfrmMidiEvents(*this, this);
    m_frmMacroLenWarning = new TfrmMacroLenWarning(this);
    connect(m_frmMacroLenWarning, &TfrmMacroLenWarning::dontShowAgain, this,
            [this] { m_editing.SetHideLengthWarning(); });

    centreOnScreen();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::buildToolBar()
{
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    bar->setFixedHeight(ToolBarHeight);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, bar);
    setContextMenuPolicy(Qt::NoContextMenu);

    m_toolBtnNew =
        makeToolButton(bar, "ToolBtnNew", QStringLiteral(" New "),
                       withShortcut(QStringLiteral("New"), NewKeys), QStyle::SP_FileIcon);
    m_toolBtnOpen =
        makeToolButton(bar, "ToolBtnOpen", QStringLiteral(" Open "),
                       withShortcut(QStringLiteral("Open"), OpenKeys), QStyle::SP_DialogOpenButton);
    m_toolBtnSave =
        makeToolButton(bar, "ToolBtnSave", QStringLiteral(" Save "),
                       withShortcut(QStringLiteral("Save"), SaveKeys), QStyle::SP_DialogSaveButton);
    m_toolBtnSaveAs =
        makeToolButton(bar, "ToolBtnSaveAs", QStringLiteral("Save As"),
                       withShortcut(QStringLiteral("Save As"), SaveAsKeys), QStyle::SP_DriveFDIcon);
    m_toolBtnParameters = makeToolButton(bar, "ToolBtnParameters", QStringLiteral("Properties"),
                                         QStringLiteral("Edit User/NV Tessaron properties"),
                                         QStyle::SP_FileDialogDetailedView);
    m_toolBtnHelp = makeToolButton(bar, "ToolBtnHelp", QStringLiteral(" Help "), QString(),
                                   QStyle::SP_DialogHelpButton);
    m_toolButtonKeyLabels = makeToolButton(bar, "ToolButtonKeyLabels", QStringLiteral("Key Labels"),
                                           QString(), QStyle::SP_FileDialogContentsView);
    m_btnWendrel = makeToolButton(bar, "btnWendrel", QStringLiteral("Set Port"),
                                  QStringLiteral("Set COM Port # for the Download and Test "
                                                 "operations"),
                                  QStyle::SP_ComputerIcon);
    m_toolBtnDownload = makeToolButton(bar, "ToolBtnDownload", QStringLiteral("Download"),
                                       QStringLiteral("Download the current file to the Tessaron"),
                                       QStyle::SP_ArrowDown);
    m_toolButtonTest =
        makeToolButton(bar, "ToolButtonTest", QStringLiteral("  Test  "),
                       QStringLiteral("Test the Tessaron (Serial or HID)"), QStyle::SP_MediaPlay);

    m_editMenu = new QMenu(this);
    m_editMenu->setObjectName(QStringLiteral("EditMenu"));
    m_editMenu
        ->addAction(QStringLiteral("Edit &Advanced ROM Properties"), this,
                    &TfrmMain::mnuEditAdvancedClick)
        ->setObjectName(QStringLiteral("mnuEditAdvanced"));
    m_editMenu
        ->addAction(QStringLiteral("Edit &Screen Data"), this, &TfrmMain::mnuEditScreenDataClick)
        ->setObjectName(QStringLiteral("mnuEditScreenData"));

    m_helpMenu = new QMenu(this);
    m_helpMenu->setObjectName(QStringLiteral("HelpMenu"));
    m_helpMenu->addAction(QStringLiteral("&User Manual"), this, &TfrmMain::mnuUserManualClick)
        ->setObjectName(QStringLiteral("mnuUserManual"));
    m_helpMenu->addAction(QStringLiteral("&About Plindorax"), this, &TfrmMain::mnuAboutClick)
        ->setObjectName(QStringLiteral("mnuAbout"));
    m_toolBtnHelp->setMenu(m_helpMenu);
    m_toolBtnHelp->setPopupMode(QToolButton::DelayedPopup);

    connect(m_toolBtnNew, &QToolButton::clicked, this, &TfrmMain::ToolBtnNewClick);
    connect(m_toolBtnOpen, &QToolButton::clicked, this, &TfrmMain::ToolBtnOpenClick);
    connect(m_toolBtnSave, &QToolButton::clicked, this, &TfrmMain::ToolBtnSaveClick);
    connect(m_toolBtnSaveAs, &QToolButton::clicked, this, &TfrmMain::ToolBtnSaveAsClick);
    connect(m_toolBtnParameters, &QToolButton::clicked, this, &TfrmMain::ToolBtnParametersClick);
    connect(m_toolBtnHelp, &QToolButton::clicked, this, [this] {
        m_helpMenu->popup(m_toolBtnHelp->mapToGlobal(m_toolBtnHelp->rect().bottomLeft()));
    });
    connect(m_toolButtonKeyLabels, &QToolButton::clicked, this,
            &TfrmMain::ToolButtonKeyLabelsClick);
    connect(m_btnWendrel, &QToolButton::clicked, this, &TfrmMain::btnWendrelClick);
    connect(m_toolBtnDownload, &QToolButton::clicked, this, &TfrmMain::ToolBtnDownloadClick);
    connect(m_toolButtonTest, &QToolButton::clicked, this, &TfrmMain::ToolButtonTestClick);
}

void TfrmMain::buildLevelArea()
{
    // The level tabs stand on a framed pane that holds every other control,
    // with the port panel beside them. The left column (level tabs, model
    // choice, keypad, manual entry) is one block, read and tabbed through
    // before the macro column beside it; it starts at the area's corner.
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("LevelArea"));
    setCentralWidget(area);
    auto* left = new QWidget(area);
    left->setObjectName(QStringLiteral("LeftColumn"));
    auto* macro = new QWidget(area);
    macro->setObjectName(QStringLiteral("MacroColumn"));

    m_tabControlLevel = new QTabBar(left);
    m_tabControlLevel->setObjectName(QStringLiteral("TabControlLevel"));
    m_tabControlLevel->addTab(QStringLiteral("Level 1"));
    m_tabControlLevel->addTab(QStringLiteral("Level 2"));
    m_tabControlLevel->setDrawBase(false);
    m_tabControlLevel->setExpanding(false);
    // The arrow keys switch levels once the tabs have the focus.
    m_tabControlLevel->setFocusPolicy(Qt::TabFocus);

    // Behind the columns; its top edge runs under the tabs' lower edge.
    auto* pane = new QFrame(area);
    pane->setObjectName(QStringLiteral("LevelPane"));
    pane->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    pane->lower();

    m_panelPort = new QLabel(QStringLiteral("Port: <not set>"), area);
    m_panelPort->setObjectName(QStringLiteral("panelPort"));
    m_panelPort->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_panelPort->setAlignment(Qt::AlignCenter);
    QFont portFont = m_panelPort->font();
    portFont.setBold(true);
    m_panelPort->setFont(portFont);
    const int tabHeight = m_tabControlLevel->sizeHint().height();
    m_panelPort->setFixedSize(232, tabHeight - 4);

    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 2, 2);
    grid->setSpacing(0);
    grid->setRowMinimumHeight(0, tabHeight);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(2, 1);
    grid->addWidget(left, 0, 0, 2, 1);
    grid->addWidget(m_panelPort, 0, 1, 1, 2, Qt::AlignRight);
    grid->addWidget(macro, 1, 1);
    auto* paneMargin = new QVBoxLayout;
    paneMargin->setContentsMargins(2, 0, 0, 0);
    paneMargin->addWidget(pane);
    grid->addLayout(paneMargin, 1, 0, 1, 3);

    // Model choice above the keypad.
    QLabel* view =
        MakeLabel(left, "lblView", QStringLiteral("---------------- view ----------------"));
    view->setAlignment(Qt::AlignHCenter);
    view->setAccessibleName(QStringLiteral("View"));
    // As wide as the keypad: the dashes run to its edges.
    view->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_rbModel510 = new QRadioButton(QStringLiteral("20 keys"), left);
    m_rbModel510->setObjectName(QStringLiteral("rbModel510"));
    m_rbModel514 = new QRadioButton(QStringLiteral("12 keys"), left);
    m_rbModel514->setObjectName(QStringLiteral("rbModel514"));
    connect(m_rbModel510, &QRadioButton::clicked, this, [this] { modelSelected(2); });
    connect(m_rbModel514, &QRadioButton::clicked, this, [this] { modelSelected(1); });
    QHBoxLayout* models = MakeRow({m_rbModel510, m_rbModel514});
    models->insertStretch(0);

    m_pnlKeypad = new TKeypadPanel(left);

    auto* column = new QVBoxLayout(left);
    column->setContentsMargins(5, 1, 8, 15);
    column->setSpacing(6);
    column->addWidget(m_tabControlLevel, 0, Qt::AlignLeft);
    column->addWidget(view);
    column->addLayout(models);
    column->addSpacing(7);
    // A row of its own, whose margins place the 12-key keypad.
    column->addLayout(MakeRow({m_pnlKeypad}));
    column->addStretch();
    buildManualEntry(left);

    buildMacroArea(macro);
}

void TfrmMain::buildManualEntry(QWidget* area)
{
    auto* box = new QFrame(area);
    area->layout()->addWidget(box);
    box->setObjectName(QStringLiteral("pnlManualEntry"));
    box->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);

    m_rbDecimal = new QRadioButton(QStringLiteral("Decimal"), box);
    m_rbDecimal->setObjectName(QStringLiteral("rbDecimal"));
    m_rbDecimal->setChecked(true);
    m_rbHexadecimal = new QRadioButton(QStringLiteral("Hexadecimal"), box);
    m_rbHexadecimal->setObjectName(QStringLiteral("rbHexadecimal"));

    m_edManualInput = new TManualInputEdit(box);
    m_edManualInput->setFixedSize(60, 24);
    m_edManualInput->setAlignment(Qt::AlignRight);

    m_spdbtnInsert = new QToolButton(box);
    m_spdbtnInsert->setObjectName(QStringLiteral("spdbtnInsert"));
    m_spdbtnInsert->setText(QStringLiteral("Insert"));
    m_spdbtnInsert->setToolTip(QStringLiteral("Insert the value into the macro"));
    m_spdbtnInsert->setFocusPolicy(Qt::TabFocus);
    m_spdbtnInsert->setFixedSize(68, 24);

    auto* rows = new QVBoxLayout(box);
    rows->setContentsMargins(7, 5, 11, 11);
    rows->setSpacing(5);
    // One phrase in two labels.
    QHBoxLayout* caption = MakeRow({MakeLabel(box, "lblEnterData", QStringLiteral("Enter data")),
                                    MakeLabel(box, "lblManually", QStringLiteral("manually:"))});
    caption->setSpacing(3);
    rows->addLayout(caption);
    rows->addWidget(m_rbDecimal);
    rows->addWidget(m_rbHexadecimal);
    rows->addLayout(MakeRow({m_edManualInput, m_spdbtnInsert}));

    // The two are exclusive: Hexadecimal's state is the entry's base.
    connect(m_rbHexadecimal, &QRadioButton::toggled, m_edManualInput,
            &TManualInputEdit::SetHexadecimal);
    connect(m_edManualInput, &TManualInputEdit::enterPressed, this, &TfrmMain::manualEnter);
    connect(m_spdbtnInsert, &QToolButton::clicked, this, &TfrmMain::manualInsertClicked);
}

void TfrmMain::buildMacroArea(QWidget* area)
{
    auto* header = new QFrame(area);
    header->setObjectName(QStringLiteral("pnlMacroHeader"));
    header->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);

    m_lblMacroHeader =
        MakeLabel(header, "lblMacroHeader", QStringLiteral("Macro for Key 1, Level 1"));
    QFont bold = m_lblMacroHeader->font();
    bold.setBold(true);
    m_lblMacroHeader->setFont(bold);

    QLabel* available =
        MakeLabel(header, "lblSpaceAvailable", QStringLiteral("Bytes available for this macro:"));
    m_lblBytesUsed = new TValueLabel(QStringLiteral("100"), available, header);
    m_lblBytesUsed->setObjectName(QStringLiteral("lblBytesUsed"));
    m_lblBytesUsed->setFont(bold);

    m_editName = new QLineEdit(header);
    m_editName->setObjectName(QStringLiteral("EditName"));
    m_editName->setMaxLength(40);
    m_editName->setToolTip(QStringLiteral("Enter optional name for key macro."));
    m_editName->setFixedSize(144, 20);

    m_progressBar1 = new QProgressBar(header);
    m_progressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressBar1->setRange(0, 100);
    m_progressBar1->setValue(0);
    m_progressBar1->setTextVisible(false);
    m_progressBar1->setFixedHeight(14);

    m_chkboxAutoRepeat =
        MakeCheck(header, "chkboxAutoRepeat", QStringLiteral("- This macro can auto-repeat"));
    m_chkboxAutoRepeat->setToolTip(
        QStringLiteral("Check this box to make the current macro auto-repeat"));
    m_chkboxAutoRepeat->setFocusPolicy(Qt::TabFocus);

    m_cboxKeyAsTrueTerminal = MakeCheck(header, "cboxKeyAsTrueTerminal",
                                        QStringLiteral("- Transmit this key (don't buffer)"));
    m_cboxKeyAsTrueTerminal->setToolTip(
        QStringLiteral("Treat this LineEdit key as if in TrueTerminal mode"));
    m_cboxKeyAsTrueTerminal->setEnabled(false);
    m_cboxKeyAsTrueTerminal->setFocusPolicy(Qt::TabFocus);

    // The key's macro on the left, the bytes it uses on the right.
    auto* fields = new QGridLayout(header);
    fields->setContentsMargins(7, 3, 9, 1);
    fields->setSpacing(3);
    fields->setColumnStretch(1, 1);
    fields->addWidget(m_lblMacroHeader, 0, 0);
    fields->addLayout(MakeRow({available, m_lblBytesUsed}), 0, 1);
    fields->addLayout(
        MakeRow({MakeLabel(header, "Label1", QStringLiteral("Description:")), m_editName}), 1, 0);
    fields->addWidget(m_progressBar1, 1, 1);
    fields->addWidget(m_chkboxAutoRepeat, 2, 0);
    fields->addWidget(m_cboxKeyAsTrueTerminal, 2, 1);

    m_grid = new TMacroGrid(area);
    m_pcKeyboard = new TPcKeyboard(area);

    auto* column = new QVBoxLayout(area);
    column->setContentsMargins(0, 4, 0, 4);
    column->setSpacing(2);
    column->addWidget(header);
    column->addWidget(m_grid, 0, Qt::AlignHCenter);
    column->addStretch();
    column->addWidget(m_pcKeyboard, 0, Qt::AlignHCenter);

    m_popmenuClearMacro = new TGridPopupMenu(this);
    m_popmenKeyType = new TKeyTypeMenu(this);
}

void TfrmMain::buildCommands()
{
    struct CommandRow
    {
        const char* Name;
        const char* Text;
        QList<QKeySequence> Keys;
        void (TfrmMain::*Run)();
    };
    const CommandRow commands[] = {
        {"actNew", "New", {NewKeys}, &TfrmMain::ToolBtnNewClick},
        {"actOpen", "Open", {OpenKeys}, &TfrmMain::ToolBtnOpenClick},
        {"actSave", "Save", {SaveKeys}, nullptr},
        {"actSaveAs", "Save As", {SaveAsKeys}, nullptr},
        {"actQuit", "Quit", {QuitKeys}, nullptr},
        {"actUndo", "Undo", {UndoKeys}, &TfrmMain::Undo},
        {"actRedo", "Redo", RedoKeys, &TfrmMain::Redo},
        {"actCut", "Cut macro", {CutKeys}, &TfrmMain::CutMacro},
        {"actCopy", "Copy macro", {CopyKeys}, &TfrmMain::CopyMacro},
        {"actPaste", "Paste macro", {PasteKeys}, &TfrmMain::PasteMacro},
    };
    for (const CommandRow& command : commands) {
        auto* action = new QAction(QString::fromLatin1(command.Text), this);
        action->setObjectName(QString::fromLatin1(command.Name));
        action->setShortcuts(command.Keys);
        // Wherever the focus is in this window, the grid included.
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        if (command.Run != nullptr) {
            connect(action, &QAction::triggered, this, command.Run);
        }
    }
    m_actSave = Command("actSave");
    m_actUndo = Command("actUndo");
    m_actRedo = Command("actRedo");
    connect(m_actSave, &QAction::triggered, this, [this] {
        if (m_toolBtnSave->isEnabled()) {
            ToolBtnSaveClick();
        }
    });
    connect(Command("actSaveAs"), &QAction::triggered, this, [this] { ToolBtnSaveAsClick(); });
    // Closing asks the usual question.
    connect(Command("actQuit"), &QAction::triggered, this, &QWidget::close);
    updateEditCommands();
}

QAction* TfrmMain::Command(const char* name) const
{
    return findChild<QAction*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

void TfrmMain::connectEditing()
{
    connect(m_tabControlLevel, &QTabBar::currentChanged, this, &TfrmMain::levelChanged);
    connect(m_pnlKeypad, &TKeypadPanel::keyClicked, this, &TfrmMain::keySelected);
    connect(m_pnlKeypad, &TKeypadPanel::keyMenuRequested, this, &TfrmMain::keyMenuRequested);

    connect(m_grid, &TMacroGrid::characterTyped, this,
            [this](int code) { m_editing.CharacterTyped(place(), code); });
    connect(m_grid, &TMacroGrid::backspacePressed, this,
            [this] { m_editing.Backspace(place(), selectedBlock()); });
    connect(m_grid, &TMacroGrid::deletePressed, this,
            [this] { m_editing.Delete(place(), selectedBlock()); });
    connect(m_grid, &TMacroGrid::shiftPressed, this, [this] { m_editing.ShiftPressed(); });
    connect(m_grid, &TMacroGrid::shiftReleased, this, [this] { m_editing.ShiftReleased(); });
    connect(m_grid, &TMacroGrid::cellDoubleClicked, this,
            [this] { m_editing.Delete(place(), selectedBlock()); });
    connect(m_grid, &TMacroGrid::popupRequested, this, &TfrmMain::showGridPopup);
    connect(m_grid, &TMacroGrid::cellSelected, this,
            [this](int) { m_pcKeyboard->ShowModifierButtons(); });

    connect(m_pcKeyboard, &TPcKeyboard::keyClicked, this, &TfrmMain::onScreenKey);
    connect(m_pcKeyboard, &TPcKeyboard::rawCodeClicked, this,
            [this](int code) { m_editing.RawCodeWithLengthCheck(place(), code); });
    connect(m_pcKeyboard, &TPcKeyboard::modifierToggled, this,
            [this](std::uint8_t flag, bool pressed) { m_editing.ModifierToggled(flag, pressed); });
    connect(m_pcKeyboard, &TPcKeyboard::delayClicked, this,
            [this](int position) { onScreenKey(DelayBase + position); });
    connect(m_pcKeyboard, &TPcKeyboard::beepClicked, this,
            [this](int position) { onScreenKey(BeepBase + position); });

    connect(m_popmenuClearMacro, &TGridPopupMenu::eraseAll, this,
            [this] { m_editing.EraseAll(place()); });
    connect(m_popmenuClearMacro, &TGridPopupMenu::copyMacro, this, &TfrmMain::CopyMacro);
    connect(m_popmenuClearMacro, &TGridPopupMenu::pasteMacro, this, &TfrmMain::PasteMacro);
    connect(m_popmenuClearMacro, &TGridPopupMenu::viewAscii, this, [this] { setHexView(false); });
    connect(m_popmenuClearMacro, &TGridPopupMenu::viewHex, this, [this] { setHexView(true); });
    connect(m_popmenuClearMacro, &TGridPopupMenu::rawCode, this,
            [this](int code) { m_editing.RawCodeWithLengthCheck(place(), code); });
    connect(m_popmenuClearMacro, &TGridPopupMenu::midiMessage, this, &TfrmMain::openMidiDialog);
    connect(m_popmenuClearMacro, &TGridPopupMenu::ledCommand, this,
            [this](int n) { m_editing.LedCommand(place(), n); });
    connect(m_popmenKeyType, &TKeyTypeMenu::typeClicked, this,
            [this](int keyType, bool) { m_editing.KeyTypeClicked(place(), keyType); });

    // toggled, not clicked: a box ticked through the accessibility interface
    // counts too. Showing a macro sets the boxes to its flags, which then
    // agree and change nothing.
    connect(m_chkboxAutoRepeat, &QCheckBox::toggled, this,
            [this](bool on) { m_editing.SetAutoRepeat(place(), on); });
    connect(m_cboxKeyAsTrueTerminal, &QCheckBox::toggled, this,
            [this](bool on) { m_editing.SetSendLineEditKeyASAP(place(), on); });
    connect(m_editName, &QLineEdit::textEdited, this, [this](const QString& text) {
        // Names are 8-bit; what Latin-1 cannot hold becomes "?".
        m_editing.SetMacroName(place(), text.toLatin1().toStdString());
    });
    connect(m_editName, &QLineEdit::returnPressed, this, [this] { m_grid->setFocus(); });
    m_editName->installEventFilter(this);
    m_edManualInput->installEventFilter(this);
    // A file dropped anywhere on the window opens; the text fields would take
    // its path as text.
    m_editName->setAcceptDrops(false);
    m_edManualInput->setAcceptDrops(false);
}

void TfrmMain::setAccessibleNames()
{
    m_tabControlLevel->setAccessibleName(QStringLiteral("Level"));
    m_pnlKeypad->setAccessibleName(QStringLiteral("Keypad"));
    m_pnlKeypad->setAccessibleDescription(m_pnlKeypad->toolTip());
    m_rbModel510->setAccessibleDescription(QStringLiteral("Model 510"));
    m_rbModel514->setAccessibleDescription(QStringLiteral("Model 514"));
    m_editName->setAccessibleName(QStringLiteral("Description"));
    m_editName->setAccessibleDescription(m_editName->toolTip());
    m_edManualInput->setAccessibleName(QStringLiteral("Enter data manually"));
    m_spdbtnInsert->setAccessibleName(QStringLiteral("Insert"));
    m_grid->setAccessibleName(QStringLiteral("Macro"));
    m_progressBar1->setAccessibleName(QStringLiteral("Bytes used"));
    m_pcKeyboard->setAccessibleName(QStringLiteral("PC keyboard"));
}

void TfrmMain::setTabOrder()
{
    // The tool bar, then the left column top to bottom, then the macro
    // header, the grid and the on-screen keyboard's toggles and commands.
    QList<QWidget*> chain{m_toolBtnNew,          m_toolBtnOpen,       m_toolBtnSave,
                          m_toolBtnSaveAs,       m_toolBtnParameters, m_toolBtnHelp,
                          m_toolButtonKeyLabels, m_btnWendrel,        m_toolBtnDownload,
                          m_toolButtonTest,      m_tabControlLevel,   m_rbModel510,
                          m_rbModel514};
    for (int k = 0; k < TKeypadPanel::Keys; ++k) {
        chain << m_pnlKeypad->Button(k);
    }
    chain << m_rbDecimal << m_rbHexadecimal << m_edManualInput << m_spdbtnInsert << m_editName
          << m_chkboxAutoRepeat << m_cboxKeyAsTrueTerminal << m_grid;
    chain << m_pcKeyboard->FocusChain();
    for (qsizetype i = 1; i < chain.size(); ++i) {
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    }
}

void TfrmMain::centreOnScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    // The frame is known once the window is shown; until then the client
    // area stands for it.
    const QRect available = screen->availableGeometry();
    const QSize frame = frameGeometry().size();
    // move() places the frame's top-left corner.
    move(available.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shownOnce || event->spontaneous()) {
        return;
    }
    m_shownOnce = true;
    centreOnScreen();
    m_grid->setFocus();
    // Selecting the model's radio button runs the model selection, which also
    // writes Keypad_Layout: the settings file is written at every start.
    if (m_keypadLayout == 1) {
        m_rbModel514->setChecked(true);
        modelSelected(1);
    } else {
        m_rbModel510->setChecked(true);
        modelSelected(2);
    }
}

void TfrmMain::SetModified(bool flag)
{
    m_document.SetModified(flag);
    m_toolBtnSave->setEnabled(flag);
    if (flag && !windowTitle().endsWith(QLatin1Char('*'))) {
        setWindowTitle(windowTitle() + QLatin1Char('*'));
    }
}

void TfrmMain::ShowModified(bool modified)
{
    SetModified(modified);
    // Undoing back to the saved state takes the "*" away again.
    if (!modified && windowTitle().endsWith(QLatin1Char('*'))) {
        setWindowTitle(windowTitle().chopped(1));
    }
    updateEditCommands();
}

void TfrmMain::updateEditCommands()
{
    m_actUndo->setEnabled(m_editing.CanUndo());
    m_actRedo->setEnabled(m_editing.CanRedo());
}

void TfrmMain::ShowMacro(int position)
{
    const TKeypadClass& keypad = Keypad();
    const TMacroData& macro = keypad.Macro(m_key, m_level);
    m_grid->SetCursor(position);

    std::array<QString, TMacroGridModel::Cells> labels;
    for (int i = 0; i < MacroByteLimit; ++i) {
        labels[static_cast<size_t>(i)] =
            QString::fromLatin1(ItemLabelOf(keypad.Item(m_key, m_level, i), m_hexView).c_str());
    }
    m_grid->Model().SetLabels(labels);

    m_pcKeyboard->ShowModifierButtons();
    m_lblMacroHeader->setText(
        QStringLiteral("Macro for Key %1, Level %2").arg(m_key + 1).arg(m_level + 1));
    const int used = MacroBytesUsed(macro);
    m_lblBytesUsed->setText(QString::number(MacroByteLimit - used));
    m_chkboxAutoRepeat->setChecked(macro.AutoRepeat != 0);
    m_cboxKeyAsTrueTerminal->setChecked(macro.SendLineEditKeyASAP != 0);
    m_cboxKeyAsTrueTerminal->setEnabled(IsLineEdit(keypad.Operating_Mode));
    m_progressBar1->setValue(std::clamp(used, 0, MacroByteLimit));
    ShowMacroName();
}

void TfrmMain::ShowPlace(int key, int level, int position)
{
    m_key = key;
    m_level = level;
    {
        // Showing the tab is not a level change of the user's.
        const QSignalBlocker blocker(m_tabControlLevel);
        m_tabControlLevel->setCurrentIndex(level);
    }
    m_pnlKeypad->ShowPressed(key);
    m_pnlKeypad->SetLevelColour(level);
    ShowMacro(position);
}

void TfrmMain::ShowMacroName()
{
    m_editName->setText(QString::fromLatin1(Keypad().Macro(m_key, m_level).MacroName.c_str()));
}

void TfrmMain::ShowKeyType(int key)
{
    m_pnlKeypad->SetKeyType(key, Keypad().Keys(key).KeyType);
}

void TfrmMain::ShowProperties()
{
    afterPropertiesClick();
    ShowMacro(m_grid->Cursor());
}

void TfrmMain::ShowCapsLock(bool pressed)
{
    m_pcKeyboard->SetModifierButton(CapsLock, pressed);
}

void TfrmMain::ShowLengthWarning(bool longForm)
{
    m_frmMacroLenWarning->ShowLengthWarning(longForm);
}

void TfrmMain::ShowPortStatus()
{
    UpdatePortPanel(m_portState, ReadLoaderPortStatus(LoaderSettingsPath()),
                    UsbHidCondition(Keypad(), Rom().AdvancedParams));
    m_panelPort->setText(QString::fromLatin1(m_portState.Text.c_str()));
    m_panelPort->setToolTip(QString::fromLatin1(m_portState.Hint.c_str()));
    m_panelPort->setAccessibleName(m_panelPort->text());
    m_panelPort->setAccessibleDescription(m_panelPort->toolTip());
    QPalette colours = m_panelPort->palette();
    colours.setColor(QPalette::WindowText, QColor::fromRgb(static_cast<QRgb>(m_portState.Colour)));
    m_panelPort->setPalette(colours);
}

void TfrmMain::showError(const QString& text)
{
    m_services.Messages.Error(QStringLiteral("Plindorax"), text);
}

void TfrmMain::showInformation(const QString& text)
{
    m_services.Messages.Information(QStringLiteral("Plindorax"), text);
}

void TfrmMain::ShowError(const std::string& text)
{
    showError(QString::fromLatin1(text.c_str()));
}

void TfrmMain::ShowInformation(const std::string& text)
{
    showInformation(QString::fromLatin1(text.c_str()));
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    // Ctrl+Z and the redo keys in a text field reach the window's commands
    // instead of the field's own undo (a filter that eats the override
    // without accepting it lets the shortcut run).
    if (event->type() == QEvent::ShortcutOverride && isHistoryKey(static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace tessaron
