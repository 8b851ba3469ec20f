#include "manager/vrk3dbe_view.h"

#include <QApplication>
#include <QFontDialog>
#include <QFrame>
#include <QHeaderView>
#include <QMouseEvent>

#include "manager/library_name_delegate.h"
#include "manager/manager_ids.h"
#include "manager/manager_texts.h"
#include "manager/view_settings.h"
#include "settings/settings_keys.h"
#include "settings/temp_dir.h"
#include "ui/accessible_text.h"
#include "ui/focus_marks.h"
#include "ui/font_record.h"
#include "ui/icons.h"
#include "ui/temp_dir_dlg.h"

namespace {

constexpr int kHoverMs = 1000;

// Whether `x` is on the splitter bar of a view `width` wide whose tree is
// `treeWidth` wide.
bool OnSplitter(int x, int treeWidth, int width) {
    const int t = BoundedTreeWidth(treeWidth, width);
    return x >= t && x <= t + kSplitterWidth;
}

}  // namespace

CVrk3dbeView::CVrk3dbeView(vrk::TCommandSet* commands, QWidget* parent)
    : QWidget(parent), m_pCommands(commands) {
    setObjectName(QStringLiteral("view"));
    createControls();
    connectControls();
}

void CVrk3dbeView::createControls() {
    m_pTree = new QTreeWidget(this);
    m_pTree->setObjectName(QStringLiteral("libraryTree"));
    m_pTree->setAccessibleName(vrk::texts::kA11yLibraryTree);
    m_pTree->setProperty("controlId", id::kLibraryTree);
    m_pTree->setHeaderHidden(true);
    m_pTree->setColumnCount(1);
    // Libraries open and close by a double click or a hovering drag; the
    // images say which are open, so no expand buttons are drawn.
    m_pTree->setRootIsDecorated(false);
    m_pTree->setStyleSheet(QStringLiteral("QTreeView::branch { image: none; }"));
    m_pTree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pTree->setEditTriggers(QAbstractItemView::SelectedClicked |
                             QAbstractItemView::EditKeyPressed);
    m_pTree->setContextMenuPolicy(Qt::PreventContextMenu);
    m_pTree->setItemDelegate(new CLibraryNameDelegate(
        [this](const QModelIndex& index, const QString& text) {
            m_libraries.RenameCommitted(m_pTree->itemFromIndex(index), text);
        },
        m_pTree));

    m_pSplitter = new QFrame(this);
    m_pSplitter->setObjectName(QStringLiteral("splitterBar"));
    m_pSplitter->setProperty("controlId", id::kSplitter);
    m_pSplitter->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // Presses on the bar reach the view, which moves it.
    m_pSplitter->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_pList = new CDictionaryList(this);
    m_pList->setObjectName(QStringLiteral("dictionaryList"));
    m_pList->setAccessibleName(vrk::texts::kA11yDictionaryList);
    m_pList->setProperty("controlId", id::kDictionaryList);
    m_pList->setHeaderLabels({vrk::texts::kColumnName, vrk::texts::kColumnCount,
                              vrk::texts::kColumnAuthor, vrk::texts::kColumnFile});
    m_pList->headerItem()->setTextAlignment(kColCount, Qt::AlignRight | Qt::AlignVCenter);
    vrk::DimSelectionWithoutFocus(m_pTree);
    vrk::DimSelectionWithoutFocus(m_pList);

    setMouseTracking(true);
    m_hoverTimer.setSingleShot(true);
    m_hoverTimer.setInterval(kHoverMs);
}

void CVrk3dbeView::connectControls() {
    connect(m_pTree, &QTreeWidget::itemSelectionChanged, this,
            &CVrk3dbeView::onTreeSelectionChanged);
    connect(m_pTree, &QTreeWidget::itemExpanded, this,
            [](QTreeWidgetItem* item) { SetLibraryImage(item, kImageLibraryOpen); });
    connect(m_pTree, &QTreeWidget::itemCollapsed, this,
            [](QTreeWidgetItem* item) { SetLibraryImage(item, kImageLibraryClosed); });
    connect(m_pList, &QTreeWidget::itemSelectionChanged, this, &CVrk3dbeView::SelectionChanged);
    connect(m_pList, &QTreeWidget::itemDoubleClicked, this,
            [this] { m_dictionaries.DictionaryInfo(); });
    connect(m_pList->header(), &QHeaderView::sectionResized, this, &CVrk3dbeView::LayoutChanged);
    connect(m_pList, &CDictionaryList::DragStarted, this, [this] {
        BeginDictionaryDrag(m_pressButton == Qt::RightButton ? kRightDrag : kLeftDrag);
    });
    connect(&m_hoverTimer, &QTimer::timeout, this, [this] {
        // A second over one library during a drag opens it, or closes it.
        if (m_nDragMode == kNoDrag || !m_hDragOverItem) return;
        m_hDragOverItem->setExpanded(!m_hDragOverItem->isExpanded());
    });
    m_pTree->viewport()->installEventFilter(this);
    m_pTree->installEventFilter(this);
    m_pList->viewport()->installEventFilter(this);
    m_pList->installEventFilter(this);
}

