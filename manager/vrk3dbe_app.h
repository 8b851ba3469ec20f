// CVrk3dbeApp: the manager's start-up. It makes sure of the settings keys,
// checks the install path (where the help pages are), and creates and shows
// the main frame.
#pragma once

#include <QString>
#include <memory>

class CMainFrame;

class CVrk3dbeApp {
  public:
    CVrk3dbeApp();
    ~CVrk3dbeApp();

    // Creates the manager's settings keys where they are missing; failures
    // are ignored. Runs before any window exists.
    static void InitApplication();
    // Reads "InstallPath", sets up the help, creates and shows the main
    // frame. False when the program must end: the install path is missing
    // (after telling the user).
    [[nodiscard]] bool InitInstance(bool showSplash = true);

    CMainFrame* MainFrame() const { return m_pMainFrame.get(); }

  private:
    std::unique_ptr<CMainFrame> m_pMainFrame;
};
