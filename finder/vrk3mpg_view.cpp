#include "finder/vrk3mpg_view.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListWidget>
#include <QScrollBar>
#include <QShowEvent>
#include <QSplitter>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "finder/finder_texts.h"
#include "finder/vrk3mpg_doc.h"
#include "settings/reg_key.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "ui/commands.h"
#include "ui/cp1250_text.h"
#include "ui/focus_marks.h"
#include "ui/font_record.h"
#include "ui/icons.h"
#include "ui/wait_cursor.h"

namespace {

// The result list keeps its sideways position when the current row
// changes: Qt would scroll to the clicked cell and could hide the words.
class TResultList : public QTreeWidget {
  public:
    using QTreeWidget::QTreeWidget;
    void scrollTo(const QModelIndex& index, ScrollHint hint) override {
        const int x = horizontalScrollBar()->value();
        QTreeWidget::scrollTo(index, hint);
        horizontalScrollBar()->setValue(x);
    }
};

constexpr int kSplitterWidth = 5;
// The list keeps at least this many rows in view whatever pane height was
// stored: a height kept from a maximised window would otherwise leave a
// normal one with a row or two.
constexpr int kMinListRows = 4;
constexpr std::size_t kShortDescriptionBytes = 995;
constexpr std::size_t kDictNameBytes = 999;

struct TColumnSetting {
    const char* name;
    int defaultWidth;
};
constexpr TColumnSetting kVisibleColumns[] = {{"Col1", 150}, {"Col2", 300}, {"Col3", 150}};

std::int32_t ReadNumber(std::string_view name, std::int32_t fallback) {
    std::int32_t value = 0;
    return vrk::TGetRegistryNumber(vrk::kFinderPath, name, value) ? value : fallback;
}

bool FinderKeyExists() {
    vrk::TRegKey key;
    return vrk::TRegKey::Open(vrk::TRoot::kCurrentUser, vrk::kFinderKey, vrk::TAccess::kRead,
                              key) == vrk::TRegResult::kOk;
}

}  // namespace

std::string CVrk3mpgView::ShortDescription(std::string_view descriptions) {
    std::string out;
    for (char c : descriptions) {
        if (out.size() >= kShortDescriptionBytes) break;
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0) break;
        // Another description, or a line break or other control byte inside
        // this one: the cell shows what came before it.
        if (byte < 32) {
            out += ", ...";
            break;
        }
        out += c;
    }
    return out;
}

CVrk3mpgView::CVrk3mpgView(std::shared_ptr<const CVrk3mpgDoc> doc, QWidget* parent)
    : QWidget(parent), m_pDoc(std::move(doc)) {
    setObjectName(QStringLiteral("resultView"));
    const TWaitCursor wait;
    m_unmarkedIcon = vrk::RoleIcon(vrk::icon::kRowUnmarked);
    m_markedIcon = vrk::RoleIcon(vrk::icon::kRowMarked);
    createControls();
    createLayout();
    createCommands();
    fillRows();
    finishCreation();
}

CVrk3mpgView::CVrk3mpgView(const CVrk3mpgView& source, QWidget* parent)
    : QWidget(parent), m_pDoc(source.m_pDoc) {
    setObjectName(QStringLiteral("resultView"));
    const TWaitCursor wait;
    m_unmarkedIcon = vrk::RoleIcon(vrk::icon::kRowUnmarked);
    m_markedIcon = vrk::RoleIcon(vrk::icon::kRowMarked);
    createControls();
    createLayout();
    createCommands();
    copyRows(source);
    finishCreation();
}

void CVrk3mpgView::finishCreation() {
    SortBy(0);
    connectControls();
    applyFonts();
}

CVrk3mpgView::~CVrk3mpgView() {
    storeLayout();
}

void CVrk3mpgView::createControls() {
    m_pList = new TResultList(this);
    m_pList->setObjectName(QStringLiteral("resultList"));
    m_pList->setAccessibleName(vrk::texts::kA11yFoundName);
    m_pList->setRootIsDecorated(false);
    m_pList->setUniformRowHeights(true);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->setAllColumnsShowFocus(true);
    m_pList->setContextMenuPolicy(Qt::CustomContextMenu);
    m_pList->setColumnCount(kColumnCount);
    m_pList->setHeaderLabels({vrk::texts::kColWord, vrk::texts::kColDescription,
                              vrk::texts::kColDictionary, vrk::texts::kColDataFile,
                              vrk::texts::kColPriority, vrk::texts::kColClueIndex,
                              vrk::texts::kColMarked});
    QHeaderView* header = m_pList->header();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    header->setStretchLastSection(false);
    for (int column = 0; column < 3; ++column)
        m_pList->setColumnWidth(
            column, ReadNumber(kVisibleColumns[column].name, kVisibleColumns[column].defaultWidth));
    // The hidden columns stay real columns, so other windows can read them.
    for (int column = kColDataFile; column < kColumnCount; ++column)
        m_pList->setColumnHidden(column, true);
    m_pList->installEventFilter(this);
    vrk::DimSelectionWithoutFocus(m_pList);

    m_pPane = new QListWidget(this);
    m_pPane->setObjectName(QStringLiteral("descriptionPane"));
    m_pPane->setAccessibleName(vrk::texts::kA11yPaneName);

    // The pane's height: stored, else a share of the view's height.
    std::int32_t height = 0;
    if (vrk::TGetRegistryNumber(vrk::kFinderPath, "ChildL", height) && height >= 0)
        m_nPaneHeight = height;
    else
        m_nPaneDefaultPercent = FinderKeyExists() ? 30 : 70;
}