void CVrk3dbeView::InitialUpdate(int treeWidth, const std::array<int, 4>& columns) {
    QFont font;
    if (vrk::ReadFontSetting(vrk::kManagerPath, "Font", font)) {
        m_pTree->setFont(font);
        m_pList->setFont(font);
    }
    m_nTreeWidth = std::max(0, treeWidth);
    layoutControls();
    {
        // Restoring the widths is no change by the user.
        const QSignalBlocker block(m_pList->header());
        for (int i = 0; i < 4; ++i) m_pList->setColumnWidth(i, columns[i]);
    }
    std::string dir;
    if (vrk::TReadBackupDir(dir)) m_strBackupDir = dir;
    FillLibraryTree(nullptr, vrk::kGroupsKey);
}

void CVrk3dbeView::SelectFirstLibrary() {
    if (QTreeWidgetItem* first = m_pTree->topLevelItem(0)) m_pTree->setCurrentItem(first);
}

std::array<int, 4> CVrk3dbeView::ColumnWidths() const {
    std::array<int, 4> widths{};
    for (int i = 0; i < 4; ++i) widths[i] = m_pList->columnWidth(i);
    return widths;
}

// --- Layout and the splitter bar --------------------------------------------

void CVrk3dbeView::layoutControls() {
    const int w = width(), h = height();
    const int t = BoundedTreeWidth(m_nTreeWidth, w);
    m_pTree->setGeometry(0, 0, t, h);
    m_pSplitter->setGeometry(t, 0, kSplitterWidth, h);
    m_pList->setGeometry(t + kSplitterWidth, 0, std::max(0, w - t - kSplitterWidth), h);
}

void CVrk3dbeView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutControls();
}

void CVrk3dbeView::mousePressEvent(QMouseEvent* event) {
    const int x = event->position().toPoint().x();
    if (event->button() == Qt::LeftButton && OnSplitter(x, m_nTreeWidth, width())) {
        m_bSplitterDrag = true;
        setCursor(vrk::RoleCursor(vrk::TProgram::kManager, vrk::cursor::kSplitterDrag));
        return;
    }
    QWidget::mousePressEvent(event);
}

void CVrk3dbeView::mouseMoveEvent(QMouseEvent* event) {
    const int x = event->position().toPoint().x();
    if (m_bSplitterDrag)
        setCursor(vrk::RoleCursor(vrk::TProgram::kManager, vrk::cursor::kSplitterDrag));
    else if (OnSplitter(x, m_nTreeWidth, width()))
        setCursor(vrk::RoleCursor(vrk::TProgram::kManager, vrk::cursor::kSplitterHover));
    else
        unsetCursor();
    QWidget::mouseMoveEvent(event);
}

void CVrk3dbeView::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_bSplitterDrag || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_bSplitterDrag = false;
    // The bar's middle follows the pointer; the bar stays whole inside the
    // view wherever the button is let go.
    m_nTreeWidth = BoundedTreeWidth(event->position().toPoint().x() - 2, width());
    layoutControls();
    setCursor(vrk::RoleCursor(vrk::TProgram::kManager, vrk::cursor::kSplitterHover));
    emit SplitterMoved();
}

// --- Font and temporary directory -------------------------------------------

void CVrk3dbeView::ChooseFont() {
    QFontDialog dialog(m_pTree->font(), this);
    dialog.setObjectName(QStringLiteral("fontDialog"));
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    dialog.setOption(QFontDialog::ScalableFonts, false);
    vrk::NameFromLabels(&dialog);
    dialog.exec();
    // The font the dialog holds when it closes, whichever button closed it.
    const QFont font =
        dialog.result() == QDialog::Accepted ? dialog.selectedFont() : dialog.currentFont();
    m_pTree->setFont(font);
    m_pList->setFont(font);
    (void)vrk::WriteFontSetting(vrk::kManagerPath, "Font", font);
}

void CVrk3dbeView::ChooseTempDir() {
    vrk::CTempDirDlg dialog(this, true);
    dialog.exec();
    std::string dir;
    m_strBackupDir = vrk::TReadBackupDir(dir) ? dir : std::string();
}

// --- Events of the tree and the list ------------------------------------------

bool CVrk3dbeView::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
                       type == QEvent::MouseMove || type == QEvent::MouseButtonDblClick;
    if (mouse && watched == m_pList->viewport())
        return listMouseEvent(static_cast<QMouseEvent*>(event));
    if (mouse && watched == m_pTree->viewport())
        return treeMouseEvent(static_cast<QMouseEvent*>(event));
    if (type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        if (watched == m_pTree) {
            m_libraries.RemoveLibrary();
            return true;
        }
        if (watched == m_pList && SelectedDictionaryCount() > 0) {
            m_libraries.RemoveDictionaries();
            return true;
        }
    }
    if (type == QEvent::KeyPress && m_nDragMode != kNoDrag &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        endDrag();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
