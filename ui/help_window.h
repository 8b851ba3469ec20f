// The window that shows the help pages: a browser with back, forward and
// contents buttons. Created once by ShowHelp (help.h), which callers use.
#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace vrk {

class CHelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit CHelpWindow(QWidget* parent = nullptr);

    // Shows `url` (a page with an optional anchor).
    void Open(const QUrl& url);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void createControls();
    void createLayout();
    void connectControls();

    QTextBrowser* m_pBrowser = nullptr;
    QToolButton* m_pBack = nullptr;
    QToolButton* m_pForward = nullptr;
    QToolButton* m_pContents = nullptr;
};

}  // namespace vrk
