#pragma once

#include "editor/model/AdvancedClass.h"
#include "editor/model/Document.h"
#include "editor/model/KeypadClass.h"
#include "editor/window/EditingController.h"
#include "editor/window/EditingView.h"
#include "editor/window/MainServices.h"
#include "editor/window/MessageBoxSink.h"
#include "editor/window/MidiEventsHost.h"
#include "editor/window/PortStatus.h"
#include "editor/window/SiblingPrograms.h"

#include <QMainWindow>
#include <QStringList>

#include <cstdint>
#include <string>

class QAction;
class QCheckBox;
class QDialog;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QRadioButton;
class QTabBar;
class QToolButton;

namespace tessaron {

class TfrmAdvanced;
class TfrmMacroLenWarning;
class TfrmMidiEvents;
class TfrmParameters;
class TfrmScreenEdit;
class TGridPopupMenu;
class TKeyTypeMenu;
class TKeypadPanel;
class TMacroGrid;
class TManualInputEdit;
class TPcKeyboard;

// Plindorax's main window. It owns the one document (the key table and the ROM
// records) for the life of the process, the edit mode chosen at start-up, and
// the editor's other windows. Its controls forward what the user does to the
// editing controller, which changes the document and keeps the undo history.
class TfrmMain : public QMainWindow, public TMidiEventsHost, private TEditingView
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 627;
    static constexpr int ClientHeight = 455;

