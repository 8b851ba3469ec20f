// Every message box of both programs goes through ShowMessage: no window
// calls QMessageBox itself. Tests install a hook (or a TMessageScript) that
// sees each box and chooses its answer, so no test ever blocks on one.
//
// Icons follow the programs' rules: kError for failures of files and of the
// settings store, kInformation for outcomes and limits, kQuestion with Yes/No
// for confirmations (No as the default where data would be lost), kWarning
// for a wrong password and refused changes.
#pragma once

#include <QString>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

class QWidget;

namespace vrk {

enum class TMsgIcon { kNone, kInformation, kQuestion, kWarning, kError };
enum class TMsgButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class TMsgAnswer { kOk, kCancel, kYes, kNo };

// One box as it is shown.
struct TMessage {
    QString caption;  // the window title
    QString text;
    TMsgIcon icon = TMsgIcon::kNone;
    TMsgButtons buttons = TMsgButtons::kOk;
    TMsgAnswer defaultAnswer = TMsgAnswer::kOk;  // the button Enter presses
};

// The caption of a box or file dialog that names none: the program's name.
// Each program sets it once at start. It is not Qt's application display
// name, which the window system would append to every window's title.
void SetProgramCaption(const QString& caption);
QString ProgramCaption();

// Shows a modal box in `parent` and returns the button pressed. The caption
// defaults to ProgramCaption(); the default button defaults to
// the first one (OK or Yes). Closing the box without a button gives kOk for
// kOk, kCancel where there is a Cancel button, and kNo for kYesNo.
// May be called from any thread: off the UI thread it asks the UI thread to
// show the box and waits for the answer.
TMsgAnswer ShowMessage(QWidget* parent, const QString& text, TMsgIcon icon,
                       TMsgButtons buttons = TMsgButtons::kOk,
                       std::optional<TMsgAnswer> defaultAnswer = std::nullopt,
                       const QString& caption = {});

// At the program's end: every box a worker still waits for is answered
// with its escape button (as if closed), so that the worker can end even
// when the user interface will never show or close the box.
void AnswerPendingMessages();

// Short forms for the common boxes.
void ShowError(QWidget* parent, const QString& text);
void ShowInformation(QWidget* parent, const QString& text);
void ShowWarning(QWidget* parent, const QString& text);
// A Yes/No question; true for Yes. `defaultYes` false makes No the default.
[[nodiscard]] bool AskYesNo(QWidget* parent, const QString& text, bool defaultYes = true,
                            const QString& caption = {});

// Replaces the real boxes: the hook gets each box, on the UI thread, and its
// result is the answer. An empty hook restores the real boxes. Returns the
// previous hook.
using TMessageHook = std::function<TMsgAnswer(const TMessage&)>;
TMessageHook SetMessageHook(TMessageHook hook);

// Makes the settings helpers ask their Yes/No questions (kRegAsk) through
// ShowMessage, the owner window being a QWidget*.
void InstallRegistryQuestion();

// For tests: while it lives, every box is recorded and answered from a queue
// of answers; with the queue empty, a box gets its default answer.
class TMessageScript {
  public:
    TMessageScript();
    ~TMessageScript();
    TMessageScript(const TMessageScript&) = delete;
    TMessageScript& operator=(const TMessageScript&) = delete;

    // The answer of the next box that has not been answered yet.
    void Answer(TMsgAnswer answer);
    // Every box shown so far, oldest first.
    std::vector<TMessage> Shown() const;
    // The texts only, and a shortcut for "no box at all".
    std::vector<QString> Texts() const;
    void Clear();

  private:
    mutable std::mutex mutex_;
    std::vector<TMsgAnswer> answers_;
    std::vector<TMessage> shown_;
    TMessageHook previous_;
};

}  // namespace vrk
