#include "ui/help.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QWidget>
#include <mutex>

#include "settings/first_library.h"
#include "ui/cp1250_text.h"
#include "ui/failure_text.h"
#include "ui/help_window.h"
#include "ui/message_box.h"
#include "ui/ui_init.h"
#include "ui/ui_texts.h"
#include "ui/window_fit.h"

namespace vrk {
namespace {

struct TContextPage {
    int context;
    const char* page;  // file in the help folder
};

// Every context has its own anchor "kontekst-<n>" in its page.
constexpr TContextPage kPages[] = {
    {help::kContents, "index.html"},
    {help::kFirstRun, "prvi-zagon.html"},
    {help::kSaveEntry, "shrani-geslo.html"},
    {help::kAlphabet, "abecedna-vrstica.html"},
    {help::kTempDir, "zacasni-imenik.html"},
    {help::kFonts, "pisave.html"},
    {help::kNewDictPage1, "nov-slovar.html"},
    {help::kNewDictPage2, "nov-slovar.html"},
    {help::kImport, "uvoz.html"},
    {help::kExportPanel, "izvoz.html"},
    {help::kDictData, "podatki-slovarja.html"},
    {help::kSecurity, "varnost.html"},
    {help::kRemap, "prirejanje-pisave.html"},
    {help::kSearchBar, "iskalna-vrstica.html"},
    {help::kEntryWindow, "vpisno-okno.html"},
    {help::kGuide, "vodnik.html"},
};

std::mutex g_mutex;
QString g_folder;
THelpHook g_helpHook;
QPointer<CHelpWindow> g_window;

// Sees the dialog the help window belongs to close.
class THelpModalWatch : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

THelpModalWatch& HelpModalWatch() {
    static THelpModalWatch watch;
    return watch;
}

// A modal dialog blocks every window but its own. So that help opened from
// a dialog comes up above it and takes clicks and keys, the help window
// belongs to the top modal dialog while one is open, and goes back to being
// a window of its own (or the next dialog's) when that dialog closes.
void AttachHelpToModal(CHelpWindow* window, const QWidget* closing = nullptr) {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == window || modal == closing) modal = nullptr;
    if (window->parentWidget() == modal) return;
    const QRect geometry = window->geometry();
    const bool visible = window->isVisible();
    window->setParent(modal, Qt::Window);
    window->setGeometry(geometry);
    if (modal) modal->installEventFilter(&HelpModalWatch());
    if (visible) window->show();
}

bool THelpModalWatch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide && g_window && g_window->parentWidget() == watched) {
        watched->removeEventFilter(this);
        AttachHelpToModal(g_window, g_window->parentWidget());
    }
    return false;
}

QString PageFolder(const QString& page) {
    std::lock_guard lock(g_mutex);
    if (!g_folder.isEmpty() && QFileInfo::exists(QDir(g_folder).filePath(page))) return g_folder;
    return QStringLiteral(":/help");
}

}  // namespace

void SetHelpFolder(const QString& folder) {
    std::lock_guard lock(g_mutex);
    g_folder = folder;
}

QUrl HelpUrl(int context) {
    EnsureUiResources();
    const TContextPage* found = &kPages[0];
    for (const auto& entry : kPages)
        if (entry.context == context) found = &entry;
    const QString page = QString::fromLatin1(found->page);
    const QString folder = PageFolder(page);
    QUrl url = folder.startsWith(':') ? QUrl(QStringLiteral("qrc") + folder + '/' + page)
                                      : QUrl::fromLocalFile(QDir(folder).filePath(page));
    url.setFragment(QStringLiteral("kontekst-%1").arg(found->context));
    return url;
}

void ShowHelp(int context, QWidget* parent) {
    THelpHook hook;
    {
        std::lock_guard lock(g_mutex);
        hook = g_helpHook;
    }
    if (hook) {
        hook(context);
        return;
    }
    if (!g_window) {
        // A window of its own, so that it stays open beside modal dialogs and
        // outlives the window that asked for it.
        g_window = new CHelpWindow(nullptr);
        g_window->setAttribute(Qt::WA_DeleteOnClose);
        // Centred on the asking window (or the screen), and within the
        // screen: at a large scale factor it would run below its edge.
        // The corner placed is the window's frame's (as move() places it),
        // so that its title bar is on the screen too.
        QRect placed(QPoint(), g_window->size());
        if (parent) {
            placed.moveCenter(parent->window()->geometry().center());
        } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            placed.moveCenter(screen->availableGeometry().center());
        }
        placed = KeepWindowOnScreen(g_window, placed);
        g_window->resize(placed.size());
        g_window->move(placed.topLeft());
    }
    AttachHelpToModal(g_window);
    g_window->Open(HelpUrl(context));
    g_window->show();
    g_window->raise();
    g_window->activateWindow();
}

THelpHook SetHelpHook(THelpHook hook) {
    std::lock_guard lock(g_mutex);
    std::swap(g_helpHook, hook);
    return hook;
}

void AddHelpKey(QWidget* window, int context) {
    auto* shortcut = new QShortcut(QKeySequence::HelpContents, window);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window,
                     [window, context] { ShowHelp(context, window); });
}

void ShowFirstRunHelp(QWidget* parent) {
    if (RecordFirstStart()) ShowHelp(help::kFirstRun, parent);
}

void CreateFirstLibraryAndSay(std::string_view installPath, QWidget* parent) {
    TOwnDictionaryProblem problem;
    if (CreateFirstLibrary(installPath, &problem) != TFirstLibrary::kCreated || !problem) return;
    const QString text = texts::kOwnDictionaryNotMade.arg(PathText(problem.path));
    ShowMessage(parent, WithFailureReason(text, problem.failure), TMsgIcon::kWarning);
}

}  // namespace vrk
