#include "finder/search_bar_options.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTreeWidget>
#include <array>

#include "finder/finder_texts.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "ui/icons.h"
#include "ui/message_box.h"

namespace {

// The values behind the tree's items, in the order of the items.
constexpr std::array<std::string_view, 4> kOptionNames = {"CountLetters", "MatchCase",
                                                          kExtendedPatternValue, kAnagramValue};

// The off (133 missing: an empty box) and on (a ticked box) pictures.
QIcon SwitchIcon(bool on) {
    const QIcon stored = vrk::RoleIcon(on ? 133 : 134);
    if (!stored.isNull()) return stored;
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(80, 80, 80), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(1.5, 1.5, 12, 12));
    if (on) {
        painter.setPen(QPen(QColor(20, 120, 40), 2.2, Qt::SolidLine, Qt::RoundCap));
        painter.drawPolyline(QPolygonF({QPointF(4, 8), QPointF(6.5, 11), QPointF(11.5, 4.5)}));
    }
    return QIcon(pixmap);
}

}  // namespace

bool ReadSearchOption(std::string_view name) {
    std::int32_t value = 0;
    return vrk::TGetRegistryNumber(vrk::kFinderPath, name, value) && value != 0;
}

vrk::TPatternSyntax ReadPatternSyntax() {
    return {ReadSearchOption(kExtendedPatternValue), ReadSearchOption(kAnagramValue)};
}

bool ToggleSearchOption(std::string_view name) {
    const std::int32_t next = ReadSearchOption(name) ? 0 : 1;
    return vrk::TSetRegistryNumber(vrk::kFinderPath, name, next,
                                   vrk::kRegNeverCreate | vrk::kRegOverwrite);
}

CSearchOptionsDlg::CSearchOptionsDlg(QWidget* parent)
    : CSearchBarPopup(parent), m_offIcon(SwitchIcon(false)), m_onIcon(SwitchIcon(true)) {
    setObjectName(QStringLiteral("searchOptions"));
    m_pTree = new QTreeWidget(this);
    m_pTree->setObjectName(QStringLiteral("searchOptionsTree"));
    m_pTree->setAccessibleName(vrk::texts::kA11yOptionsName);
    m_pTree->setHeaderHidden(true);
    m_pTree->setRootIsDecorated(false);
    m_pTree->setIndentation(0);
    m_pTree->setIconSize(QSize(16, 16));
    // Sized by its items, not by a list's usual minimum.
    m_pTree->setMinimumSize(1, 1);
    m_pTree->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pTree->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pTree->setFocusPolicy(Qt::StrongFocus);
    m_pTree->viewport()->installEventFilter(this);
    m_pTree->installEventFilter(this);
    for (const QString& text : {vrk::texts::kOptionCountLetters, vrk::texts::kOptionMatchCase,
                                vrk::texts::kOptionExtended, vrk::texts::kOptionAnagram})
        new QTreeWidgetItem(m_pTree, QStringList(text));
    SetControl(m_pTree);
    Refill();
}

bool CSearchOptionsDlg::ShowsOn(int item) const {
    const QTreeWidgetItem* row = m_pTree->topLevelItem(item);
    return row && row->data(0, Qt::UserRole).toBool();
}

void CSearchOptionsDlg::showValue(int item, bool on) {
    QTreeWidgetItem* row = m_pTree->topLevelItem(item);
    row->setIcon(0, on ? m_onIcon : m_offIcon);
    row->setData(0, Qt::UserRole, on);
    row->setData(0, Qt::AccessibleTextRole,
                 (on ? vrk::texts::kA11yOptionOn : vrk::texts::kA11yOptionOff).arg(row->text(0)));
}

void CSearchOptionsDlg::Refill() {
    for (int i = 0; i < int(kOptionNames.size()); ++i)
        showValue(i, ReadSearchOption(kOptionNames[i]));
    // Just tall enough for every item in the tree's present font.
    const int rows = m_pTree->sizeHintForRow(0) * m_pTree->topLevelItemCount();
    const QFontMetrics metrics(m_pTree->font());
    int textWidth = 0;
    for (int i = 0; i < m_pTree->topLevelItemCount(); ++i)
        textWidth = qMax(textWidth, metrics.horizontalAdvance(m_pTree->topLevelItem(i)->text(0)));
    resize(textWidth + kImageColumnWidth + 40, rows + 2 * m_pTree->frameWidth() + 2 * 3 + 2);
}

void CSearchOptionsDlg::Toggle(int item) {
    if (item < 0 || item >= int(kOptionNames.size())) return;
    if (!ToggleSearchOption(kOptionNames[item])) {
        vrk::ShowError(this, vrk::texts::kRegistryUnknownError);
        return;
    }
    showValue(item, ReadSearchOption(kOptionNames[item]));
}

bool CSearchOptionsDlg::eventFilter(QObject* watched, QEvent* event) {
    // Every press and every double click of the left button toggles, so a
    // quick double click toggles twice and leaves the switch as it was. The
    // other buttons toggle nothing.
    if (watched == m_pTree->viewport() && (event->type() == QEvent::MouseButtonPress ||
                                           event->type() == QEvent::MouseButtonDblClick)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint pos = mouse->position().toPoint();
        if (mouse->button() == Qt::LeftButton && pos.x() < kImageColumnWidth) {
            if (QTreeWidgetItem* row = m_pTree->itemAt(pos))
                Toggle(m_pTree->indexOfTopLevelItem(row));
        }
    }
    // By keyboard, Space or Enter toggles the current switch.
    if (watched == m_pTree && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
            Toggle(m_pTree->indexOfTopLevelItem(m_pTree->currentItem()));
            return true;
        }
    }
    return CSearchBarPopup::eventFilter(watched, event);
}

void CSearchOptionsDlg::OnFocusLost() {
    m_pTree->clearSelection();
}
