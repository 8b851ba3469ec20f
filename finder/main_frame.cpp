#include "finder/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "finder/entry_window.h"
#include "finder/finder_texts.h"
#include "finder/frame_focus.h"
#include "finder/frame_fonts.h"
#include "finder/main_frame_ids.h"
#include "finder/search_bar.h"
#include "finder/search_bar_options.h"
#include "ui/commands.h"
#include "ui/help.h"
#include "ui/icons.h"
#include "ui/message_box.h"
#include "ui/splash_window.h"
#include "ui/ui_texts.h"

namespace {

// The tick that keeps the entry window and the command states current.
constexpr int kTickMs = 100;

QRect PrimaryScreenRect() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

CMainFrame::CMainFrame(bool showSplash, QWidget* parent)
    : QMainWindow(parent), m_pEditorHost(makeEditorHost(*this)), m_editor(*m_pEditorHost) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(vrk::texts::kFinderName);
    setWindowIcon(vrk::RoleIcon(vrk::icon::kFinderApp));
    m_placement = ReadFramePlacement(PrimaryScreenRect());
    m_dwEntryAlign = m_placement.align;

    m_pMdiArea = new CResultArea(this);
    setCentralWidget(m_pMdiArea);

    createActions();
    createMenus();
    createToolBars();
    createStatusBar();
    createSearchBar();
    createDockWindows();
    createPopups();
    connectCommands();
    m_pFocus = new CFrameFocus(*this);
    setEnablingRules();
    applyPlacement();
    startTick();
    ApplyFrameFonts(*this);
    if (showSplash) vrk::CSplashWindow::ShowSplash(vrk::bitmap::kFinderSplash, this);
}

CMainFrame::~CMainFrame() {
    // A frame destroyed while shown hides its result windows on the way;
    // the area's signals must not reach the half-destroyed frame then.
    disconnect(m_pMdiArea, nullptr, this, nullptr);
}

CSearchBar* CMainFrame::SearchBar() const {
    return m_pSearchBar;
}
CEntryWindow* CMainFrame::EntryWindow() const {
    return m_pEntryWindow;
}
CSearchOptionsDlg* CMainFrame::SearchOptions() const {
    return m_pSearchOptions;
}
CActiveLibraryDlg* CMainFrame::ActiveLibraryDlg() const {
    return m_pActiveLibraryDlg;
}
vrk::TCommandSet* CMainFrame::Commands() const {
    return m_pCommands;
}

void CMainFrame::createActions() {
    m_pCommands = new vrk::TCommandSet(this);
    m_pCommands->Add(vrk::texts::FrameCommands());
}

void CMainFrame::createMenus() {
    vrk::TCommandSet& c = *m_pCommands;
    using vrk::kSeparator;
    c.FillMenu(menuBar()->addMenu(vrk::texts::kMenuEntry),
               {id::kSearch, kSeparator, id::kDictionaryInfo, kSeparator, id::kNewEntry,
                id::kSaveEntry, id::kSaveEntryAs, kSeparator, id::kAddDescription,
                id::kRemoveDescription, id::kDeleteEntry, kSeparator, id::kExit});
    c.FillMenu(menuBar()->addMenu(vrk::texts::kMenuEdit),
               {id::kUndo, id::kUndoSeveral, kSeparator, id::kCut, id::kCopy, id::kPaste});
    QMenu* view = menuBar()->addMenu(vrk::texts::kMenuView);
    c.FillMenu(view, {id::kToolBar, id::kSearchBar, id::kStatusBar, kSeparator});
    c.FillMenu(view->addMenu(vrk::texts::kMenuEntryWindow),
               {id::kDockLeft, id::kDockRight, id::kDockTop, id::kDockBottom, id::kFloat});
    c.FillMenu(menuBar()->addMenu(vrk::texts::kMenuSettings),
               {id::kSearchOptions, id::kActiveLibrary, kSeparator, id::kAlphabet, id::kTempDir,
                kSeparator, id::kFonts});
    // Shown only while a result window is open.
    m_pWindowMenu = menuBar()->addMenu(vrk::texts::kMenuWindow);
    c.FillMenu(m_pWindowMenu,
               {id::kNewWindow, kSeparator, id::kTile, id::kArrangeIcons, id::kCloseAll});
    c.FillMenu(menuBar()->addMenu(vrk::texts::kMenuHelp),
               {id::kHelpTopics, id::kGuide, kSeparator, id::kAbout});
    for (QMenu* menu : menuBar()->findChildren<QMenu*>())
        if (menu->objectName().isEmpty())
            menu->setObjectName(QStringLiteral("menu") + menu->title().remove('&'));
}

