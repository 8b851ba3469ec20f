// search_ui_bench: times the finder's own search, from the Search command to
// the result window on screen, in the real main frame (offscreen). The
// library searched is the active library of the settings store named by
// VRK3_SETTINGS_DIR; bench/search_ui_bench.sh prepares it.
//
//   search_ui_bench PATTERN [RUNS]
// Prints the fastest run in milliseconds and the number of results found.
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "finder/main_frame.h"
#include "finder/search_bar.h"
#include "finder/vrk3_app.h"
#include "ui/help.h"
#include "ui/message_box.h"
#include "ui/ui_init.h"

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::cerr << "usage: search_ui_bench PATTERN [RUNS]\n";
        return 2;
    }
    QApplication application(argc, argv);
    vrk::InitUi();
    CVrk3App::InitApplication();
    vrk::SetHelpHook([](int) {});
    // A limit message would wait for a click; answer every box at once.
    vrk::SetMessageHook([](const vrk::TMessage&) { return vrk::TMsgAnswer::kOk; });
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;

    CMainFrame frame(false);
    frame.show();
    QApplication::processEvents();
    frame.SearchBar()->SetClueText(QString::fromLocal8Bit(argv[1]));

    double best = 1e30;
    int found = 0;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        QMdiSubWindow* window = frame.RunSearch();
        if (!window) {
            std::cerr << "search_ui_bench: the search opened no window\n";
            return 1;
        }
        QApplication::processEvents();
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        if (!window->isVisible()) return 1;
        best = std::min(best, ms);
        found = window->windowTitle().section('(', -1).section(' ', 0, 0).toInt();
        window->close();
        QApplication::processEvents();
    }
    std::printf("%.3f %d\n", best, found);
    return 0;
}
