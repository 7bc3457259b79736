#pragma once

#include "editor/model/AdvancedClass.h"
#include "editor/model/KeypadClass.h"
#include "editor/window/MainServices.h"
#include "editor/window/MessageBoxSink.h"
#include "editor/window/MidiEventsHost.h"
#include "editor/window/PortStatus.h"
#include "editor/window/SiblingPrograms.h"

#include <QMainWindow>
#include <QStringList>

#include <cstdint>
#include <string>

class QCheckBox;
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
// the editor's other windows, and turns every command into operations on the
// document.
class TfrmMain : public QMainWindow, public TMidiEventsHost
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

    // The document and the window state.
    TKeypadClass& Keypad() { return m_keypad; }
    TRomRecords& Rom() { return m_rom; }
    bool Modified() const { return m_modified; }
    bool RomEditMode() const { return m_romEditMode; }
    int KeypadLayout() const { return m_keypadLayout; }
    std::uint8_t ModifierFlags() const { return m_modifierFlags; }
    bool HideLengthWarning() const { return m_hideLengthWarning; }
    const std::string& DownloadFile() const { return m_downloadFile; }
    const std::string& RedefinitionFileName() const { return m_redefinitionFileName; }
    const std::string& RomFileName() const { return m_romFileName; }

    // The other windows, made once.
    TfrmParameters& Parameters() const { return *m_frmParameters; }
    TfrmAdvanced& Advanced() const { return *m_frmAdvanced; }
    TfrmScreenEdit& ScreenEdit() const { return *m_frmScreenEdit; }
    TfrmMidiEvents& MidiEvents() const { return *m_frmMidiEvents; }
    TfrmMacroLenWarning& MacroLenWarning() const { return *m_frmMacroLenWarning; }
    QMenu& GridPopupMenu() const;
    QMenu& KeyTypeMenu() const;
    QMenu& EditMenu() const { return *m_editMenu; }
    QMenu& HelpMenu() const { return *m_helpMenu; }

    // Operations that the other windows and the commands share.
    void SetModified(bool flag);
    void ShowMacro(int position);
    void ShowPortStatus();
    bool InsertKeyCode(int value);
    bool InsertRawCode(int value);
    void DeleteCells(int position);
    void CheckLengthWarning();

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

    // TMidiEventsHost
    std::uint8_t MidiChannel() const override { return m_midiChannel; }
    void SetMidiChannel(std::uint8_t channel) override;
    void InsertMidiMessage(const std::uint8_t* bytes, int count) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Construction (Main.cpp).
    void buildToolBar();
    void buildLevelArea();
    void buildMacroArea(QWidget* area);
    void buildManualEntry(QWidget* area);
    void connectEditing();
    void centreOnScreen();

    // Document life (MainDocument.cpp).
    bool askToSave(bool closing, bool* answeredNo = nullptr);
    void afterLoadRefresh(bool romFile, const std::string& path);
    void showFirstKeyOnLevel1();
    bool writeRomDocument();
    bool writeUserDocument(const std::string& path);
    QString captionPrefix(bool romFile) const;
    void setCaptionFile(bool romFile, const std::string& path);
    void showAllKeyTypes();
    void afterPropertiesClick();

    // Keypad and grid (MainKeypad.cpp).
    void setKeyLayout();
    void modelSelected(int layout);
    void keySelected(int keyIndex);
    void keyRightPressed(int keyIndex);
    void levelChanged(int level);
    void showKeyTypeGlyph(int keyIndex);
    void setHexView(bool hex);

    // Editing (MainEditing.cpp).
    void afterInsertion(int position);
    void gridCharacterTyped(int code);
    void gridBackspace();
    void gridDelete();
    void gridShiftPressed();
    void gridShiftReleased();
    int blockStart() const;
    void modifierToggled(std::uint8_t flag, bool pressed);
    void onScreenKey(int keyNumber);
    void onScreenCommand(std::int32_t item);
    void onScreenRawCode(int code);
    void popupRawCode(int code);
    void eraseAll();
    void ledCommand(int n);
    void openMidiDialog();
    void keyTypeClicked(int keyType);
    void autoRepeatClicked(bool checked);
    void trueTerminalClicked(bool checked);
    void nameEdited(const QString& text);
    bool manualValue(int& value);
    void manualEnter();
    void manualInsertClicked();
    void showGridPopup(const QPoint& globalPosition);

    void showError(const QString& text);
    void showInformation(const QString& text);

    TMainServices m_services;
    TMessageBoxSink m_messageSink;
    TSiblingPrograms m_siblings;

    // The document, reset in place, never re-created.
    TKeypadClass m_keypad;
    TRomRecords m_rom;

    bool m_romEditMode = false;
    bool m_modified = false;
    int m_keypadLayout = 2;
    std::uint8_t m_midiChannel = 1;
    bool m_hideLengthWarning = false;
    std::uint8_t m_modifierFlags = 0;
    std::string m_downloadFile;
    std::string m_redefinitionFileName = "untitled";
    std::string m_romFileName;
    bool m_shownOnce = false;
    TPortPanelState m_portState;

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
