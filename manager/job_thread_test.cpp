// The job worker and its progress window: the bar, a failure's message
// while the window is open, cancels (also before the worker got going),
// jobs that follow one another, remapping, and a user interface that opens
// no dictionary while a worker runs.
#include "manager/job_thread.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <atomic>
#include <filesystem>
#include <thread>

#include "manager/manager_ids.h"
#include "manager/manager_test_util.h"
#include "manager/manager_texts.h"
#include "manager/progress_dlg.h"
#include "store/data_file.h"
#include "ui/commands.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;

class JobWorker : public TManagerTest {
  protected:
    void TearDown() override {
        SetJobStepHook({});
        TManagerTest::TearDown();
    }
    std::unique_ptr<TDataFile> Open(const std::string& path) {
        return std::make_unique<TDataFile>(path, dir_ + "/temp/t1", dir_ + "/temp/t2",
                                           dir_ + "/temp/t3");
    }
    // An export of `dict` to CSV at `target`.
    static void Export(TJobHandOver& job, const std::string& dict, const std::string& target) {
        job.nJob = kJobExportCsv;
        job.strJobDataFile = dict;
        job.strJobOtherFile = target;
        job.chJobParam = ',';
    }
};

TEST(JobBar, TheBarIsPositionTimesHundredOverTotalPlusOne) {
    EXPECT_EQ(JobBarValue(50, 99), 50);
    EXPECT_EQ(JobBarValue(0, 0), 0);
    EXPECT_EQ(JobBarValue(7, 0), 100);  // kept within the bar
    EXPECT_EQ(JobBarValue(-1, 10), 0);
    EXPECT_EQ(JobBarValue(2000000000, 2000000000), 99);  // no overflow
}

TEST_F(JobWorker, AFailingJobShowsItsMessageWhileTheWindowIsOpen) {
    const std::string dict = MakeDictionary("d.vrk3", "D", "A", 2);
    std::vector<QString> windows;
    SetMessageHook([&](const TMessage& message) {
        QWidget* modal = QApplication::activeModalWidget();
        windows.push_back(modal ? modal->objectName() : QString());
        EXPECT_EQ(message.text, ::texts::kExportFailed);
        EXPECT_EQ(message.icon, TMsgIcon::kWarning);
        return TMsgAnswer::kOk;
    });
    TJobHandOver job;
    Export(job, dict, folder_ + "/ni/mape/x.csv");
    EXPECT_FALSE(RunJob(nullptr, job, ::texts::kJobExportCsv));
    EXPECT_EQ(windows, std::vector<QString>{QStringLiteral("progressDlg")});
    EXPECT_EQ(job.bJobFailed.load(), 1);
    EXPECT_TRUE(job.Ended());
    EXPECT_FALSE(JobRunning());
}

// The real box, not a script: it stands centred over the progress window
// the user is watching.
TEST_F(JobWorker, AFailingJobsMessageStandsOverTheProgressWindow) {
    const std::string dict = MakeDictionary("d.vrk3", "D", "A", 2);
    frame_ = StartFrame();
    SetMessageHook({});
    QPoint boxCentre, windowCentre;
    QString owner;
    WhenDialog("messageBox", [&](QWidget* box) {
        boxCentre = box->frameGeometry().center();
        if (box->parentWidget()) {
            owner = box->parentWidget()->window()->objectName();
            windowCentre = box->parentWidget()->window()->frameGeometry().center();
        }
        qobject_cast<QMessageBox*>(box)->defaultButton()->click();
    });
    TJobHandOver job;
    Export(job, dict, folder_ + "/ni/mape/x.csv");
    EXPECT_FALSE(RunJob(View(), job, ::texts::kJobExportCsv));
    EXPECT_EQ(owner, QStringLiteral("progressDlg"));
    EXPECT_LE((boxCentre - windowCentre).manhattanLength(), 4)
        << boxCentre.x() << "," << boxCentre.y() << " " << windowCentre.x() << ","
        << windowCentre.y();
}

TEST_F(JobWorker, TheProgramsEndAnswersAWorkersOpenMessageAndEndsTheWorker) {
    const std::string dict = MakeDictionary("d.vrk3", "D", "A", 2);
    bool ended = false;
    std::chrono::steady_clock::duration took{};
    SetMessageHook([&](const TMessage&) {
        // The program ends while the box is open (its display is gone):
        // nobody will ever close the box.
        const auto start = std::chrono::steady_clock::now();
        ShutDownJobWorker(std::chrono::seconds(3));
        took = std::chrono::steady_clock::now() - start;
        ended = !JobRunning();
        return TMsgAnswer::kOk;
    });
    TJobHandOver job;
    Export(job, dict, folder_ + "/ni/mape/x.csv");
    EXPECT_FALSE(RunJob(nullptr, job, ::texts::kJobExportCsv));
    EXPECT_TRUE(ended);
    EXPECT_LT(took, std::chrono::seconds(1));
}

