// manager_job_bench: the manager's jobs on 1 000 000 entries, in one run.
//
//   manager_job_bench WORK_DIR CSV DICT VRK3TOOL [RUNS]
//
// 1. Import of CSV (1 000 000 entries) into a new dictionary through the
//    manager's job (made beside, imported with the progress window, put in
//    place) against `vrk3tool import csv` of the same file; the fastest of
//    RUNS each, interleaved. Goal: job <= 1.2 x tool.
// 2. The progress bar during the import, an export of DICT to CSV and a
//    remapping of a copy of DICT: the longest time the bar stood still,
//    from the window showing to the job's end. Goal: <= 500 ms.
// 3. Cancel: for each job, "Prekliči" pressed at 20 %, 50 % and 80 % of
//    the job's time; the time from the press until the worker has ended.
//    Goal: <= 500 ms.
// Exit status 1 when a goal is missed.
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "manager/job_thread.h"
#include "manager/manager_texts.h"
#include "settings/temp_dir.h"
#include "store/data_file.h"
#include "store/file_io.h"
#include "ui/message_box.h"
#include "ui/ui_init.h"

namespace {

namespace fs = std::filesystem;

constexpr double kImportGoal = 1.2;
constexpr double kStillGoalMs = 500;
constexpr double kCancelGoalMs = 500;

std::string g_work;

[[noreturn]] void Fail(const char* what) {
    std::cerr << "manager_job_bench: " << what << " failed\n";
    std::exit(1);
}

double Seconds(QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// Watches the progress window of the running job every 5 ms: when the bar
// last moved, the longest time it stood still, and a cancel `cancelAtMs`
// after the window showed.
class TBarWatch {
  public:
    explicit TBarWatch(double cancelAtMs = -1) : m_dCancelAtMs(cancelAtMs) {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Look(); });
        m_timer.start();
        m_clock.start();
    }
    // Call when RunJob has returned.
    void End() {
        m_timer.stop();
        if (m_bShown) Moved(Ms(), 100);
        m_dEndMs = Ms();
    }
    double LongestStillMs() const { return m_dLongestMs; }
    // Where the bar stood during its longest stop.
    int LongestStillAt() const { return m_nLongestAt; }
    // From the press of "Prekliči" to the worker's end; -1 when not pressed.
    double CancelMs() const { return m_dCancelMs < 0 ? -1 : m_dEndMs - m_dCancelMs; }
    // Where the bar stood when "Prekliči" was pressed.
    int CancelAt() const { return m_nCancelAt; }

  private:
    double Ms() const { return static_cast<double>(m_clock.nsecsElapsed()) / 1e6; }
    void Look() {
        QWidget* window = QApplication::activeModalWidget();
        if (!window || window->objectName() != QLatin1String("progressDlg")) return;
        auto* bar = window->findChild<QProgressBar*>(QStringLiteral("bar"));
        if (!bar) return;
        const double now = Ms();
        if (!m_bShown) {
            m_bShown = true;
            m_dShownMs = now;
            m_dLastMoveMs = now;
            m_nValue = bar->value();
        }
        if (bar->value() != m_nValue) Moved(now, bar->value());
        if (m_dCancelAtMs >= 0 && m_dCancelMs < 0 && now - m_dShownMs >= m_dCancelAtMs) {
            m_dCancelMs = now;
            m_nCancelAt = m_nValue;
            window->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
        }
    }

    void Moved(double now, int value) {
        if (now - m_dLastMoveMs > m_dLongestMs) {
            m_dLongestMs = now - m_dLastMoveMs;
            m_nLongestAt = m_nValue;
        }
        m_dLastMoveMs = now;
        m_nValue = value;
    }

    QTimer m_timer;
    QElapsedTimer m_clock;
    int m_nLongestAt = 0;
    double m_dCancelAtMs;
    bool m_bShown = false;
    double m_dShownMs = 0;
    int m_nValue = 0;
    double m_dLastMoveMs = 0;
    double m_dLongestMs = 0;
    double m_dCancelMs = -1;
    int m_nCancelAt = 0;
    double m_dEndMs = 0;
};