    // arguments: the command line without the program name; the first names a
    // redefinition file to open.
    TfrmMain(const TMainServices& services, const QStringList& arguments,
             QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The one document and what edits it, for the tools that show the window
    // with a document of their own (the snapshots, the benchmarks).
    TDocument& Document() { return m_document; }
    TEditingController& Editing() { return m_editing; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TKeypadClass& Keypad() { return m_document.Keypad(); }
    TRomRecords& Rom() { return m_document.Rom(); }
    // The window's keyboard commands, by their object names ("actUndo").
    QAction* Command(const char* name) const;

    // Operations that the commands share.
    void SetModified(bool flag);
    void ShowPortStatus();

    // The commands, as the tool bar and menus run them.
    void ToolBtnNewClick();
    void ToolBtnOpenClick();
    bool ToolBtnSaveClick();
    bool ToolBtnSaveAsClick();
    void ToolBtnParametersClick();
    void ToolBtnDownloadClick();
    void btnWendrelClick();
    void ToolButtonTestClick();
    void ToolButtonKeyLabelsClick();
    void mnuUserManualClick();
    void mnuAboutClick();
    void mnuEditAdvancedClick();
    void mnuEditScreenDataClick();
    void Undo();
    void Redo();
    void CopyMacro();
    void CutMacro();
    void PasteMacro();
    // Opens a document file as Open does with a chosen name (after the save
    // question); false when the file is not of the edit mode's kind.
    bool OpenDroppedFile(const QString& path);

    // TMidiEventsHost
    std::uint8_t MidiChannel() const override { return m_midiChannel; }
    void SetMidiChannel(std::uint8_t channel) override;
    void InsertMidiMessage(const std::uint8_t* bytes, int count) override;

    // Construction (Main.cpp).
    void buildToolBar();
    void buildLevelArea();
    void buildMacroArea(QWidget* area);
    void buildManualEntry(QWidget* area);
    void buildCommands();
    void connectEditing();
    void setAccessibleNames();
    void setTabOrder();
    void centreOnScreen();

    // TEditingView
    void ShowError(const std::string& text) override;
    void ShowInformation(const std::string& text) override;
    void ShowMacro(int position) override;
    void ShowPlace(int key, int level, int position) override;
    void ShowMacroName() override;
    void ShowKeyType(int key) override;
    void ShowProperties() override;
    void ShowModified(bool modified) override;
    void ShowCapsLock(bool pressed) override;
    void ShowLengthWarning(bool longForm) override;
    bool HexView() const override { return m_hexView; }
    bool RomEditMode() const override { return m_romEditMode; }

    // Document life (MainDocument.cpp).
    bool askToSave(bool closing, bool* answeredNo = nullptr);
    void openChosenFile(const std::string& path);
    void afterLoadRefresh(bool romFile, const std::string& path);
    void showFirstKeyOnLevel1();
    bool writeRomDocument(const std::string& path);
    bool writeUserDocument(const std::string& path);
    void runPropertyDialog(QDialog& dialog);
    QString captionPrefix(bool romFile) const;
    void setCaptionFile(bool romFile, const std::string& path);
    void showAllKeyTypes();
    void afterPropertiesClick();

    // Keypad and grid (MainKeypad.cpp).
    void setKeyLayout();
    void modelSelected(int layout);
    void keySelected(int keyIndex);
    void keyMenuRequested(int keyIndex, const QPoint& globalPosition);
    void levelChanged(int level);
    void setHexView(bool hex);

    // Editing (MainEditing.cpp).
    // The key, level and grid cursor being edited.
    TMacroPlace place() const;
    TCellBlock selectedBlock() const;
    void onScreenKey(std::int32_t value);
    void openMidiDialog();
    bool manualValue(int& value);
    void manualEnter();
    void manualInsertClicked();
    void showGridPopup(const QPoint& globalPosition);
    void updateEditCommands();

    void showError(const QString& text);
    void showInformation(const QString& text);

    TMainServices m_services;
    TMessageBoxSink m_messageSink;
    TSiblingPrograms m_siblings;

    // The document, reset in place, never re-created, and what edits it.
    TDocument m_document;
    TEditingController m_editing;

    bool m_romEditMode = false;
    int m_keypadLayout = 2;
    std::uint8_t m_midiChannel = 1;
    // The macro being edited, and how its items are shown.
    int m_key = 0;
    int m_level = 0;
    bool m_hexView = false;
    bool m_shownOnce = false;
    TPortPanelState m_portState;

    // Keyboard commands.
    QAction* m_actSave = nullptr;
    QAction* m_actUndo = nullptr;
    QAction* m_actRedo = nullptr;

    // Tool bar.
    QToolButton* m_toolBtnNew = nullptr;
    QToolButton* m_toolBtnOpen = nullptr;
    QToolButton* m_toolBtnSave = nullptr;
    QToolButton* m_toolBtnSaveAs = nullptr;
    QToolButton* m_toolBtnParameters = nullptr;
    QToolButton* m_toolBtnHelp = nullptr;
    QToolButton* m_toolButtonKeyLabels = nullptr;
    QToolButton* m_btnWendrel = nullptr;
    QToolButton* m_toolBtnDownload = nullptr;
    QToolButton* m_toolButtonTest = nullptr;
    QMenu* m_editMenu = nullptr;
    QMenu* m_helpMenu = nullptr;

    // Level area: tabs, port panel, model choice, keypad, manual entry.
    QTabBar* m_tabControlLevel = nullptr;
    QLabel* m_panelPort = nullptr;
    QRadioButton* m_rbModel510 = nullptr;
    QRadioButton* m_rbModel514 = nullptr;
    TKeypadPanel* m_pnlKeypad = nullptr;
    TManualInputEdit* m_edManualInput = nullptr;
    QRadioButton* m_rbDecimal = nullptr;
    QRadioButton* m_rbHexadecimal = nullptr;
    QToolButton* m_spdbtnInsert = nullptr;

    // Macro header, grid and PC keyboard.
    QLabel* m_lblMacroHeader = nullptr;
    QLineEdit* m_editName = nullptr;
    QCheckBox* m_chkboxAutoRepeat = nullptr;
    QCheckBox* m_cboxKeyAsTrueTerminal = nullptr;
    QLabel* m_lblBytesUsed = nullptr;
    QProgressBar* m_progressBar1 = nullptr;
    TMacroGrid* m_grid = nullptr;
    TPcKeyboard* m_pcKeyboard = nullptr;
    TGridPopupMenu* m_popmenuClearMacro = nullptr;
    TKeyTypeMenu* m_popmenKeyType = nullptr;

    // The other forms, created after this one, in this order.
    TfrmParameters* m_frmParameters = nullptr;
    TfrmAdvanced* m_frmAdvanced = nullptr;
    TfrmScreenEdit* m_frmScreenEdit = nullptr;
    TfrmMidiEvents* m_frmMidiEvents = nullptr;
    TfrmMacroLenWarning* m_frmMacroLenWarning = nullptr;
};

} // namespace tessaron
