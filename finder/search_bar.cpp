#include "finder/search_bar.h"

#include <QAction>
#include <QComboBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QItemDelegate>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

#include "finder/finder_texts.h"
#include "ui/accessible_text.h"
#include "ui/icons.h"

void AddHistoryText(QComboBox* box, const QString& text) {
    // Removing items may move the box to another entry and change its edit
    // text; the text the user typed must stay.
    const QString typed = box->currentText();
    const QSignalBlocker blocker(box);
    // A text already there only moves up: it is taken out before the
    // oldest makes room, so a full history loses nothing.
    for (int i = box->count() - 1; i >= 0; --i)
        if (box->itemText(i) == text) box->removeItem(i);
    if (box->count() >= CSearchBar::kMaxHistory) box->removeItem(CSearchBar::kMaxHistory - 1);
    box->insertItem(0, text);
    box->setCurrentIndex(-1);
    box->setEditText(typed);
}

int HistoryRowHeight(const QFont& font) {
    // Some faces draw the accents over capitals above the height they
    // declare; the text is centred in its row, so the row grows by that
    // overhang on both sides.
    const QFontMetrics metrics(font);
    const QRect ink = metrics.tightBoundingRect(QStringLiteral("ŽČŠĆĐ"));
    const int overhang = std::max(0, -ink.top() - metrics.ascent());
    return metrics.height() + 2 * overhang + 2;
}

namespace {

// The rows of a box's history list, as tall as its font needs.
class THistoryRowDelegate : public QItemDelegate {
  public:
    using QItemDelegate::QItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QItemDelegate::sizeHint(option, index);
        size.setHeight(std::max(size.height(), HistoryRowHeight(option.font)));
        return size;
    }
};

QStringList History(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

QComboBox* MakeSearchBox(const QString& name, const QString& prompt, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    // The history is kept by the search run, not by Enter; and no text is
    // completed behind the user's back, since every letter is part of the
    // pattern.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setMaxVisibleItems(20);
    box->setItemDelegate(new THistoryRowDelegate(box));
    box->setStatusTip(vrk::texts::StatusPart(prompt));
    box->setToolTip(vrk::texts::TipPart(prompt));
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return box;
}

QToolButton* MakeButton(const QString& name, QAction* action, Qt::ToolButtonStyle style,
                        QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setDefaultAction(action);
    button->setToolButtonStyle(style);
    button->setAutoRaise(false);
    return button;
}

}  // namespace

CSearchBar::CSearchBar(QAction* search, QAction* options, QAction* library, QWidget* parent)
    : QToolBar(vrk::texts::kSearchBarCaption, parent) {
    setObjectName(QStringLiteral("searchBar"));
    setMovable(false);
    setFloatable(false);
    setAllowedAreas(Qt::TopToolBarArea);
    createControls(search, options, library);
    connectControls(search);
}

void CSearchBar::createControls(QAction* search, QAction* options, QAction* library) {
    auto* row = new QWidget(this);
    row->setObjectName(QStringLiteral("searchRow"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(4);

    m_pClue = MakeSearchBox(QStringLiteral("clue"), vrk::texts::kClueTip, row);
    m_pDesc = MakeSearchBox(QStringLiteral("desc"), vrk::texts::kDescTip, row);
    vrk::SetAccessibleText(m_pClue, vrk::texts::kA11yClueName, vrk::texts::kA11yClueDescription);
    vrk::SetAccessibleText(m_pDesc, vrk::texts::kA11yDescName, vrk::texts::kA11yDescDescription);
    m_pSearch = MakeButton(QStringLiteral("searchButton"), search, Qt::ToolButtonTextOnly, row);
    m_pSearch->setText(vrk::texts::kSearchButton);
    m_pSearch->setMinimumWidth(64);
    m_pOptions = MakeButton(QStringLiteral("optionsButton"), options, Qt::ToolButtonIconOnly, row);
    m_pOptions->setIcon(vrk::RoleIcon(vrk::icon::kSearchOptions));
    m_pLibrary = MakeButton(QStringLiteral("libraryButton"), library, Qt::ToolButtonIconOnly, row);
    m_pLibrary->setIcon(vrk::RoleIcon(vrk::icon::kLibrary));

    layout->addWidget(m_pClue, 2);
    layout->addWidget(m_pDesc, 3);
    layout->addWidget(m_pSearch);
    layout->addWidget(m_pOptions);
    layout->addWidget(m_pLibrary);
    addWidget(row);
}

void CSearchBar::connectControls(QAction* search) {
    for (QComboBox* box : {m_pClue, m_pDesc}) {
        connect(box, &QComboBox::editTextChanged, this, &CSearchBar::TextsChanged);
        // "Išči" is the bar's default button: Enter in either box presses it.
        connect(box->lineEdit(), &QLineEdit::returnPressed, this, [this, search] {
            emit TextsChanged();
            if (search->isEnabled()) search->trigger();
        });
    }
}

QString CSearchBar::ClueText() const {
    return m_pClue->currentText();
}
QString CSearchBar::DescText() const {
    return m_pDesc->currentText();
}
void CSearchBar::SetClueText(const QString& text) {
    m_pClue->setEditText(text);
}
void CSearchBar::SetDescText(const QString& text) {
    m_pDesc->setEditText(text);
}

void CSearchBar::AddClueHistory(const QString& text) {
    AddHistoryText(m_pClue, text);
}
void CSearchBar::AddDescHistory(const QString& text) {
    AddHistoryText(m_pDesc, text);
}
QStringList CSearchBar::ClueHistory() const {
    return History(m_pClue);
}
QStringList CSearchBar::DescHistory() const {
    return History(m_pDesc);
}

bool CSearchBar::OwnsControl(const QWidget* widget) const {
    for (const QWidget* control :
         std::initializer_list<const QWidget*>{m_pClue, m_pDesc, m_pSearch, m_pOptions, m_pLibrary})
        if (widget && (widget == control || control->isAncestorOf(widget))) return true;
    return false;
}
