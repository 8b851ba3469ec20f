// entry_save_bench: times the finder's Save of one edited entry, from the
// command to the entry window showing the saved state, in the real main
// frame (offscreen), against the store's own replacing of one entry of the
// same dictionary, in turns within one run. The finder works as a user
// would find it: a result window of 500 rows of that dictionary is open and
// the undo history is full, so every reference update it makes is paid.
// bench/entry_save_bench.sh prepares the dictionary and the settings store
// (VRK3_SETTINGS_DIR, with "BackupDir").
//
//   entry_save_bench DICT [RUNS]
// Prints the fastest finder save and the fastest store replace, in ms.
#include <QApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "finder/entry_commands.h"
#include "finder/entry_window.h"
#include "finder/main_frame.h"
#include "finder/vrk3_app.h"
#include "finder/vrk3mpg_doc.h"
#include "settings/scratch_set.h"
#include "settings/temp_dir.h"
#include "store/data_file.h"
#include "ui/help.h"
#include "ui/message_box.h"
#include "ui/ui_init.h"

namespace {

// One dictionary as the searched library.
class TBenchSource : public TSearchSource {
  public:
    explicit TBenchSource(std::string path) : m_strPath(std::move(path)) {}
    QString ClueText() const override { return QStringLiteral("a*"); }
    QString DescText() const override { return {}; }
    std::string LibraryDicts() const override { return m_strPath + '"'; }
    void AddClueHistory(const QString&) override {}
    void AddDescHistory(const QString&) override {}

  private:
    std::string m_strPath;
};

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::cerr << "usage: entry_save_bench DICT [RUNS]\n";
        return 2;
    }
    QApplication application(argc, argv);
    vrk::InitUi();
    CVrk3App::InitApplication();
    vrk::SetHelpHook([](int) {});
    // Any box would wait for a click; one shown by a save is a failure.
    bool boxShown = false;
    vrk::SetMessageHook([&boxShown](const vrk::TMessage&) {
        boxShown = true;
        return vrk::TMsgAnswer::kOk;
    });
    const std::string path = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    std::string dir;
    if (!vrk::TReadBackupDir(dir)) {
        std::cerr << "entry_save_bench: no BackupDir in the settings store\n";
        return 1;
    }
    vrk::TDataFile store = vrk::TScratchSet::In(dir, vrk::kFinderScratch).Open(path);
    // A dictionary made from records alone has no flags: it must accept
    // changes, or Save would go on to Save as.
    const std::int32_t flags = store.GetFlags();
    if (flags < 0) return 1;
    if ((flags & vrk::kFlagChangesAllowed) == 0 &&
        !store.SetInfo("Bench", "", "", "", flags | vrk::kFlagChangesAllowed))
        return 1;
    const std::int32_t middle = store.GetEntryCount() / 2;
    if (middle <= 0) return 1;

    CMainFrame frame(false);
    frame.show();
    auto doc = std::make_shared<CVrk3mpgDoc>();
    TBenchSource source(path);
    if (!doc->OnNewDocument(source, &frame) || !frame.OpenResultWindow(doc)) return 1;
    // A full history whose steps all refer to an entry of the dictionary.
    if (frame.Editor().LoadEntryAt(QString::fromStdString(path), 10, 0) !=
        TEntryEditor::TLoadResult::kLoaded)
        return 1;
    for (int i = 0; i < UNDO_MAX / 2; ++i) frame.EntryCommands().AddDescription();
    for (int i = 0; i < UNDO_MAX / 2; ++i) frame.EntryCommands().RemoveDescription();
    QApplication::processEvents();
    boxShown = false;  // the search says it found more than it shows

    double bestFinder = 1e30;
    double bestStore = 1e30;
    for (int run = 0; run < runs; ++run) {
        // The store's own replace of one entry in the middle.
        std::int32_t index = middle;
        auto start = std::chrono::steady_clock::now();
        if (!store.StoreEntry("BENCHWORD\x01opis " + std::to_string(run), &index)) return 1;
        bestStore = std::min(bestStore, Since(start));

        // The finder: a word loaded and edited, then saved.
        if (frame.Editor().LoadEntryAt(QString::fromStdString(path), middle, 0) !=
            TEntryEditor::TLoadResult::kLoaded)
            return 1;
        frame.EntryWindow()->Editor()->setPlainText(QStringLiteral("opis %1").arg(run));
        start = std::chrono::steady_clock::now();
        frame.EntryCommands().SaveEntry();
        QApplication::processEvents();
        const double ms = Since(start);
        if (boxShown || frame.Editor().Modified() ||
            frame.EntryWindow()->CounterLabel()->text().endsWith('*')) {
            std::cerr << "entry_save_bench: the save did not end in the saved state\n";
            return 1;
        }
        bestFinder = std::min(bestFinder, ms);
    }
    std::printf("%.3f %.3f\n", bestFinder, bestStore);
    return 0;
}
