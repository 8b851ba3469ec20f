// CProgressWindow: the modal window a worker is shown in while it runs: a
// text in bold, a bar and "Prekliči". Every 50 ms, and when the worker
// ends, it moves the bar by the formula it was given; it closes once the
// worker has ended, with OK, or with Cancel when a stop was requested.
// What "Prekliči" (also Escape) does besides asking the worker to stop is
// the caller's choice (TCancelPolicy).
#pragma once

#include <QDialog>
#include <cstdint>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace vrk {

class TWorker;

// The bar position (0 ... 100) for `pos` of `total` steps.
using TBarFormula = int (*)(std::int32_t pos, std::int32_t total);
// The percentage (0 when the total is 0), shown full from 91 % on.
[[nodiscard]] int BarFullAbove90(std::int32_t pos, std::int32_t total);
// pos * 100 / (total + 1), held within 0 ... 100.
[[nodiscard]] int BarOverTotalPlusOne(std::int32_t pos, std::int32_t total);

enum class TCancelPolicy {
    // The window closes at once; the caller joins the worker afterwards.
    kCloseAtOnce,
    // The window stays, its button disabled, until the worker has ended, so
    // that nothing can start or use the worker's files meanwhile.
    kWaitForEnd,
};

class CProgressWindow : public QDialog {
    Q_OBJECT
  public:
    // Shows `worker`, which must outlive the window, with `text`; an empty
    // text shows the worker's status line instead, on one line cut with "…"
    // (the whole line in its tool tip), and the window keeps its width.
    CProgressWindow(TWorker& worker, const QString& text, TBarFormula bar, TCancelPolicy cancel,
                    QWidget* parent = nullptr);

    // Shows the status line and the bar; closes the window once the worker
    // has ended.
    void Poll();

  protected:
    // Tells the worker that the window is on screen, so it may begin.
    void showEvent(QShowEvent* event) override;
    void reject() override;

  private:
    TWorker& m_worker;
    const TBarFormula m_bar;
    const TCancelPolicy m_cancel;
    const bool m_bStatusLine;
    QLabel* m_pText = nullptr;
    QProgressBar* m_pBar = nullptr;
    QPushButton* m_pCancel = nullptr;
    QTimer* m_pTimer = nullptr;
};

}  // namespace vrk
