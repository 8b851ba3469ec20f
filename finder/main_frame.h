// CMainFrame: the finder's main window. Result windows open in its window
// area (a QMdiArea); around them it carries the menus, the toolbar, the
// search bar, the status bar and the entry window, which is docked at one
// side or floats. It remembers its own placement and the entry window's in
// the settings store ("Fndr": FrameX ... FrameM, FrameA, EditX ... EditV).
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <QString>
#include <cstdint>
#include <memory>

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

    // Puts entry `entryIndex` of the dictionary at `dictionaryPath` into the
    // entry window. For now the frame only remembers the pair.
    void LoadEntry(const QString& dictionaryPath, int entryIndex);
    QString LoadedDictionary() const { return m_strLoadedDictionary; }
    int LoadedEntryIndex() const { return m_nLoadedEntry; }

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

  signals:
    // The frame has closed and stored its placement; the program ends.
    void FrameClosed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

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
    void applyFonts();
    void showFirstRunHelp();
    void startTick();

    void onTick();
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

    // Entry state kept so far: which description shows, of how many.
    int m_nCurDesc = 0;
    int m_nDescCount = 1;
    QString m_strLoadedDictionary;
    int m_nLoadedEntry = -1;
};
