// Vrk3, the finder: searches the dictionaries of the active library for
// words that fit the known letters and description words.
#include <QApplication>

#include "finder/vrk3_app.h"
#include "ui/ui_init.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    vrk::InitUi();
    CVrk3App::InitApplication();
    CVrk3App app;
    if (!app.InitInstance()) return 1;
    return application.exec();
}
