// CMainFrame: the finder's main window. Result windows open in its window
// area (a QMdiArea); around them it carries the menus, the toolbar, the
// search bar, the status bar and the entry window, which is docked at one
// side or floats. It remembers its own placement and the entry window's in
// the settings store ("Fndr": FrameX ... FrameM, FrameA, EditX ... EditV).
//
// It owns the entry state (the current word) and the undo history. The
// entry editing is split by feature: main_frame_entry.cpp (loading a word,
// the tick that keeps the entry window and the state in step),
// main_frame_entry_commands.cpp (the commands on the word),
// main_frame_undo.cpp (undo), main_frame_files.cpp (the operations that
// change dictionaries and keep every entry index current).
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "finder/entry_state.h"
#include "finder/main_frame_placement.h"
#include "finder/search_bar_library.h"
#include "finder/undo_history.h"

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

    // --- The entry state and the entry window (main_frame_entry.cpp).
    const TEntryState& Entry() const { return m_entry; }
    // The word differs from its loaded or saved state (the counter's star).
    bool EntryModified() const { return m_bModified; }
    // Puts the found word of `row` of `view` into the entry window, showing
    // description `nDesc` (kept within the word's descriptions). With
    // unsaved changes it asks first and records an undo step.
    void LoadEntry(CVrk3mpgView* view, int row, int nDesc);
    // The same for entry `index` of `dataFile`; `shownWord` names the word in
    // the undo step. With `expectedWord`, an entry holding another word (the
    // dictionary was changed by another program) is not loaded.
    enum class TLoadResult { kLoaded, kFailed, kOtherWord };
    TLoadResult LoadEntryAt(const QString& dataFile, std::int32_t index, int nDesc,
                            const QString& shownWord = {}, const QString* expectedWord = nullptr);
    // The next tick shows the word, the description and the counter afresh.
    void RequestEntryRefresh() { m_bRefresh = true; }
    // One tick (every 100 ms, and at the end of every entry command): reads
    // the editor back, shows what changed, sets the counter and the label.
    void EntryTick();
    // Takes text typed into the entry editor since the last tick into the
    // entry state. Every command, button and undo step calls it first.
    void ReadEntryEditor();
    // The entry window's ">" and "<". Docked, leaving a changed description
    // records an undo step; floating, nothing is recorded.
    void NextDescription();
    void PreviousDescription();

    // --- Commands on the word (main_frame_entry_commands.cpp).
    void NewEntry();
    void SaveEntry();
    void SaveEntryAs();
    void AddDescription();
    void RemoveDescription();
    void DeleteEntry();
    void ShowDictionaryInfo();

    // --- Undo (main_frame_undo.cpp).
    const TUndoHistory& UndoHistory() const { return m_undo; }
    // Records a step of `kind` (TUndoKind) with a snapshot of the entry state.
    void PushUndo(int kind, const QString& text);
    // Undoes the most recent step: reverses its change of a dictionary, then
    // restores the entry state. False when nothing was undone; a failed
    // reversal says so and empties the history.
    bool UndoLast();
    // Undoes the `count` most recent steps, stopping when none are left.
    void UndoSteps(int count);
    // "Razveljavi Več": the list of steps at the mouse.
    void ShowUndoList();
    CUndoListWnd* UndoList() const { return m_pUndoList; }

    // --- Dictionary change operations (main_frame_files.cpp). Each opens
    // the dictionary at `path` for one change, says what went wrong when it
    // fails, and brings every entry index held by the undo history and the
    // result windows up to date. With `bRecord` (a user's command) it fills
    // in the file fields of the most recent undo step, which the command
    // pushed, and removes that step when it fails. `expected` is the record
    // the entry at `nIndex` must still hold; when it holds something else
    // (another program changed the dictionary) nothing is changed.
    // Replaces entry `nIndex` by `record` (appends it for a negative index);
    // `nIndex` becomes the stored entry's index, the last of the dictionary.
    bool SaveEntryToFile(bool bRecord, const QString& path, std::int32_t& nIndex,
                         const std::string& record, const std::string* expected);
    // Stores `record`, merging its descriptions into every entry with its
    // word, or appends it; `nIndex` becomes the index of the (last) entry.
    bool SaveEntryAsToFile(bool bRecord, const QString& path, std::int32_t& nIndex,
                           const std::string& record);
    // Deletes entry `nIndex`, when the dictionary allows changes.
    bool DeleteEntryFromFile(bool bRecord, const QString& path, std::int32_t nIndex,
                             const std::string* expected);

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
    // Gives the entry editor the keyboard focus back, when it had it, once a
    // command's dialog or message has closed: a closing dialog gives the
    // focus to the main window, not to a floating entry window.
    class TEditorFocusKeeper {
      public:
        explicit TEditorFocusKeeper(const CMainFrame& frame);
        ~TEditorFocusKeeper();
        TEditorFocusKeeper(const TEditorFocusKeeper&) = delete;
        TEditorFocusKeeper& operator=(const TEditorFocusKeeper&) = delete;

      private:
        const CMainFrame& m_frame;
        bool m_bHadFocus;
    };

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
    void setEditorText(const QString& text);
    // Saves `word` with the edited descriptions into `path`: Save as.
    void saveEntryAsTo(const QString& word, const QString& path);
    // Tells the user when BuildRecord replaced characters.
    void reportReplacedCharacters(bool replaced);
    // The rows of every open result view after an entry of `path` changed.
    void updateResultRowsStored(const QString& path, std::int32_t oldIndex, std::int32_t newIndex,
                                const std::string& record);
    void updateResultRowsDeleted(const QString& path, std::int32_t index);
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

    // The current word and what the tick last showed of it.
    TEntryState m_entry;
    bool m_bModified = false;
    // Text was typed since the most recent undo step was recorded: undoing
    // that step would drop it, since no step holds it.
    bool m_bTypedSinceStep = false;
    bool m_bRefresh = true;
    int m_nShownDesc = 0;
    int m_nShownCount = 1;
    bool m_bShownModified = false;
    QString m_strShownWord;
    bool m_bLabelBold = false;
    bool m_bClipboardHasText = false;

    TUndoHistory m_undo;
};
