#include "ui/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <algorithm>
#include <future>
#include <memory>
#include <string_view>
#include <utility>

#include "settings/registry_helpers.h"
#include "ui/cp1250_text.h"
#include "ui/ui_texts.h"

namespace vrk {
namespace {

std::mutex g_messageHookMutex;
TMessageHook g_messageHook;
QString g_programCaption;  // guarded by g_messageHookMutex

// A box a worker waits for, and its answer: given once, by the box or at
// the end.
struct TPendingAnswer {
    QWidget* parent = nullptr;  // used on the UI thread only
    TMessage message;
    bool bTaken = false;  // the UI thread has taken it; guarded by g_pendingMutex
    std::promise<TMsgAnswer> promise;
    std::once_flag once;
    TMsgAnswer escape = TMsgAnswer::kOk;
    void Give(TMsgAnswer answer) {
        std::call_once(once, [&] { promise.set_value(answer); });
    }
};
std::mutex g_pendingMutex;
std::vector<std::shared_ptr<TPendingAnswer>> g_pending;

TMsgAnswer FirstButton(TMsgButtons buttons) {
    return buttons == TMsgButtons::kOk || buttons == TMsgButtons::kOkCancel ? TMsgAnswer::kOk
                                                                            : TMsgAnswer::kYes;
}

// The answer of a box closed without pressing a button.
TMsgAnswer EscapeAnswer(TMsgButtons buttons) {
    switch (buttons) {
        case TMsgButtons::kOk:
            return TMsgAnswer::kOk;
        case TMsgButtons::kYesNo:
            return TMsgAnswer::kNo;
        default:
            return TMsgAnswer::kCancel;
    }
}

QMessageBox::Icon BoxIcon(TMsgIcon icon) {
    switch (icon) {
        case TMsgIcon::kInformation:
            return QMessageBox::Information;
        case TMsgIcon::kQuestion:
            return QMessageBox::Question;
        case TMsgIcon::kWarning:
            return QMessageBox::Warning;
        case TMsgIcon::kError:
            return QMessageBox::Critical;
        case TMsgIcon::kNone:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton BoxButton(TMsgAnswer answer) {
    switch (answer) {
        case TMsgAnswer::kOk:
            return QMessageBox::Ok;
        case TMsgAnswer::kCancel:
            return QMessageBox::Cancel;
        case TMsgAnswer::kYes:
            return QMessageBox::Yes;
        case TMsgAnswer::kNo:
            return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButtons BoxButtons(TMsgButtons buttons) {
    switch (buttons) {
        case TMsgButtons::kOk:
            return QMessageBox::Ok;
        case TMsgButtons::kOkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case TMsgButtons::kYesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case TMsgButtons::kYesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

TMsgAnswer RealBox(QWidget* parent, const TMessage& message) {
    QMessageBox box(BoxIcon(message.icon), message.caption, message.text,
                    BoxButtons(message.buttons), parent);
    box.setObjectName("messageBox");
    // The buttons speak the program's language whatever the desktop's is.
    const std::pair<QMessageBox::StandardButton, const QString*> names[] = {
        {QMessageBox::Ok, &texts::kOk},
        {QMessageBox::Cancel, &texts::kCancel},
        {QMessageBox::Yes, &texts::kYes},
        {QMessageBox::No, &texts::kNo}};
    for (const auto& [button, name] : names)
        if (QAbstractButton* shown = box.button(button)) shown->setText(*name);
    box.setDefaultButton(BoxButton(message.defaultAnswer));
    box.setEscapeButton(box.button(BoxButton(EscapeAnswer(message.buttons))));
    switch (box.exec()) {
        case QMessageBox::Ok:
            return TMsgAnswer::kOk;
        case QMessageBox::Yes:
            return TMsgAnswer::kYes;
        case QMessageBox::No:
            return TMsgAnswer::kNo;
        case QMessageBox::Cancel:
            return TMsgAnswer::kCancel;
        default:
            return EscapeAnswer(message.buttons);
    }
}

TMsgAnswer ShowOnUiThread(QWidget* parent, const TMessage& message) {
    TMessageHook hook;
    {
        std::lock_guard lock(g_messageHookMutex);
        hook = g_messageHook;
    }
    if (hook) return hook(message);
    return RealBox(parent, message);
}

// Wakes the UI thread for a box a worker has put on the pending list. It is
// made before main() starts, in the thread that becomes the UI thread, and
// its signal carries nothing, so that no object of Qt's passes data
// between the threads.
class TBoxRelay : public QObject {
    Q_OBJECT
  public:
    TBoxRelay() {
        connect(this, &TBoxRelay::Posted, this, &TBoxRelay::ShowPosted, Qt::QueuedConnection);
    }

  signals:
    void Posted();

  private:
    // Shows the oldest box not taken yet; each one posted is shown once.
    void ShowPosted() {
        std::shared_ptr<TPendingAnswer> next;
        {
            std::lock_guard lock(g_pendingMutex);
            const auto open = std::ranges::find_if(
                g_pending, [](const auto& pending) { return !pending->bTaken; });
            if (open == g_pending.end()) return;
            next = *open;
            next->bTaken = true;
        }
        next->Give(ShowOnUiThread(next->parent, next->message));
    }
};
TBoxRelay g_relay;

}  // namespace

void SetProgramCaption(const QString& caption) {
    std::lock_guard lock(g_messageHookMutex);
    g_programCaption = caption;
}

QString ProgramCaption() {
    std::lock_guard lock(g_messageHookMutex);
    return g_programCaption;
}

TMsgAnswer ShowMessage(QWidget* parent, const QString& text, TMsgIcon icon, TMsgButtons buttons,
                       std::optional<TMsgAnswer> defaultAnswer, const QString& caption) {
    TMessage message;
    message.caption = caption.isEmpty() ? ProgramCaption() : caption;
    message.text = text;
    message.icon = icon;
    message.buttons = buttons;
    message.defaultAnswer = defaultAnswer.value_or(FirstButton(buttons));

    auto* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) return ShowOnUiThread(parent, message);
    // A worker: the UI thread shows the box while the worker waits. The owner
    // window belongs to the UI thread, so it is only used there. The box
    // and its answer pass through the pending list and a promise rather
    // than through a blocking queued call, whose hand-over happens inside
    // Qt where ThreadSanitizer cannot follow it.
    auto shown = std::make_shared<TPendingAnswer>();
    shown->parent = parent;
    shown->message = message;
    shown->escape = EscapeAnswer(buttons);
    std::future<TMsgAnswer> answer = shown->promise.get_future();
    {
        std::lock_guard lock(g_pendingMutex);
        g_pending.push_back(shown);
    }
    emit g_relay.Posted();
    const TMsgAnswer result = answer.get();
    std::lock_guard lock(g_pendingMutex);
    std::erase(g_pending, shown);
    return result;
}

void AnswerPendingMessages() {
    std::lock_guard lock(g_pendingMutex);
    for (const auto& pending : g_pending) pending->Give(pending->escape);
}

void ShowError(QWidget* parent, const QString& text) {
    ShowMessage(parent, text, TMsgIcon::kError);
}
void ShowInformation(QWidget* parent, const QString& text) {
    ShowMessage(parent, text, TMsgIcon::kInformation);
}
void ShowWarning(QWidget* parent, const QString& text) {
    ShowMessage(parent, text, TMsgIcon::kWarning);
}

bool AskYesNo(QWidget* parent, const QString& text, bool defaultYes, const QString& caption) {
    return ShowMessage(parent, text, TMsgIcon::kQuestion, TMsgButtons::kYesNo,
                       defaultYes ? TMsgAnswer::kYes : TMsgAnswer::kNo,
                       caption) == TMsgAnswer::kYes;
}

TMessageHook SetMessageHook(TMessageHook hook) {
    std::lock_guard lock(g_messageHookMutex);
    std::swap(g_messageHook, hook);
    return hook;
}

void InstallRegistryQuestion() {
    SetRegistryQuestion([](TOwnerWindow owner, std::string_view caption, std::string_view text) {
        return AskYesNo(static_cast<QWidget*>(owner), FromCp1250(text), true, FromCp1250(caption));
    });
}

TMessageScript::TMessageScript() {
    previous_ = SetMessageHook([this](const TMessage& message) {
        std::lock_guard lock(mutex_);
        shown_.push_back(message);
        if (answers_.empty()) return message.defaultAnswer;
        TMsgAnswer answer = answers_.front();
        answers_.erase(answers_.begin());
        return answer;
    });
}

TMessageScript::~TMessageScript() {
    SetMessageHook(std::move(previous_));
}

void TMessageScript::Answer(TMsgAnswer answer) {
    std::lock_guard lock(mutex_);
    answers_.push_back(answer);
}

std::vector<TMessage> TMessageScript::Shown() const {
    std::lock_guard lock(mutex_);
    return shown_;
}

std::vector<QString> TMessageScript::Texts() const {
    std::lock_guard lock(mutex_);
    std::vector<QString> texts;
    for (const auto& message : shown_) texts.push_back(message.text);
    return texts;
}

void TMessageScript::Clear() {
    std::lock_guard lock(mutex_);
    shown_.clear();
    answers_.clear();
}

}  // namespace vrk

#include "message_box.moc"
