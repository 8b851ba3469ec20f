#include "manager/vrk3dbe_app.h"

#include <QApplication>
#include <string>

#include "manager/main_frame.h"
#include "manager/manager_texts.h"
#include "settings/first_library.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "settings/temp_dir.h"
#include "ui/cp1250_text.h"
#include "ui/failure_text.h"
#include "ui/help.h"
#include "ui/message_box.h"
#include "ui/ui_texts.h"
#include "ui/worker.h"

namespace {

// Install paths are read into a buffer of this size, terminator included.
constexpr std::size_t kInstallPathBuffer = 260;

}  // namespace

CVrk3dbeApp::CVrk3dbeApp() = default;
CVrk3dbeApp::~CVrk3dbeApp() = default;

void CVrk3dbeApp::InitApplication() {
    vrk::EnsureManagerKeys();
    // Scratch folders of command-line tools that were killed.
    (void)vrk::TRemoveAbandonedScratchFolders();
}

bool CVrk3dbeApp::InitInstance(bool showSplash) {
    vrk::SetProgramCaption(vrk::texts::kManagerName);
    QApplication::setDesktopFileName(QStringLiteral("vrk3zsn"));  // its desktop entry

    std::string installPath;
    if (!vrk::TGetRegistryString(vrk::kMachineRootPath, "InstallPath", installPath,
                                 kInstallPathBuffer) ||
        installPath.empty()) {
        vrk::ShowError(nullptr, vrk::texts::kInstallMissing);
        return false;
    }
    const QString folder = vrk::PathText(installPath);
    vrk::SetHelpFolder(folder);
    // A new user starts with a library of the installed Slovene words.
    vrk::CreateFirstLibraryAndSay(installPath);
    // A library tree that cannot be read is named with its reason: the
    // program goes on with its defaults.
    if (const QString problem = vrk::LibraryTreeProblem(); !problem.isEmpty())
        vrk::ShowMessage(nullptr, problem, vrk::TMsgIcon::kNone);

    m_pMainFrame = std::make_unique<CMainFrame>(showSplash);
    QObject::connect(m_pMainFrame.get(), &CMainFrame::FrameClosed, qApp, &QCoreApplication::quit);
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { vrk::ShutDownWorkers(); });
    m_pMainFrame->show();
    return true;
}
