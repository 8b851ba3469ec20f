// vrk3zsn, the dictionary manager: libraries of dictionaries, and the
// dictionaries themselves.
#include <QApplication>

#include "manager/vrk3dbe_app.h"
#include "ui/ui_init.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    vrk::InitUi();
    CVrk3dbeApp::InitApplication();
    CVrk3dbeApp app;
    if (!app.InitInstance()) return 1;
    return application.exec();
}
