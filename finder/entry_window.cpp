#include "finder/entry_window.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

#include "finder/entry_editor.h"
#include "finder/entry_record.h"
#include "finder/finder_texts.h"

namespace {

constexpr int kButton = 25;
constexpr int kGap = 6;
// What the label row holds beside the word and the counter: the buttons and
// the gaps.
constexpr int kLabelRowFixed = 2 * kButton + 2 + kGap;
constexpr int kMinClientWidth = 200;

}  // namespace

TEntryLayout EntryLayout(QSize client, bool floating, int counterWidth) {
    const int w = client.width();
    const int h = client.height();
    // From the right: the two buttons, the counter, a gap, and the word in
    // whatever is left, so that the word never runs under the counter.
    const int counterX = w - 2 * kButton - 2 - counterWidth;
    const int wordWidth = std::max(counterX - kGap, 0);
    TEntryLayout layout;
    const int row = floating ? h - 22 : 4;
    if (floating)
        layout.edit = QRect(0, 0, w, h - 24);  // label row at the bottom
    else
        layout.edit = QRect(0, 27, w, h - 29);  // label row on top
    layout.word = QRect(0, row, wordWidth, 22);
    layout.counter = QRect(counterX, row, counterWidth, 22);
    layout.previous = QRect(w - 2 * kButton, row, kButton, 22);
    layout.next = QRect(w - kButton, row, kButton, 22);
    return layout;
}

CEntryWindow::CEntryWindow(QWidget* parent) : QDockWidget(vrk::texts::kEntryWindowCaption, parent) {
    setObjectName(QStringLiteral("entryWindow"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    createControls();
    // A floating window belongs to the main frame and stays in front of it;
    // some window managers stack it below the frame when it is torn off,
    // when the frame is activated and whenever the frame is clicked. While
    // it floats, the window watches the frame's mouse presses for that.
    connect(this, &QDockWidget::topLevelChanged, this, [this](bool floating) {
        LayOut();
        if (floating) {
            qApp->installEventFilter(this);
            keepAboveFrame();
        } else {
            qApp->removeEventFilter(this);
        }
    });
    if (parent) parent->installEventFilter(this);
}

void CEntryWindow::keepAboveFrame() {
    if (isFloating() && isVisible()) raise();
}

void CEntryWindow::createControls() {
    m_pClient = new QWidget(this);
    m_pClient->setObjectName(QStringLiteral("entryClient"));
    // Wide enough for the label row, tall enough for a line of description.
    m_pClient->setMinimumSize(kMinClientWidth, 60);
    m_pClient->installEventFilter(this);

    m_pEdit = new QPlainTextEdit(m_pClient);
    m_pEdit->setObjectName(QStringLiteral("entryEdit"));
    m_pEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pEdit->setToolTip(vrk::texts::kEntryEditTip);
    // Ctrl+Z undoes the main window's steps, here as everywhere; the
    // editor keeps no undo of its own that could undo half of one.
    m_pEdit->setUndoRedoEnabled(false);
    // Tab goes on to the next control, as everywhere: a description cannot
    // keep a tab anyway (a record's control bytes are stored as spaces).
    m_pEdit->setTabChangesFocus(true);
    m_pEdit->installEventFilter(this);
    m_pEdit->setStatusTip(vrk::texts::kEntryEditTip);
    m_pEdit->setAccessibleName(vrk::texts::kA11yEntryEditName);

    m_pWord = new vrk::CElidedLabel(vrk::texts::kWordLabel, m_pClient);
    m_pWord->setObjectName(QStringLiteral("entryWord"));
    m_pCounter = new QLabel(vrk::texts::kCounterFormat.arg(1).arg(1), m_pClient);
    m_pCounter->setObjectName(QStringLiteral("entryCounter"));
    m_pCounter->setAccessibleDescription(vrk::texts::kA11yCounterDescription);

    m_pPrevious = new QPushButton(vrk::texts::kPreviousDescText, m_pClient);
    m_pPrevious->setObjectName(QStringLiteral("entryPrevious"));
    m_pPrevious->setStatusTip(vrk::texts::StatusPart(vrk::texts::kPreviousDescTip));
    m_pPrevious->setToolTip(vrk::texts::TipPart(vrk::texts::kPreviousDescTip));
    m_pPrevious->setAccessibleName(vrk::texts::TipPart(vrk::texts::kPreviousDescTip));
    m_pNext = new QPushButton(vrk::texts::kNextDescText, m_pClient);
    m_pNext->setObjectName(QStringLiteral("entryNext"));
    m_pNext->setStatusTip(vrk::texts::StatusPart(vrk::texts::kNextDescTip));
    m_pNext->setToolTip(vrk::texts::TipPart(vrk::texts::kNextDescTip));
    m_pNext->setAccessibleName(vrk::texts::TipPart(vrk::texts::kNextDescTip));
    for (QPushButton* button : {m_pPrevious, m_pNext}) button->setFocusPolicy(Qt::TabFocus);

    setWidget(m_pClient);
}

bool CEntryWindow::OwnsControl(const QWidget* widget) const {
    return widget && (widget == m_pEdit || widget == m_pWord || widget == m_pCounter ||
                      widget == m_pPrevious || widget == m_pNext || m_pEdit->isAncestorOf(widget));
}

void CEntryWindow::LayOut() {
    // The counter is as wide as its widest text in its font.
    const int counterWidth = m_pCounter->fontMetrics().horizontalAdvance(
                                 vrk::texts::kCounterModifiedFormat.arg(100).arg(100)) +
                             2 * m_pCounter->margin() + 4;
    // Never so narrow that the counter and the buttons leave the word no
    // room for a letter or two and the "…".
    const int minimumWidth = std::max(
        kMinClientWidth, counterWidth + kLabelRowFixed +
                             m_pWord->fontMetrics().horizontalAdvance(QStringLiteral("WW\u2026")));
    if (m_pClient->minimumWidth() != minimumWidth) m_pClient->setMinimumWidth(minimumWidth);
    const TEntryLayout layout = EntryLayout(m_pClient->size(), isFloating(), counterWidth);
    m_pEdit->setGeometry(layout.edit);
    m_pWord->setGeometry(layout.word);
    m_pCounter->setGeometry(layout.counter);
    m_pPrevious->setGeometry(layout.previous);
    m_pNext->setGeometry(layout.next);
}

bool CEntryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pClient &&
        (event->type() == QEvent::Resize || event->type() == QEvent::FontChange))
        LayOut();
    if (event->type() == QEvent::WindowActivate && watched == parent()) keepAboveFrame();
    if ((event->type() == QEvent::MouseButtonPress ||
         event->type() == QEvent::MouseButtonDblClick) &&
        watched->isWidgetType() && parentWidget() &&
        static_cast<QWidget*>(watched)->window() == parentWidget()->window())
        keepAboveFrame();
    if (watched == m_pEdit && event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Undo)) {
        // Not taken by the editor: the key goes to the undo command.
        event->ignore();
        return true;
    }
    return QDockWidget::eventFilter(watched, event);
}

