#include "finder/vrk3_app.h"

#include <QApplication>
#include <string>

#include "finder/finder_texts.h"
#include "finder/main_frame.h"
#include "settings/first_library.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "settings/temp_dir.h"
#include "ui/cp1250_text.h"
#include "ui/failure_text.h"
#include "ui/help.h"
#include "ui/message_box.h"
#include "ui/ui_texts.h"

namespace {

// Install paths are read into a buffer of this size, terminator included.
constexpr std::size_t kInstallPathBuffer = 260;

}  // namespace

CVrk3App::CVrk3App() = default;
CVrk3App::~CVrk3App() = default;

void CVrk3App::InitApplication() {
    vrk::EnsureFinderKeys();
    // Scratch folders of command-line tools that were killed.
    (void)vrk::TRemoveAbandonedScratchFolders();
}

bool CVrk3App::InitInstance(bool showSplash) {
    vrk::SetProgramCaption(vrk::texts::kFinderName);
    QApplication::setDesktopFileName(QStringLiteral("vrk3"));  // its desktop entry

    std::string installPath;
    if (!vrk::TGetRegistryString(vrk::kMachineRootPath, "InstallPath", installPath,
                                 kInstallPathBuffer) ||
        installPath.empty()) {
        vrk::ShowError(nullptr, vrk::texts::kInstallMissing);
        return false;
    }
    // The help pages are in the install folder.
    vrk::SetHelpFolder(vrk::PathText(installPath));
    // A new user starts with the installed Slovene words as the active library.
    vrk::CreateFirstLibraryAndSay(installPath);
    // A library tree that cannot be read is named with its reason: the
    // program goes on with its defaults.
    if (const QString problem = vrk::LibraryTreeProblem(); !problem.isEmpty())
        vrk::ShowMessage(nullptr, problem, vrk::TMsgIcon::kNone);

    m_pMainFrame = std::make_unique<CMainFrame>(showSplash);
    // Closing the frame ends the program, also while a help window is open.
    QObject::connect(m_pMainFrame.get(), &CMainFrame::FrameClosed, qApp, &QCoreApplication::quit);
    m_pMainFrame->show();
    return true;
}
