#include "finder/search_progress_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "finder/finder_texts.h"
#include "finder/search_run.h"
#include "ui/cp1250_text.h"
#include "ui/elided_label.h"

namespace {

// How often the window shows the run's progress.
constexpr int kPollMs = 50;

}  // namespace

int ProgressBarValue(std::int32_t pos, std::int32_t total) {
    if (total <= 0) return 0;
    const std::int64_t percent = std::int64_t{pos} * 100 / total;
    if (percent > 90) return 100;
    return percent < 0 ? 0 : static_cast<int>(percent);
}

CSearchProgressDlg::CSearchProgressDlg(TSearchRun& run, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint), m_run(run) {
    setObjectName(QStringLiteral("searchProgress"));
    setModal(true);
    createControls();
    createLayout();
    m_pTimer = new QTimer(this);
    connect(m_pTimer, &QTimer::timeout, this, &CSearchProgressDlg::Poll);
    m_pTimer->start(kPollMs);
}

void CSearchProgressDlg::createControls() {
    // A long dictionary name is cut with "…"; the window keeps its width.
    m_pStatus = new vrk::CElidedLabel(this);
    m_pStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_pStatus->setObjectName(QStringLiteral("status"));
    QFont bold = m_pStatus->font();
    bold.setWeight(QFont::Bold);
    m_pStatus->setFont(bold);
    m_pStatus->setMinimumWidth(320);

    m_pProgress = new QProgressBar(this);
    m_pProgress->setObjectName(QStringLiteral("progress"));
    m_pProgress->setRange(0, 100);
    m_pProgress->setValue(0);
    m_pProgress->setTextVisible(false);

    m_pCancel = new QPushButton(vrk::texts::kProgressCancel, this);
    m_pCancel->setObjectName(QStringLiteral("cancel"));
    connect(m_pCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CSearchProgressDlg::createLayout() {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pStatus);
    layout->addWidget(m_pProgress);
    layout->addLayout(buttons);
}

void CSearchProgressDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_run.SetProgressShown();
}

void CSearchProgressDlg::reject() {
    m_run.RequestStop();
    QDialog::reject();
}

void CSearchProgressDlg::Poll() {
    if (!isVisible()) return;
    std::string status = m_run.Status();
    if (status != m_strShownStatus) {
        m_pStatus->setText(vrk::FromCp1250(status));
        m_pStatus->setToolTip(m_pStatus->text());
        m_strShownStatus = std::move(status);
    }
    m_pProgress->setValue(ProgressBarValue(m_run.Progress().Pos(), m_run.Progress().Total()));
    if (m_run.Finished())
        accept();
    else if (m_run.StopRequested())
        QDialog::reject();
}