void CEntryWindow::moveEvent(QMoveEvent* event) {
    QDockWidget::moveEvent(event);
    reportFloatingPlacement();
}

void CEntryWindow::resizeEvent(QResizeEvent* event) {
    QDockWidget::resizeEvent(event);
    reportFloatingPlacement();
}

void CEntryWindow::reportFloatingPlacement() {
    // Only a floating window the user can see has a place worth keeping.
    if (isFloating() && isVisible()) emit FloatingPlacementChanged(geometry());
}

void CEntryWindow::ReadTyped(TEntryEditor& entryEditor) {
    // The editor shows the slot of the description shown last; until the
    // tick has shown the current one, what it holds belongs to no slot.
    if (m_bRefresh || m_nShownDesc != entryEditor.State().m_nCurDesc) return;
    if (m_pEdit->document()->isModified()) {
        entryEditor.TakeTyped(m_pEdit->document()->toRawText());
        m_pEdit->document()->setModified(false);
    }
}

void CEntryWindow::setEditorText(const QString& text) {
    m_pEdit->setPlainText(EditorText(text));
    m_pEdit->document()->setModified(false);
}

void CEntryWindow::Show(TEntryEditor& entryEditor) {
    ReadTyped(entryEditor);
    const TEntryState& entry = entryEditor.State();
    const int cur = entry.m_nCurDesc;
    if (cur != m_nShownDesc || m_bRefresh) setEditorText(entry.m_strEditDesc[cur]);
    const bool modified = entryEditor.Modified();
    if (cur != m_nShownDesc || entry.m_nDescCount != m_nShownCount ||
        modified != m_bShownModified || m_bRefresh) {
        const QString& format =
            modified ? vrk::texts::kCounterModifiedFormat : vrk::texts::kCounterFormat;
        m_pCounter->setText(format.arg(cur + 1).arg(entry.m_nDescCount));
        m_nShownDesc = cur;
        m_nShownCount = entry.m_nDescCount;
        m_bShownModified = modified;
    }
    if (entry.m_strWord != m_strShownWord || m_bRefresh) {
        m_pWord->setText(entry.m_strWord);
        // A narrow window cuts a long word off; the tip shows all of it.
        m_pWord->setToolTip(entry.m_strWord);
        m_strShownWord = entry.m_strWord;
    }
    // A word that belongs to a dictionary is shown bold, a new or deleted
    // one in normal weight.
    const bool bold = !entry.m_strDataFile.isEmpty();
    if (bold != m_bLabelBold) {
        QFont font = m_pWord->font();
        font.setBold(bold);
        m_pWord->setFont(font);
        m_bLabelBold = bold;
    }
    m_bRefresh = false;
}
