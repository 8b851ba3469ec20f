#include "manager/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>
#include <climits>

#include "manager/manager_ids.h"
#include "manager/manager_texts.h"
#include "manager/vrk3dbe_view.h"
#include "ui/about_dlg.h"
#include "ui/alphabet_dlg.h"
#include "ui/commands.h"
#include "ui/help.h"
#include "ui/icons.h"
#include "ui/splash_window.h"
#include "ui/ui_texts.h"
#include "ui/window_fit.h"

namespace {

constexpr int kPaneWidth = 100;
// Size changes come in bursts while the user drags a window edge.
constexpr int kStoreDelayMs = 250;

// Nothing is known to be stored yet: the first store writes every value.
TViewSettings NothingStored() {
    TViewSettings none;
    none.treeWidth = none.width = none.height = INT_MIN;
    none.columns.fill(INT_MIN);
    return none;
}

}  // namespace

CMainFrame::CMainFrame(bool showSplash, QWidget* parent)
    : QMainWindow(parent), m_stored(NothingStored()) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(vrk::texts::kManagerName);
    setWindowIcon(vrk::RoleIcon(vrk::icon::kManagerApp));
    m_settings = ReadViewSettings();

    createActions();
    createMenus();
    createToolBars();
    createStatusBar();
    createView();
    connectCommands();
    setEnablingRules();
    applyPlacement();
    m_pView->InitialUpdate(m_settings.treeWidth, m_settings.columns);
    UpdateCommandStates();
    if (showSplash) vrk::CSplashWindow::ShowSplash(vrk::bitmap::kManagerSplash, this);
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::createActions() {
    m_pCommands = new vrk::TCommandSet(this);
    m_pCommands->Add(vrk::texts::ManagerCommands());
}

void CMainFrame::createMenus() {
    vrk::TCommandSet& c = *m_pCommands;
    using vrk::kSeparator;
    c.FillMenu(menuBar()->addMenu(vrk::texts::kMenuLibrary),
               {id::kNewLibrary, id::kNewSubLibrary, id::kRenameLibrary, id::kRemoveLibrary,
                kSeparator, id::kExit});
    QMenu* dictionary = menuBar()->addMenu(vrk::texts::kMenuDictionary);
    c.FillMenu(dictionary,
               {id::kDictionaryInfo, kSeparator, id::kNewDictionary, id::kAddDictionary,
                id::kRemoveDictionary, kSeparator, id::kImport, id::kExport, kSeparator});
    c.FillMenu(dictionary->addMenu(vrk::texts::kMenuChange),
               {id::kChangeData, id::kSecurity, id::kRemapLetters, id::kSetPicture});
    c.FillMenu(menuBar()->addMenu(vrk::texts::kMenuView),
               {id::kToolBar, id::kStatusBar, kSeparator, id::kRefresh});
    c.FillMenu(menuBar()->addMenu(vrk::texts::kMenuSettings),
               {id::kAlphabet, id::kTempDir, kSeparator, id::kFont});
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
        m_pToolBar, {id::kNewLibrary, id::kAddDictionary, kSeparator, id::kNewDictionary,
                     id::kImport, id::kExport, kSeparator, id::kDictionaryInfo, id::kChangeData,
                     id::kSecurity, kSeparator, id::kHelpTopics});
}

void CMainFrame::createStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    // A pane is as wide as the widest count it shows (four and seven
    // digits) needs in its font, and at least kPaneWidth.
    auto pane = [bar](int paneId, const QString& widest) {
        auto* label = new QLabel(bar);
        label->setObjectName(QStringLiteral("pane%1").arg(paneId));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setText(widest);
        label->setFixedWidth(std::max(kPaneWidth, label->sizeHint().width()));
        label->clear();
        bar->addPermanentWidget(label);
        return label;
    };
    m_pDictionaryPane = pane(id::kCountDataFiles, vrk::texts::DictionaryCountText(9999));
    m_pEntryPane = pane(id::kCountClues, vrk::texts::EntryCountText(9999999));
    m_pDictionaryPane->setAccessibleDescription(vrk::texts::kA11yDictionaryPane);
    m_pEntryPane->setAccessibleDescription(vrk::texts::kA11yEntryPane);
    // With no command prompt to show, the message pane holds a space.
    connect(bar, &QStatusBar::messageChanged, this, [bar](const QString& message) {
        if (message.isEmpty()) bar->showMessage(QStringLiteral(" "));
    });
    bar->showMessage(QStringLiteral(" "));
}

void CMainFrame::createView() {
    m_pView = new CVrk3dbeView(m_pCommands, this);
    setCentralWidget(m_pView);
    connect(m_pView, &CVrk3dbeView::SelectionChanged, this, &CMainFrame::UpdateCommandStates);
    connect(m_pView, &CVrk3dbeView::SplitterMoved, this, &CMainFrame::StoreLayout);
    m_storeTimer.setSingleShot(true);
    m_storeTimer.setInterval(kStoreDelayMs);
    connect(&m_storeTimer, &QTimer::timeout, this, &CMainFrame::StoreLayout);
    connect(m_pView, &CVrk3dbeView::LayoutChanged, &m_storeTimer, qOverload<>(&QTimer::start));
}

void CMainFrame::applyPlacement() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // Centred, and within the screen: a size kept at another scale factor
    // or on a larger monitor shrinks to fit, title bar included.
    const QRect placed =
        vrk::KeepWindowOnScreen(this, QRect(area.x() + area.width() / 2 - m_settings.width / 2,
                                            area.y() + area.height() / 2 - m_settings.height / 2,
                                            m_settings.width, m_settings.height));
    resize(placed.size());
    move(placed.topLeft());
}

void CMainFrame::showFirstRunHelp() {
    vrk::ShowFirstRunHelp(this);
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_bStartStateApplied) return;
    m_bStartStateApplied = true;
    if (m_settings.maximized) setWindowState(windowState() | Qt::WindowMaximized);
    // The first-run help opens over the frame, not hidden behind it, and so
    // do the messages of the first library's list.
    QTimer::singleShot(0, this, &CMainFrame::showFirstRunHelp);
    QTimer::singleShot(0, m_pView, &CVrk3dbeView::SelectFirstLibrary);
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (isVisible()) m_storeTimer.start();
}

TViewSettings CMainFrame::currentLayout() const {
    TViewSettings now;
    now.treeWidth = m_pView->TreeWidth();
    now.width = width();
    now.height = height();
    now.maximized = isMaximized();
    now.columns = m_pView->ColumnWidths();
    return now;
}

void CMainFrame::StoreLayout() {
    m_storeTimer.stop();
    // A maximized or minimized window keeps the layout of the last normal one.
    if (isMaximized() || isMinimized()) return;
    (void)StoreViewLayout(currentLayout(), m_stored);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    StoreLayout();
    (void)StoreViewStyle(isMaximized());
    QMainWindow::closeEvent(event);
    if (event->isAccepted()) emit FrameClosed();
}

void CMainFrame::updatePanes() {
    const int n = m_pView->SelectedDictionaryCount();
    m_pDictionaryPane->setEnabled(n > 0);
    m_pEntryPane->setEnabled(n > 0);
    m_pDictionaryPane->setText(n > 0 ? vrk::texts::DictionaryCountText(n)
                                     : vrk::texts::kPaneDictionaries);
    m_pEntryPane->setText(n > 0 ? vrk::texts::EntryCountText(m_pView->SelectedEntrySum())
                                : vrk::texts::kPaneEntries);
}