void CVrk3mpgView::createLayout() {
    m_pSplitter = new QSplitter(Qt::Vertical, this);
    m_pSplitter->setObjectName(QStringLiteral("splitter"));
    m_pSplitter->setHandleWidth(kSplitterWidth);
    m_pSplitter->setChildrenCollapsible(false);
    m_pSplitter->addWidget(m_pList);
    m_pSplitter->addWidget(m_pPane);
    m_pSplitter->setStretchFactor(0, 1);
    m_pSplitter->setStretchFactor(1, 0);
    m_pSplitter->handle(1)->setCursor(
        vrk::RoleCursor(vrk::TProgram::kFinder, vrk::cursor::kSplitterHover));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pSplitter);
}

void CVrk3mpgView::fillRows() {
    const TSearchResults& results = m_pDoc->Results();
    QList<QTreeWidgetItem*> items;
    items.reserve(results.m_nFound);
    for (int k = 0; k < results.m_nFound; ++k) {
        const std::string_view entry = results.m_strEntry[k];
        const std::size_t mark = entry.find('\x01');
        const std::string_view word = entry.substr(0, mark);
        const std::string_view rest =
            mark == std::string_view::npos ? std::string_view() : entry.substr(mark + 1);
        auto* item = new QTreeWidgetItem;
        item->setText(kColWord, vrk::FromCp1250(word));
        item->setIcon(kColWord, m_unmarkedIcon);
        item->setData(kColWord, Qt::UserRole, k);
        item->setText(kColDescription, vrk::FromCp1250(ShortDescription(rest)));
        item->setText(
            kColDictionary,
            vrk::FromCp1250(std::string_view(results.m_strDictName[k]).substr(0, kDictNameBytes)));
        item->setText(kColDataFile, vrk::PathText(results.m_strDataFile[k]));
        item->setText(kColPriority, QString::number(results.m_nPriority[k] + 1));
        item->setText(kColClueIndex, QString::number(results.m_nClueIndex[k]));
        item->setText(kColMarked, vrk::texts::kMarkedNo);
        for (int column = kColPriority; column <= kColMarked; ++column)
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        items.append(item);
    }
    m_pList->addTopLevelItems(items);
}

// The document's result set keeps the entry indices of the search; the
// rows of an open view have been kept current since (a word saved moves to
// the end of its dictionary), so a second view copies them rather than
// reading the results again.
void CVrk3mpgView::copyRows(const CVrk3mpgView& source) {
    QList<QTreeWidgetItem*> items;
    items.reserve(source.m_pList->topLevelItemCount());
    for (int row = 0; row < source.m_pList->topLevelItemCount(); ++row)
        items.append(source.m_pList->topLevelItem(row)->clone());
    m_pList->addTopLevelItems(items);
}

void CVrk3mpgView::applyFonts() {
    m_pList->setFont(vrk::ReadFontOrStore(vrk::kFinderPath, "Font02", m_pList->font()));
    m_pPane->setFont(vrk::ReadFontOrStore(vrk::kFinderPath, "Font03", m_pPane->font()));
}

void CVrk3mpgView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_bLayoutApplied) return;
    m_bLayoutApplied = true;
    const int total = m_pSplitter->height() - kSplitterWidth;
    int pane = m_nPaneHeight >= 0 ? m_nPaneHeight : height() * m_nPaneDefaultPercent / 100;
    pane = std::clamp(pane, 0, std::max(total - MinimumListHeight(), 0));
    m_pSplitter->setSizes({total - pane, pane});
}

int CVrk3mpgView::MinimumListHeight() const {
    const int row = m_pList->topLevelItemCount() > 0 ? m_pList->sizeHintForRow(0)
                                                     : m_pList->fontMetrics().height() + 4;
    return 2 * m_pList->frameWidth() + m_pList->header()->sizeHint().height() +
           kMinListRows * std::max(row, 1) +
           m_pList->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_pList);
}

// Column widths and the pane's height are kept whenever the list loses the
// focus, and once more when the window goes.
void CVrk3mpgView::storeLayout() {
    for (int column = 0; column < 3; ++column)
        (void)vrk::TSetRegistryNumber(vrk::kFinderPath, kVisibleColumns[column].name,
                                      m_pList->columnWidth(column),
                                      vrk::kRegCreateKey | vrk::kRegOverwrite);
    if (m_bLayoutApplied)
        (void)vrk::TSetRegistryNumber(vrk::kFinderPath, "ChildL", m_pPane->height(),
                                      vrk::kRegCreateKey | vrk::kRegOverwrite);
}

bool CVrk3mpgView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pList) {
        if (event->type() == QEvent::FocusOut) {
            storeLayout();
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                OpenSelected();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