// The longest stop of the bar over several runs, and where it stood.
struct TStill {
    double ms = 0;
    int at = 0;
    void Take(const TBarWatch& watch) {
        if (watch.LongestStillMs() <= ms) return;
        ms = watch.LongestStillMs();
        at = watch.LongestStillAt();
    }
};

// The import as the manager's command runs it, less its dialogs: a new
// dictionary beside the target, the job, the rename into place.
bool ImportThroughJob(const std::string& csv, const std::string& target, TBarWatch& watch) {
    vrk::TDataFile placed(target, "", "", "");
    TJobHandOver job;
    job.nJob = kJobImportCsv;
    job.strJobOtherFile = csv;
    if (!placed.CreateEmptyBeside(job.strJobDataFile)) return false;
    const bool ok = RunJob(nullptr, job, vrk::texts::kJobImportCsv);
    watch.End();
    if (!ok || !placed.ReplaceWith(job.strJobDataFile)) {
        vrk::RemoveFile(job.strJobDataFile);
        return false;
    }
    return true;
}

bool ExportThroughJob(const std::string& dict, const std::string& target, TBarWatch& watch) {
    TJobHandOver job;
    job.nJob = kJobExportCsv;
    job.strJobDataFile = dict;
    job.strJobOtherFile = target;
    job.chJobParam = ',';
    const bool ok = RunJob(nullptr, job, vrk::texts::kJobExportCsv);
    watch.End();
    return ok;
}

// A copy of `dict` for a remapping, on the disk before the job starts, so
// that the job's own wait for the disk does not include the copy.
void CopyForRemap(const std::string& dict, const std::string& copy) {
    fs::copy_file(dict, copy, fs::copy_options::overwrite_existing);
    const int fd = ::open(copy.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) Fail("writing the copy to remap");
    ::close(fd);
}

bool RemapThroughJob(const std::string& dict, TBarWatch& watch) {
    TJobHandOver job;
    job.nJob = kJobRemapLetter;
    job.strJobDataFile = dict;
    job.chJobParam = 'a';
    job.chJobParam2 = 'A';
    const bool ok = RunJob(nullptr, job, vrk::texts::kJobRemap.arg(QStringLiteral("bench")));
    watch.End();
    return ok;
}

