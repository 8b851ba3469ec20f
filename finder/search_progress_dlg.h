// CSearchProgressDlg: the modal window shown while a search runs. Every
// 50 ms it shows the run's status line and the progress through the
// dictionary being searched; it closes with OK as soon as the worker has
// finished, and with Cancel on "Prekliči".
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class TSearchRun;

// The bar position for pos of total entries: the percentage (0 when total is
// 0), shown full from 91 % on.
[[nodiscard]] int ProgressBarValue(std::int32_t pos, std::int32_t total);

class CSearchProgressDlg : public QDialog {
    Q_OBJECT
  public:
    // Shows `run`, which must outlive the window.
    explicit CSearchProgressDlg(TSearchRun& run, QWidget* parent = nullptr);

  public slots:
    // Shows the status line and progress; closes with OK when the run has
    // finished, with Cancel when it was stopped (also by the worker, when
    // the temporary-directory dialog was cancelled). Runs on every tick and
    // when the worker ends.
    void Poll();

    // "Prekliči" (or Escape): asks the worker to stop at once, then closes
    // with Cancel.
    void reject() override;

  protected:
    // Tells the run that the window is on screen, so the worker may begin.
    void showEvent(QShowEvent* event) override;

  private:
    void createControls();
    void createLayout();

    TSearchRun& m_run;
    QLabel* m_pStatus = nullptr;
    QProgressBar* m_pProgress = nullptr;
    QPushButton* m_pCancel = nullptr;
    QTimer* m_pTimer = nullptr;
    std::string m_strShownStatus;
};
