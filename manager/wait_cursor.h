// TWaitCursor: the wait cursor for as long as a scope reads or writes
// dictionary files; Release ends it early (before a dialog opens).
#pragma once

#include <QApplication>

class TWaitCursor {
  public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { Release(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;

    void Release() {
        if (!m_bShown) return;
        m_bShown = false;
        QApplication::restoreOverrideCursor();
    }

  private:
    bool m_bShown = true;
};
