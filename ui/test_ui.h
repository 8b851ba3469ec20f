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

    // Runs `action` on the next modal window once it is shown, from the event
    // loop that shows it; the action types, clicks and closes it. Gives up
    // (closing nothing) after `timeoutMs`.
    static void WhenModal(std::function<void(QWidget*)> action, int timeoutMs = 5000);
    // Runs `action` on the modal window named `objectName` once it is the
    // one in front (others, such as a progress window, may come first).
    static void WhenDialog(const char* objectName, std::function<void(QWidget*)> action,
                           int timeoutMs = 10000);
    // Runs `action` on the next pop-up menu once it is open.
    static void WhenPopup(std::function<void(QWidget*)> action, int timeoutMs = 3000);
    // Clicks the button or check box named `name` in the shown `window`, as
    // the mouse would; it must be enabled.
    static void Click(QWidget* window, const char* name);
    // Types `text` into the line or text edit named `name`, replacing what
    // it holds; "\n" is Enter.
    static void Type(QWidget* window, const char* name, const QString& text);

    // Longer than any answer a test schedules takes to come (WhenModal's
    // and WhenDialog's waits give up sooner).
    int unansweredModalMs_ = 12000;

  private:
    std::unique_ptr<QTimer> modalWatchdog_;
    QPointer<QWidget> watchedModal_;  // the modal window in front at the last tick
    int watchedTicks_ = 0;            // ticks it has been in front since
};

// Runs `action` on the widget `find` returns, from the event loop, as soon
// as it returns a visible one (polled every 10 ms). After `timeoutMs`
// without one the test fails with "no `what` appeared".
void WhenShown(std::function<QWidget*()> find, std::function<void(QWidget*)> action, int timeoutMs,
               const std::string& what);

// Types `text` into `widget` key by key, also letters that have no key of
// their own on an English keyboard (č, š, ž).
void TypeText(QWidget* widget, const QString& text);

// What keeps the items of a menu bar or menu (and of its sub-menus) from
// being chosen by their letters, one line each: an item without a mnemonic
// ("&" before a letter), an item with two, and a letter two items of one
// menu share. Separators are passed over; "&&" is a plain "&".
QStringList MnemonicFaults(const QWidget* menu);

// Shows `dialog` and fails the test, naming its class, on each thing that
// keeps it from being filled in by keys alone: a label of a control without
// a mnemonic; a field, list or combo box no label (or titled group) names,
// when there is more than one; a button or check box without a mnemonic,
// other than the default button and those Enter, Escape and F1 press
// ("V redu", "Prekliči", "Pomoč"); a letter used twice; no default button.
void ExpectFilledInByKeys(QWidget* dialog);

// The smallest screen the windows are laid out for, in pixels at its scale:
// 1600 x 1000 at twice the scale (1280 x 800 at 1.6), panels not counted.
inline constexpr QSize kSmallScreen(800, 500);

// Shows the top-level `window` and fails the test, naming `what` and the
// control, where a label, button, check box or group box of it is smaller
// than its text needs (clipped or cut), and where the window with its title
// bar is larger than kSmallScreen when it opens or at its smallest. A window
// made to fit the screen when it opens (`fitsOnOpening`, the help window) is
// checked at its smallest only.
void ExpectLaidOut(QWidget* window, const std::string& what, bool fitsOnOpening = false);

// The child of `parent` with that objectName; a test failure when missing.
template <class T>
T* Child(const QWidget* parent, const char* name) {
    T* child = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << "no child " << name;
    return child;
}

}  // namespace vrk
