#include "ui/progress_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/elided_label.h"
#include "ui/ui_texts.h"
#include "ui/worker.h"

namespace vrk {
namespace {

// How often the window shows the worker's progress.
constexpr int kPollMs = 50;

}  // namespace

int BarFullAbove90(std::int32_t pos, std::int32_t total) {
    if (total <= 0) return 0;
    const std::int64_t percent = std::int64_t{pos} * 100 / total;
    if (percent > 90) return 100;
    return percent < 0 ? 0 : static_cast<int>(percent);
}

int BarOverTotalPlusOne(std::int32_t pos, std::int32_t total) {
    const std::int64_t value = std::int64_t{pos} * 100 / (std::int64_t{total} + 1);
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, 100));
}

CProgressWindow::CProgressWindow(TWorker& worker, const QString& text, TBarFormula bar,
                                 TCancelPolicy cancel, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint),
      m_worker(worker),
      m_bar(bar),
      m_cancel(cancel),
      m_bStatusLine(text.isEmpty()) {
    setObjectName(QStringLiteral("progressDlg"));
    setModal(true);
    if (m_bStatusLine) {
        // A long status line is cut with "…"; the window keeps its width.
        m_pText = new CElidedLabel(this);
        m_pText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    } else {
        m_pText = new QLabel(text, this);
        m_pText->setTextFormat(Qt::PlainText);
    }
    m_pText->setObjectName(QStringLiteral("text"));
    m_pText->setProperty("controlId", 1040);
    QFont bold = m_pText->font();
    bold.setWeight(QFont::Bold);
    m_pText->setFont(bold);
    m_pText->setMinimumWidth(320);
    m_pBar = new QProgressBar(this);
    m_pBar->setObjectName(QStringLiteral("bar"));
    m_pBar->setProperty("controlId", 1041);
    m_pBar->setRange(0, 100);
    m_pBar->setValue(0);
    m_pBar->setTextVisible(false);
    m_pCancel = new QPushButton(texts::kCancel, this);
    m_pCancel->setObjectName(QStringLiteral("cancelButton"));
    connect(m_pCancel, &QPushButton::clicked, this, &CProgressWindow::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pCancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pText);
    layout->addWidget(m_pBar);
    layout->addLayout(buttons);

    m_pTimer = new QTimer(this);
    connect(m_pTimer, &QTimer::timeout, this, &CProgressWindow::Poll);
    connect(&m_worker, &TWorker::Ended, this, &CProgressWindow::Poll, Qt::QueuedConnection);
    m_pTimer->start(kPollMs);
}

void CProgressWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_worker.MarkShown();
}

void CProgressWindow::Poll() {
    // The window closes once it is on screen; until then the timer keeps
    // asking.
    if (!isVisible()) return;
    if (m_worker.HasEnded()) {
        m_pTimer->stop();
        done(m_worker.StopRequested() ? QDialog::Rejected : QDialog::Accepted);
        return;
    }
    if (m_bStatusLine) {
        const QString status = m_worker.Status();
        if (status != m_pText->text()) {
            m_pText->setText(status);
            m_pText->setToolTip(status);
        }
    }
    m_pBar->setValue(m_bar(m_worker.Progress().Pos(), m_worker.Progress().Total()));
}

void CProgressWindow::reject() {
    if (!m_pCancel->isEnabled()) return;
    m_worker.RequestStop();
    if (m_cancel == TCancelPolicy::kCloseAtOnce) {
        QDialog::reject();
        return;
    }
    m_pCancel->setEnabled(false);
    // The window closes when the worker reports its end.
    Poll();
}

}  // namespace vrk
