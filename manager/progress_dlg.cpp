#include "manager/progress_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "manager/job_hand_over.h"
#include "ui/ui_texts.h"

namespace {

constexpr int kPollMs = 50;

}  // namespace

int JobBarValue(std::int32_t pos, std::int32_t total) {
    const std::int64_t value = std::int64_t{pos} * 100 / (std::int64_t{total} + 1);
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, 100));
}

CProgressDlg::CProgressDlg(TJobHandOver& job, const QString& text, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint), m_job(job) {
    setObjectName(QStringLiteral("progressDlg"));
    setModal(true);
    m_pText = new QLabel(text, this);
    m_pText->setObjectName(QStringLiteral("text"));
    m_pText->setProperty("controlId", 1040);
    m_pText->setTextFormat(Qt::PlainText);
    QFont bold = font();
    bold.setWeight(QFont::Bold);
    m_pText->setFont(bold);
    m_pText->setMinimumWidth(320);
    m_pBar = new QProgressBar(this);
    m_pBar->setObjectName(QStringLiteral("bar"));
    m_pBar->setProperty("controlId", 1041);
    m_pBar->setRange(0, 100);
    m_pBar->setValue(0);
    m_pBar->setTextVisible(false);
    m_pCancel = new QPushButton(vrk::texts::kCancel, this);
    m_pCancel->setObjectName(QStringLiteral("cancelButton"));
    connect(m_pCancel, &QPushButton::clicked, this, &CProgressDlg::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pCancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pText);
    layout->addWidget(m_pBar);
    layout->addLayout(buttons);

    m_pTimer = new QTimer(this);
    connect(m_pTimer, &QTimer::timeout, this, &CProgressDlg::Poll);
    m_pTimer->start(kPollMs);
}

void CProgressDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_job.MarkShown();
}

void CProgressDlg::Poll() {
    if (m_job.Ended()) {
        // The window closes once it is on screen; until then the timer
        // keeps asking.
        if (!isVisible()) return;
        m_pTimer->stop();
        done(m_bCancelled ? QDialog::Rejected : QDialog::Accepted);
        return;
    }
    m_pBar->setValue(JobBarValue(m_job.progress.Pos(), m_job.progress.Total()));
}

void CProgressDlg::reject() {
    if (m_bCancelled) return;
    m_bCancelled = true;
    m_job.RequestStop();
    m_pCancel->setEnabled(false);
    // The window closes when the worker reports its end.
    Poll();
}
