// CMainFrame: the finder's main window. Result windows open in its window
// area (a QMdiArea); around them it carries the menus, the toolbar, the
// search bar, the status bar and the entry window, which is docked at one
// side or floats. It remembers its own placement and the entry window's in
// the settings store ("Fndr": FrameX ... FrameM, FrameA, EditX ... EditV).
//
// It owns the entry editor (the current word, the undo history and the
// dictionary changes; entry_editor.h) and is its host: main_frame_entry.cpp
// (loading a found word, the tick that keeps the entry window and the state
// in step), main_frame_entry_commands.cpp (the commands on the word).
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "finder/entry_editor.h"
#include "finder/main_frame_placement.h"
#include "finder/search_bar_library.h"

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class CSearchBar;
class CEntryWindow;
class CSearchOptionsDlg;
class CVrk3mpgDoc;
class CVrk3mpgView;
class CUndoListWnd;

namespace vrk {
class TCommandSet;
}

class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    // Reads the stored placement, builds every bar and window, applies the
    // stored fonts and, when `showSplash` is set, shows the start-up picture.
    // The window is not shown yet; when it first shows, it applies the
    // stored maximized state and, on the very first run, opens the help.
    explicit CMainFrame(bool showSplash = true, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The area the result windows open in.
    QMdiArea* MdiArea() const;
    CSearchBar* SearchBar() const;
    CEntryWindow* EntryWindow() const;
    CSearchOptionsDlg* SearchOptions() const;
    CActiveLibraryDlg* ActiveLibraryDlg() const;
    // The library whose dictionaries the Search command searches.
    TActiveLibrary& ActiveLibrary() { return m_activeLibrary; }
    // Every command of the frame, by identifier (finder/main_frame_ids.h).
    vrk::TCommandSet* Commands() const;

    // The Search command ("Išči"; main_frame_search.cpp): when it is enabled,
    // a new search document searches the active library for the search
    // bar's texts, and when it finds something its result window opens.
    // Returns that window, or null when none opened (command disabled,
    // nothing found, or the user cancelled).
    QMdiSubWindow* RunSearch();
    // Opens a result window on `doc` in the window area and returns it.
    QMdiSubWindow* OpenResultWindow(std::shared_ptr<const CVrk3mpgDoc> doc);

    // --- The entry editor and the entry window (main_frame_entry.cpp).
    TEntryEditor& Editor() { return m_editor; }
    const TEntryEditor& Editor() const { return m_editor; }
    // Puts the found word of `row` of `view` into the entry window, showing
    // description `nDesc` (TEntryEditor::LoadEntryAt).
    void LoadEntry(CVrk3mpgView* view, int row, int nDesc);
    // The next tick shows the word, the description and the counter afresh.
    void RequestEntryRefresh();
    // One tick (every 100 ms, and at the end of every entry command): reads
    // the editor back and shows what changed (CEntryWindow::Show).
    void EntryTick();
    // Takes text typed into the entry editor since the last tick into the
    // entry state. Every command, button and undo step calls it first.
    void ReadEntryEditor();
    // The entry window's ">" and "<". Docked, leaving a changed description
    // records an undo step; floating, nothing is recorded.
    void NextDescription();
    void PreviousDescription();

    // --- Commands on the word (main_frame_entry_commands.cpp), run by the
    // editor; undo steps `count` at a time for "Razveljavi Več".
    void NewEntry();
    void SaveEntry();
    void SaveEntryAs();
    void AddDescription();
    void RemoveDescription();
    void DeleteEntry();
    void ShowDictionaryInfo();
    bool UndoLast();
    void UndoSteps(int count);
    void ShowUndoList();
    CUndoListWnd* UndoList() const { return m_pUndoList; }

    // Which entry window shows now: kEntryHidden, kEntryDocked, kEntryFloating.
    int EntryMode() const;
    // The side the entry window docks at (kAlignLeft ... kAlignBottom).
    std::int32_t EntryAlign() const { return m_dwEntryAlign; }

    // Decides the enabled and checked state of every command; called by the
    // tick, before menus open and whenever the search texts change.
    void UpdateCommandStates();
    // Keeps the entry editor's text, selection and focus across a switch
    // between the docked and the floating entry window.
    void TransferEntryText();

    // The commands of the entry window's placement, callable by tests.
    void DockEntryWindow(std::int32_t align);
    void FloatEntryWindow();
    void SwitchEntryWindow();
    void ToggleSearchBar();
    void CloseAllResults();

    // The help context of F1 for the widget that has the focus: 13 in the
    // search bar, 14 in the entry window, else 0.
    int HelpContextFor(const QWidget* focus) const;

    // "Pisave..." (main_frame_fonts.cpp): the seven window fonts in the
    // fonts dialog; when the user confirms, each is stored and set at once on
    // every window it belongs to, result windows included.
    void ChooseFonts();
    // "Novo Okno": a second result window on the active one's search, with
    // its rows as they stand. Returns it, or null without an active one.
    QMdiSubWindow* OpenNewWindow();

  signals:
    // The frame has closed and stored its placement; the program ends.
    void FrameClosed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void createActions();
    void createMenus();
    void createToolBars();
    void createStatusBar();
    void createSearchBar();
    void createDockWindows();
    void createPopups();
    void connectCommands();
    // The keys that move the focus (main_frame_focus.cpp).
    void createFocusKeys();
    void setEnablingRules();
    void applyPlacement();
    void applyFonts();
    // Opens `view` in a new result window, placed in a cascade.
    QMdiSubWindow* addResultWindow(CVrk3mpgView* view);
    // The windows font slot `slot` (1 to 7) is set on.
    std::vector<QWidget*> fontWindows(int slot) const;
    void showFirstRunHelp();
    void startTick();

    void onTick();
    void connectEntryCommands();
    void setEntryEnablingRules();
    // The entry editor with a visible window around it; null when hidden.
    bool entryEditorVisible() const;
    void stepDescription(int step);
    // The entry editor's host: this frame (main_frame_entry.cpp).
    static std::unique_ptr<TEntryEditorHost> makeEditorHost(CMainFrame& frame);
    // F6's round, `step` 1 forwards and -1 back. The two parts' focus
    // functions return false when their part is not there to take it.
    void focusPart(int step);
    bool focusActiveResultList();
    bool focusEntryEditor();
    // Ctrl+Tab and Ctrl+Shift+Tab: the next or previous result window.
    void focusResultWindow(int step);
    void showSearchOptions();
    void showActiveLibrary();
    void showHelpForFocus();
    void updateTitle();
    void storePlacement();
    void arrangeIcons();

    TFramePlacement m_placement;
    std::int32_t m_dwEntryAlign = kAlignLeft;
    bool m_bStartStateApplied = false;

    QMdiArea* m_pMdiArea = nullptr;
    vrk::TCommandSet* m_pCommands = nullptr;
    QMenu* m_pWindowMenu = nullptr;
    QToolBar* m_pToolBar = nullptr;
    CSearchBar* m_pSearchBar = nullptr;
    CEntryWindow* m_pEntryWindow = nullptr;
    CSearchOptionsDlg* m_pSearchOptions = nullptr;
    CActiveLibraryDlg* m_pActiveLibraryDlg = nullptr;
    TActiveLibrary m_activeLibrary;
    QTimer* m_pTick = nullptr;

    CUndoListWnd* m_pUndoList = nullptr;

    bool m_bClipboardHasText = false;

    std::unique_ptr<TEntryEditorHost> m_pEditorHost;
    TEntryEditor m_editor;
};
