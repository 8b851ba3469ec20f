// The base of every GUI test: one QApplication for the test program, the
// locale pinned to Slovene, a private settings store (TSettingsTest), every
// message box scripted (messages_; the settings helpers' Yes/No questions
// included), every help request recorded instead of shown, and a watchdog
// that fails the test and closes a modal window nobody answers for
// unansweredModalMs_ instead of waiting for a person.
#pragma once

#include <gtest/gtest.h>

#include <QPointer>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "settings/test_env.h"
#include "ui/message_box.h"

namespace vrk {

class TUiTest : public TSettingsTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    std::unique_ptr<TMessageScript> messages_;
    std::vector<int> helpContexts_;  // every context help was asked for

    // Runs `action` (which answers it) on the next modal window once it is
    // shown, from the event loop that shows it.
    static void WhenModal(std::function<void(QWidget*)> action, int timeoutMs = 5000);
    // Runs `action` on the modal window named `objectName` once it is in
    // front (a progress window may come first).
    static void WhenDialog(const char* objectName, std::function<void(QWidget*)> action,
                           int timeoutMs = 10000);
    // Runs `action` on the next pop-up menu once it is open.
    static void WhenPopup(std::function<void(QWidget*)> action, int timeoutMs = 3000);
    // Clicks the enabled button or check box `name` of `window` as the mouse would.
    static void Click(QWidget* window, const char* name);
    // Replaces the text of the edit `name` by typing `text`; "\n" is Enter.
    static void Type(QWidget* window, const char* name, const QString& text);

    // Longer than WhenModal's and WhenDialog's waits.
    int unansweredModalMs_ = 12000;

  private:
    std::unique_ptr<QTimer> modalWatchdog_;
    QPointer<QWidget> watchedModal_;  // the modal window in front at the last tick
    int watchedTicks_ = 0;            // ticks it has been in front since
};

// Runs `action` on the first visible widget `find` returns (polled every
// 10 ms); after `timeoutMs` the test fails with "no `what` appeared".
void WhenShown(std::function<QWidget*()> find, std::function<void(QWidget*)> action, int timeoutMs,
               const std::string& what);

// Types `text` into `widget` key by key, also č, š, ž.
void TypeText(QWidget* widget, const QString& text);

// One line for each item of a menu (and its sub-menus) that cannot be
// chosen by its letter: no mnemonic, two, or a letter another item shares.
QStringList MnemonicFaults(const QWidget* menu);

// Shows `dialog` and fails the test on each thing that keeps it from being
// filled in by keys alone: a label or button without a mnemonic (other than
// those Enter, Escape and F1 press), an input no label names when there is
// more than one, a letter used twice, no default button.
void ExpectFilledInByKeys(QWidget* dialog);

// The smallest screen the windows are laid out for, in pixels at its scale:
// 1600 x 1000 at twice the scale (1280 x 800 at 1.6), panels not counted.
inline constexpr QSize kSmallScreen(800, 500);

// Shows the top-level `window` and fails the test where a control is smaller
// than its text needs, or the window with its title bar is larger than
// kSmallScreen when it opens (unless it is made to fit then:
// `fitsOnOpening`) or at its smallest.
void ExpectLaidOut(QWidget* window, const std::string& what, bool fitsOnOpening = false);

// The child of `parent` with that objectName; a test failure when missing.
template <class T>
T* Child(const QWidget* parent, const char* name) {
    T* child = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << "no child " << name;
    return child;
}

}  // namespace vrk