void CMainFrame::createToolBars() {
    m_pToolBar = addToolBar(vrk::texts::kToolBarCaption);
    m_pToolBar->setObjectName(QStringLiteral("toolBar"));
    m_pToolBar->setIconSize(QSize(20, 20));
    using vrk::kSeparator;
    m_pCommands->FillToolBar(
        m_pToolBar, {id::kNewEntry, id::kSaveEntry, id::kDeleteEntry, kSeparator, id::kCut,
                     id::kCopy, id::kPaste, kSeparator, id::kUndo, id::kUndoSeveral, kSeparator,
                     id::kAddDescription, id::kRemoveDescription, kSeparator, id::kHelpTopics});
}

void CMainFrame::createStatusBar() {
    statusBar()->setObjectName(QStringLiteral("statusBar"));
}

void CMainFrame::createSearchBar() {
    addToolBarBreak(Qt::TopToolBarArea);
    m_pSearchBar =
        new CSearchBar(m_pCommands->Action(id::kSearch), m_pCommands->Action(id::kSearchOptions),
                       m_pCommands->Action(id::kActiveLibrary), this);
    addToolBar(Qt::TopToolBarArea, m_pSearchBar);
    connect(m_pSearchBar, &CSearchBar::TextsChanged, this, &CMainFrame::UpdateCommandStates);
}

void CMainFrame::createDockWindows() {
    m_pEntryWindow = new CEntryWindow(this);
}

void CMainFrame::createPopups() {
    m_pActiveLibraryDlg = new CActiveLibraryDlg(m_activeLibrary, this);
    m_pSearchOptions = new CSearchOptionsDlg(this);
    m_activeLibrary.Restore();
    connect(m_pActiveLibraryDlg, &CActiveLibraryDlg::LibraryChosen, this,
            &CMainFrame::UpdateCommandStates);
}

void CMainFrame::startTick() {
    EntryTick();
    m_pTick = new QTimer(this);
    m_pTick->setObjectName(QStringLiteral("tick"));
    connect(m_pTick, &QTimer::timeout, this, &CMainFrame::onTick);
    m_pTick->start(kTickMs);
}

void CMainFrame::onTick() {
    EntryTick();
    UpdateCommandStates();
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_bStartStateApplied) return;
    m_bStartStateApplied = true;
    // The stored window state takes effect once, when the frame first shows;
    // a later start opens normal unless the frame is closed maximized again.
    const int state = ReadStoredFrameState();
    if (state == kFrameMaximized) setWindowState(windowState() | Qt::WindowMaximized);
    if (state == kFrameMinimized) setWindowState(windowState() | Qt::WindowMinimized);
    (void)ClearStoredFrameState();
    (void)StoreEntryAlign(m_dwEntryAlign);
    // The first-run help opens over the frame, not hidden behind it.
    QTimer::singleShot(0, this, [this] { vrk::ShowFirstRunHelp(this); });
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Closing loses unsaved changes of the word as loading another one
    // would, so it asks the same question.
    ReadEntryEditor();
    if (m_editor.Modified() && !vrk::AskYesNo(this, vrk::texts::kUnsavedChangesLost, false)) {
        event->ignore();
        return;
    }
    storePlacement();
    QMainWindow::closeEvent(event);
    if (event->isAccepted()) emit FrameClosed();
}
