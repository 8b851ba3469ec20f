// TWaitCursor: the wait cursor for as long as it lives, or until Release
// (before a message box, which should show the ordinary cursor).
#pragma once

#include <QApplication>

class TWaitCursor {
  public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { Release(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;

    void Release() {
        if (!m_bHeld) return;
        m_bHeld = false;
        QApplication::restoreOverrideCursor();
    }

  private:
    bool m_bHeld = true;
};
