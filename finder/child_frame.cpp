#include "finder/child_frame.h"

#include <QMdiArea>
#include <QResizeEvent>
#include <QShowEvent>
#include <QStyle>

#include "finder/finder_texts.h"
#include "finder/vrk3mpg_doc.h"
#include "finder/vrk3mpg_view.h"
#include "settings/reg_key.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "ui/icons.h"
#include "ui/window_fit.h"

namespace {

// "ChildM": how the last result window was left.
constexpr std::int32_t kNormal = 0;
constexpr std::int32_t kMaximized = 1;
constexpr std::int32_t kMinimized = 2;

constexpr unsigned kWrite = vrk::kRegCreateKey | vrk::kRegOverwrite;

}  // namespace

QSize CChildFrame::StoredSize() {
    vrk::TRegKey key;
    if (vrk::TRegKey::Open(vrk::TRoot::kCurrentUser, vrk::kFinderKey, vrk::TAccess::kRead, key) !=
        vrk::TRegResult::kOk)
        return {300, 150};
    std::int32_t width = 0, height = 0;
    if (!vrk::TGetRegistryNumber(vrk::kFinderPath, "ChildW", width) ||
        !vrk::TGetRegistryNumber(vrk::kFinderPath, "ChildH", height) || width <= 0 || height <= 0)
        return {400, 200};
    return {width, height};
}

QSize CChildFrame::SizeWithin(const QMdiArea& area, QSize size) {
    const QRect room(QPoint(), area.viewport()->size());
    if (!area.isVisible() || room.isEmpty()) return size;
    return vrk::KeepOnScreen(QRect(QPoint(), size), {room}, room).size();
}

QPoint CChildFrame::CascadePosition(const QMdiArea& area, QSize size) {
    const QMdiSubWindow* last = nullptr;
    for (const QMdiSubWindow* window : area.subWindowList(QMdiArea::CreationOrder))
        if (window->isVisible() && !window->isMaximized() && !window->isMinimized()) last = window;
    if (!last) return {0, 0};
    const int step = last->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, last);
    const QPoint next = last->pos() + QPoint(step, step);
    const QSize room = area.viewport()->size();
    if (next.x() + size.width() > room.width() || next.y() + size.height() > room.height())
        return {0, 0};
    return next;
}

CChildFrame::CChildFrame(CVrk3mpgView* view, QWidget* parent)
    : QMdiSubWindow(parent), m_pView(view) {
    setObjectName(QStringLiteral("resultFrame"));
    setWindowIcon(vrk::RoleIcon(vrk::icon::kFinderApp));
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view);
    setWindowTitle(view->Document().Title());
    resize(StoredSize());
}

CChildFrame::~CChildFrame() {
    if (!windowTitle().contains(vrk::texts::kTitleMarker)) return;
    const std::int32_t state = isMaximized() ? kMaximized : isMinimized() ? kMinimized : kNormal;
    (void)vrk::TSetRegistryNumber(vrk::kFinderPath, "ChildM", state, kWrite);
}

void CChildFrame::showEvent(QShowEvent* event) {
    QMdiSubWindow::showEvent(event);
    if (!m_bFirstShowPending) return;
    m_bFirstShowPending = false;
    std::int32_t state = kNormal;
    if (!vrk::TGetRegistryNumber(vrk::kFinderPath, "ChildM", state)) return;
    if (state == kMaximized)
        showMaximized();
    else if (state == kMinimized)
        showMinimized();
}

void CChildFrame::resizeEvent(QResizeEvent* event) {
    QMdiSubWindow::resizeEvent(event);
    if (!m_bFirstShowPending) storeSize();
}

// Only a normal window's size is kept, so that a maximised window does not
// reopen as large as the whole area.
void CChildFrame::storeSize() {
    if (isMaximized() || isMinimized()) return;
    (void)vrk::TSetRegistryNumber(vrk::kFinderPath, "ChildW", width(), kWrite);
    (void)vrk::TSetRegistryNumber(vrk::kFinderPath, "ChildH", height(), kWrite);
    (void)vrk::TSetRegistryNumber(vrk::kFinderPath, "ChildS",
                                  static_cast<std::int32_t>(windowFlags().toInt()), kWrite);
}
