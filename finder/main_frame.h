// CMainFrame: the finder's main window. Result windows open in its window
// area (CResultArea); around them it carries the menus, the toolbar, the
// search bar, the status bar and the entry window, which is docked at one
// side or floats. It remembers its own placement and the entry window's in
// the settings store ("Fndr": FrameX ... FrameM, FrameA, EditX ... EditV).
//
// It owns the entry editor (the current word, the undo history and the
// dictionary changes) and is its host (main_frame_entry.cpp). The commands
// on the word are CEntryCommands, the focus keys CFrameFocus (their headers).
#pragma once

#include <QMainWindow>
#include <cstdint>
#include <memory>

#include "finder/entry_editor.h"
#include "finder/main_frame_placement.h"
#include "finder/result_area.h"
#include "finder/search_bar_library.h"

class QMdiSubWindow;
class QMenu;
class QTimer;
class CSearchBar;
class CEntryWindow;
class CSearchOptionsDlg;
class CVrk3mpgDoc;
class CEntryCommands;
class CFrameFocus;

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
    CResultArea* MdiArea() const { return m_pMdiArea; }
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
    // The next tick shows the word, the description and the counter afresh.
    void RequestEntryRefresh();
    // One tick (every 100 ms, and at the end of every entry command): reads
    // the editor back and shows what changed (CEntryWindow::Show).
    void EntryTick();
    // Takes text typed into the entry editor since the last tick into the
    // entry state. Every command, button and undo step calls it first.
    void ReadEntryEditor();

    // The commands on the word (entry_commands.h), run by the editor.
    CEntryCommands& EntryCommands() { return *m_pEntryCommands; }
    // Where the keyboard focus goes (frame_focus.h).
    CFrameFocus& Focus() { return *m_pFocus; }

    // Which entry window shows now: kEntryHidden, kEntryDocked, kEntryFloating.
    int EntryMode() const;

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
    void setEnablingRules();
    void applyPlacement();
    void startTick();

    void onTick();
    // The entry editor's host: this frame (main_frame_entry.cpp).
    static std::unique_ptr<TEntryEditorHost> makeEditorHost(CMainFrame& frame);
    void updateTitle();
    void storePlacement();

    TFramePlacement m_placement;
    std::int32_t m_dwEntryAlign = kAlignLeft;
    bool m_bStartStateApplied = false;

    CResultArea* m_pMdiArea = nullptr;
    vrk::TCommandSet* m_pCommands = nullptr;
    QMenu* m_pWindowMenu = nullptr;
    QToolBar* m_pToolBar = nullptr;
    CSearchBar* m_pSearchBar = nullptr;
    CEntryWindow* m_pEntryWindow = nullptr;
    CSearchOptionsDlg* m_pSearchOptions = nullptr;
    CActiveLibraryDlg* m_pActiveLibraryDlg = nullptr;
    TActiveLibrary m_activeLibrary;
    QTimer* m_pTick = nullptr;

    std::unique_ptr<TEntryEditorHost> m_pEditorHost;
    TEntryEditor m_editor;
    CEntryCommands* m_pEntryCommands = nullptr;
    CFrameFocus* m_pFocus = nullptr;
};