TEST_F(JobWorker, ACancelStopsTheJobWithoutAWordAndTheWorkerHasEndedAfterIt) {
    const std::string dict = MakeDictionary("d.vrk3", "D", "A", 50);
    // The worker holds on until the user has cancelled and then takes its
    // time before the export meets the stop request: the caller still
    // learns the job's outcome only once the worker has ended.
    std::atomic<bool> reached{false};
    SetJobStepHook([&](TJobHandOver& running) {
        reached = true;
        while (!running.progress.StopRequested())
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
    });
    WhenDialog("progressDlg", [&](QWidget* window) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return reached.load(); }, 5000));
        EXPECT_TRUE(JobRunning());
        Click(window, "cancelButton");
        // The window stays until the worker has ended.
        EXPECT_FALSE(Child<QAbstractButton>(window, "cancelButton")->isEnabled());
    });
    TJobHandOver job;
    Export(job, dict, folder_ + "/x.csv");
    EXPECT_FALSE(RunJob(nullptr, job, ::texts::kJobExportCsv));
    EXPECT_FALSE(JobRunning());
    EXPECT_TRUE(messages_->Texts().empty());
    EXPECT_EQ(job.bJobFailed.load(), 1);
    EXPECT_EQ(FolderFiles(), std::vector<std::string>{"d.vrk3"});

    // The same record runs again: the earlier stop and end are forgotten.
    SetJobStepHook([&](TJobHandOver& running) {
        EXPECT_FALSE(running.progress.StopRequested());
        EXPECT_GE(running.progress.Pos(), 0);
    });
    EXPECT_TRUE(RunJob(nullptr, job, ::texts::kJobExportCsv));
    EXPECT_EQ(job.bJobFailed.load(), 0);
    EXPECT_TRUE(fs::exists(folder_ + "/x.csv"));
}

TEST_F(JobWorker, ACancelBeforeTheWindowShowsStopsTheJob) {
    const std::string dict = MakeDictionary("d.vrk3", "D", "A", 5);
    bool ran = false;
    SetJobStepHook([&](TJobHandOver&) { ran = true; });
    TJobHandOver job;
    Export(job, dict, folder_ + "/x.csv");
    job.Restart();
    std::int32_t result = 0;
    std::thread worker([&] { result = JobThreadProc(job); });
    job.RequestStop();
    worker.join();
    EXPECT_EQ(result, -1);
    EXPECT_FALSE(ran);
    EXPECT_EQ(job.bJobFailed.load(), 1);
    EXPECT_TRUE(job.Ended());
    EXPECT_FALSE(fs::exists(folder_ + "/x.csv"));
}

TEST_F(JobWorker, RemappingRunsOneJobPerDictionaryAndGoesOnAfterAFailure) {
    const std::string a = MakeDictionary("a.vrk3", "Mama", "Ana");
    ASSERT_TRUE(Open(a)->StoreEntry("mama\x01mati"));
    const std::string b = MakeDictionary("b.vrk3", "Brat", "Ana");
    // A dictionary with two names is never changed.
    ASSERT_EQ(::link(b.c_str(), (folder_ + "/b2.vrk3").c_str()), 0);
    const std::string before = ReadFileBytes(b);
    MakeLibrary("Knj", {a, b});
    frame_ = StartFrame();
    SelectRows({QStringLiteral("Brat"), QStringLiteral("Mama")});
    WhenDialog("remapLetterDlg", [&](QWidget* dialog) {
        Type(dialog, "fromEdit", QStringLiteral("a"));
        Type(dialog, "toEdit", QStringLiteral("o"));
        EXPECT_EQ(Child<QLineEdit>(dialog, "fromEdit")->maxLength(), 1);
        Click(dialog, "okButton");
    });
    Run(id::kRemapLetters);
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{::texts::kRemapFailed});
    EXPECT_EQ(ReadFileBytes(b), before);
    std::string text;
    ASSERT_TRUE(Open(a)->GetEntry(0, text));
    EXPECT_EQ(text, "momo\x01moti");
    ASSERT_TRUE(Open(a)->GetName(text));
    EXPECT_EQ(text, "Momo");
    // The list keeps the old texts until it is filled again.
    EXPECT_NE(Row(QStringLiteral("Mama")), nullptr);

    // An empty edit: every job fails and nothing changes.
    messages_->Clear();
    WhenDialog("remapLetterDlg", [&](QWidget* dialog) { Click(dialog, "okButton"); });
    SelectRows({QStringLiteral("Mama")});
    const std::string remapped = ReadFileBytes(a);
    Run(id::kRemapLetters);
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{::texts::kRemapFailed});
    EXPECT_EQ(ReadFileBytes(a), remapped);
}

TEST_F(JobWorker, NoDictionaryIsOpenedWhileAWorkerRuns) {
    const std::string dict = MakeDictionary("d.vrk3", "D", "A", 3);
    MakeLibrary("Knj", {dict});
    frame_ = StartFrame();
    SelectRows({QStringLiteral("D")});
    ASSERT_TRUE(View()->SelectedExportAllowed());
    std::atomic<bool> release{false};
    SetJobStepHook([&](TJobHandOver&) {
        while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    });
    bool checked = false;
    WhenDialog("progressDlg", [&](QWidget*) {
        EXPECT_TRUE(JobRunning());
        EXPECT_FALSE(View()->SelectedExportAllowed());
        frame_->UpdateCommandStates();
        EXPECT_FALSE(frame_->Commands()->Action(id::kExport)->isEnabled());
        checked = true;
        release = true;
    });
    TJobHandOver job;
    Export(job, dict, folder_ + "/x.csv");
    EXPECT_TRUE(RunJob(frame_.get(), job, ::texts::kJobExportCsv));
    EXPECT_TRUE(checked);
    frame_->UpdateCommandStates();
    EXPECT_TRUE(frame_->Commands()->Action(id::kExport)->isEnabled());
}

}  // namespace
}  // namespace vrk
