// CProgressDlg: the modal window shown while a job runs: the job's text in
// bold, a bar and "Prekliči". It polls the job every 50 ms and closes when
// the job has ended: with OK, or with Cancel when the user cancelled.
// Cancel (also Escape) asks the job to stop; the window then stays, its
// button disabled, until the worker has ended, so that nothing can start or
// use the job's files while the worker still runs.
#pragma once

#include <QDialog>
#include <cstdint>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
struct TJobHandOver;

// The bar for pos of total steps: pos * 100 / (total + 1), within 0 ... 100.
[[nodiscard]] int JobBarValue(std::int32_t pos, std::int32_t total);

class CProgressDlg : public QDialog {
    Q_OBJECT
  public:
    CProgressDlg(TJobHandOver& job, const QString& text, QWidget* parent = nullptr);

    // Moves the bar; closes the window once the job has ended.
    void Poll();
    bool Cancelled() const { return m_bCancelled; }

  protected:
    void showEvent(QShowEvent* event) override;
    // "Prekliči", Escape and closing the window.
    void reject() override;

  private:
    TJobHandOver& m_job;
    QLabel* m_pText = nullptr;
    QProgressBar* m_pBar = nullptr;
    QPushButton* m_pCancel = nullptr;
    QTimer* m_pTimer = nullptr;
    bool m_bCancelled = false;
};
