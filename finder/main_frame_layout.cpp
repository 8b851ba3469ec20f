// Where the main frame and its entry window stand: the stored placement,
// the docking commands and the search bar's visibility.
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>

#include "finder/entry_window.h"
#include "finder/main_frame.h"
#include "finder/search_bar.h"
#include "ui/window_fit.h"

namespace {

Qt::DockWidgetArea AreaOf(std::int32_t align) {
    switch (align) {
        case kAlignRight:
            return Qt::RightDockWidgetArea;
        case kAlignTop:
            return Qt::TopDockWidgetArea;
        case kAlignBottom:
            return Qt::BottomDockWidgetArea;
        default:
            return Qt::LeftDockWidgetArea;
    }
}

std::int32_t AlignOf(Qt::DockWidgetArea area) {
    switch (area) {
        case Qt::RightDockWidgetArea:
            return kAlignRight;
        case Qt::TopDockWidgetArea:
            return kAlignTop;
        case Qt::BottomDockWidgetArea:
            return kAlignBottom;
        default:
            return kAlignLeft;
    }
}

}  // namespace

void CMainFrame::applyPlacement() {
    // Within the screens' available areas (without panels): a frame stored
    // at another scale factor or on a larger monitor comes back whole, its
    // title bar and the search bar's buttons in reach.
    m_placement.frame = vrk::KeepWindowOnScreen(this, m_placement.frame);
    m_placement.floating = vrk::KeepWindowOnScreen(this, m_placement.floating);
    resize(m_placement.frame.size());
    move(m_placement.frame.topLeft());

    addDockWidget(AreaOf(m_dwEntryAlign), m_pEntryWindow);
    // A docked entry window starts at the width (or height) of its own
    // floating window, so that both show about as much of a description.
    if (m_dwEntryAlign == kAlignLeft || m_dwEntryAlign == kAlignRight)
        resizeDocks({m_pEntryWindow}, {m_placement.floating.width()}, Qt::Horizontal);
    else
        resizeDocks({m_pEntryWindow}, {m_placement.floating.height()}, Qt::Vertical);

    // The user may drag the docked window to another side by its title; the
    // menu checks, and "FrameA" keeps, the side it really stands at.
    connect(m_pEntryWindow, &QDockWidget::dockLocationChanged, this,
            [this](Qt::DockWidgetArea area) {
                if (area == Qt::NoDockWidgetArea) return;
                m_dwEntryAlign = AlignOf(area);
                UpdateCommandStates();
            });

    if (m_placement.entryMode == kEntryFloating) {
        m_pEntryWindow->setFloating(true);
        m_pEntryWindow->setGeometry(m_placement.floating);
    }
    m_pEntryWindow->setVisible(m_placement.entryMode != kEntryHidden);

    // Moves and resizes of the floating window come in bursts while the user
    // drags; the last rectangle of a burst is stored.
    auto* storeFloating = new QTimer(this);
    storeFloating->setSingleShot(true);
    storeFloating->setInterval(250);
    connect(storeFloating, &QTimer::timeout, this, [this] {
        if (EntryMode() != kEntryFloating) return;
        m_placement.floating = m_pEntryWindow->geometry();
        (void)StoreFloatingPlacement(m_placement.floating);
    });
    connect(m_pEntryWindow, &CEntryWindow::FloatingPlacementChanged, storeFloating,
            qOverload<>(&QTimer::start));
}

void CMainFrame::storePlacement() {
    int state = kFrameNormal;
    if (isMaximized()) state = kFrameMaximized;
    if (isMinimized()) state = kFrameMinimized;
    const QRect frame(pos(), size());
    (void)StoreFramePlacement(frame, m_placement.style, state, EntryMode());
    if (EntryMode() == kEntryFloating) (void)StoreFloatingPlacement(m_pEntryWindow->geometry());
    (void)StoreEntryAlign(m_dwEntryAlign);
}

int CMainFrame::EntryMode() const {
    if (m_pEntryWindow->isHidden()) return kEntryHidden;
    return m_pEntryWindow->isFloating() ? kEntryFloating : kEntryDocked;
}

void CMainFrame::TransferEntryText() {
    // One editor serves both placements, so text and selection stay; the
    // editor keeps the focus and its caret in view across the switch.
    QPlainTextEdit* editor = m_pEntryWindow->Editor();
    editor->setFocus();
    editor->ensureCursorVisible();
}

void CMainFrame::DockEntryWindow(std::int32_t align) {
    align = ValidAlign(align);
    m_pEntryWindow->setFloating(false);
    addDockWidget(AreaOf(align), m_pEntryWindow);
    m_dwEntryAlign = align;
    m_pEntryWindow->show();
    m_pEntryWindow->LayOut();
    TransferEntryText();
    UpdateCommandStates();
}

void CMainFrame::FloatEntryWindow() {
    if (!m_pEntryWindow->isFloating()) {
        m_pEntryWindow->setFloating(true);
        m_pEntryWindow->setGeometry(m_placement.floating);
    }
    m_pEntryWindow->show();
    m_pEntryWindow->raise();
    m_pEntryWindow->LayOut();
    TransferEntryText();
    UpdateCommandStates();
}

void CMainFrame::SwitchEntryWindow() {
    if (EntryMode() == kEntryDocked)
        FloatEntryWindow();
    else
        DockEntryWindow(m_dwEntryAlign);
}

void CMainFrame::ToggleSearchBar() {
    m_pSearchBar->setVisible(m_pSearchBar->isHidden());
    UpdateCommandStates();
}
