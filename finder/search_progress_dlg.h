// CSearchProgressDlg: the modal window shown while the search worker runs.
// It polls the worker's status line and progress every 50 ms, closes with
// OK when the worker has finished, and with Cancel on "Prekliči".
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace vrk {

// The bar position for pos of total entries: the percentage (0 when total is
// 0), shown full from 91 % on.
[[nodiscard]] int ProgressBarValue(std::int32_t pos, std::int32_t total);

class CSearchProgressDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CSearchProgressDlg(QWidget* parent = nullptr);

  public slots:
    // Shows the status line and progress; closes with OK when the worker
    // has finished. Runs on every tick and when the worker's thread ends.
    void Poll();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void createControls();
    void createLayout();

    QLabel* m_pStatus = nullptr;
    QProgressBar* m_pProgress = nullptr;
    QPushButton* m_pCancel = nullptr;
    QTimer* m_pTimer = nullptr;
    std::string m_strShownStatus;
};

}  // namespace vrk