double ToolImport(const std::string& tool, const std::string& csv, const std::string& target) {
    fs::remove(target);
    const std::string command = "TMPDIR='" + g_work + "' '" + tool + "' import csv '" + csv +
                                "' '" + target + "' >/dev/null";
    QElapsedTimer timer;
    timer.start();
    if (std::system(command.c_str()) != 0) {
        std::cerr << "manager_job_bench: " << command << " failed\n";
        std::exit(1);
    }
    return Seconds(timer);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 5) {
        std::cerr << "usage: manager_job_bench WORK_DIR CSV DICT VRK3TOOL [RUNS]\n";
        return 2;
    }
    g_work = fs::absolute(argv[1]).string();
    const std::string csv = fs::absolute(argv[2]).string();
    const std::string dict = fs::absolute(argv[3]).string();
    const std::string tool = fs::absolute(argv[4]).string();
    const int runs = argc > 5 ? std::max(1, std::atoi(argv[5])) : 3;
    fs::remove_all(g_work + "/settings");
    fs::create_directories(g_work + "/temp");
    setenv("VRK3_SETTINGS_DIR", (g_work + "/settings").c_str(), 1);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    vrk::InitUi();
    vrk::SetMessageHook([](const vrk::TMessage& message) {
        std::cerr << "manager_job_bench: message: " << message.text.toStdString() << "\n";
        return vrk::TMsgAnswer::kOk;
    });
    if (!vrk::TWriteBackupDir(g_work + "/temp")) Fail("writing the temporary directory");

    // 1. Import: the job against the tool.
    const std::string byJob = g_work + "/job.vrk3";
    const std::string byTool = g_work + "/tool.vrk3";
    double bestJob = 1e30, bestTool = 1e30;
    TStill importStill;
    for (int run = 0; run < runs; ++run) {
        bestTool = std::min(bestTool, ToolImport(tool, csv, byTool));
        fs::remove(byJob);
        TBarWatch watch;
        QElapsedTimer timer;
        timer.start();
        if (!ImportThroughJob(csv, byJob, watch)) Fail("the import job");
        bestJob = std::min(bestJob, Seconds(timer));
        importStill.Take(watch);
    }
    if (vrk::TDataFile(byJob, "", "", "").GetEntryCount() !=
        vrk::TDataFile(byTool, "", "", "").GetEntryCount())
        Fail("comparing the two imports");

    // 2. The bar during an export and a remapping.
    TStill exportStill, remapStill;
    double bestExport = 1e30, bestRemap = 1e30;
    const std::string exported = g_work + "/export.csv";
    const std::string copy = g_work + "/remap.vrk3";
    for (int run = 0; run < runs; ++run) {
        TBarWatch exportWatch;
        QElapsedTimer timer;
        timer.start();
        if (!ExportThroughJob(dict, exported, exportWatch)) Fail("the export job");
        bestExport = std::min(bestExport, Seconds(timer));
        exportStill.Take(exportWatch);
        CopyForRemap(dict, copy);
        TBarWatch remapWatch;
        timer.start();
        if (!RemapThroughJob(copy, remapWatch)) Fail("the remap job");
        bestRemap = std::min(bestRemap, Seconds(timer));
        remapStill.Take(remapWatch);
    }

    // 3. Cancels at three points of each job.
    double importCancel = 0, exportCancel = 0, remapCancel = 0;
    for (double at : {0.2, 0.5, 0.8}) {
        fs::remove(byJob);
        TBarWatch importWatch(at * bestJob * 1000);
        // A cancel that comes while the finished file goes to the disk is
        // too late to stop the import: the job then reports its success.
        // The time until the worker has ended is measured all the same.
        if (ImportThroughJob(csv, byJob, importWatch) && importWatch.CancelMs() >= 0) {
            std::printf("  (a cancel at %d %% of the bar came too late: the import was complete)\n",
                        importWatch.CancelAt());
            fs::remove(byJob);
        }
        importCancel = std::max(importCancel, importWatch.CancelMs());
        TBarWatch exportWatch(at * bestExport * 1000);
        (void)ExportThroughJob(dict, g_work + "/cancelled.csv", exportWatch);
        exportCancel = std::max(exportCancel, exportWatch.CancelMs());
        CopyForRemap(dict, copy);
        TBarWatch remapWatch(at * bestRemap * 1000);
        (void)RemapThroughJob(copy, remapWatch);
        remapCancel = std::max(remapCancel, remapWatch.CancelMs());
    }
    if (fs::exists(byJob) || fs::exists(g_work + "/cancelled.csv")) Fail("cleaning up a cancel");

    const double ratio = bestJob / bestTool;
    bool ok = ratio <= kImportGoal;
    std::printf("import of a 1 000 000-entry CSV (fastest of %d runs)\n", runs);
    std::printf("  vrk3tool import csv      %8.3f s\n", bestTool);
    std::printf("  the manager's job        %8.3f s\n", bestJob);
    std::printf("  ratio                    %8.2f   (goal <= %.2f) %s\n", ratio, kImportGoal,
                ratio <= kImportGoal ? "ok" : "MISSED");
    std::printf("export of the 1 000 000-entry dictionary to CSV: %.3f s; remap: %.3f s\n",
                bestExport, bestRemap);
    std::printf("longest time the bar stood still (goal <= %.0f ms)\n", kStillGoalMs);
    for (auto [what, still] : {std::pair{"import", importStill}, std::pair{"export", exportStill},
                               std::pair{"remap", remapStill}}) {
        ok = ok && still.ms <= kStillGoalMs;
        std::printf("  %-24s %8.0f ms at %3d %% %s\n", what, still.ms, still.at,
                    still.ms <= kStillGoalMs ? "ok" : "MISSED");
    }
    std::printf("cancel until the worker has ended, worst of 20/50/80 %% (goal <= %.0f ms)\n",
                kCancelGoalMs);
    for (auto [what, ms] : {std::pair{"import", importCancel}, std::pair{"export", exportCancel},
                            std::pair{"remap", remapCancel}}) {
        ok = ok && ms >= 0 && ms <= kCancelGoalMs;
        std::printf("  %-24s %8.0f ms %s\n", what, ms,
                    ms >= 0 && ms <= kCancelGoalMs ? "ok" : "MISSED");
    }
    return ok ? 0 : 1;
}
