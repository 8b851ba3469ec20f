// The jobs on their worker: a failure's message over the open progress
// window, a cancel, jobs that follow one another, remapping, and a user
// interface that opens no dictionary while a worker runs. The worker and
// the window themselves are tested in ui/worker_test.cpp.
#include "manager/job_thread.h"

#include <QLineEdit>
#include <QMessageBox>
#include <atomic>
#include <filesystem>
#include <thread>

#include "manager/manager_ids.h"
#include "manager/manager_test_util.h"
#include "manager/manager_texts.h"
#include "store/data_file.h"
#include "ui/commands.h"
#include "ui/worker.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;

class JobWorker : public TManagerTest {
  protected:
    void TearDown() override {
        SetJobStepHook({});
        TManagerTest::TearDown();
    }
    // An export of `dict` to CSV at `target`.
    static void Export(TJobHandOver& job, const std::string& dict, const std::string& target) {
        job.nJob = kJobExportCsv;
        job.strJobDataFile = dict;
        job.strJobOtherFile = target;
        job.chJobParam = ',';
    }
};

// The real box, not a script: the job's warning stands centred over the
// progress window the user is watching, and the job has failed after it.
TEST_F(JobWorker, AFailingJobsMessageStandsOverTheProgressWindow) {
    const std::string dict = MakeDictionary("d.vrk3", "D", "A", 2);
    frame_ = StartFrame();
    SetMessageHook({});
    QPoint boxCentre, windowCentre;
    QString owner;
    WhenDialog("messageBox", [&](QWidget* box) {
        EXPECT_EQ(qobject_cast<QMessageBox*>(box)->text(), ::texts::kExportFailed);
        EXPECT_EQ(qobject_cast<QMessageBox*>(box)->icon(), QMessageBox::Warning);
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
    EXPECT_TRUE(job.bJobFailed);
    EXPECT_FALSE(WorkerRunning());
    EXPECT_EQ(owner, QStringLiteral("progressDlg"));
    EXPECT_LE((boxCentre - windowCentre).manhattanLength(), 4)
        << boxCentre.x() << "," << boxCentre.y() << " " << windowCentre.x() << ","
        << windowCentre.y();
}

TEST_F(JobWorker, ACancelStopsTheJobWithoutAWordAndTheSameRecordRunsAgain) {
    const std::string dict = MakeDictionary("d.vrk3", "D", "A", 50);
    SetJobStepHook([](TJobHandOver&, TWorker& worker) {
        while (!worker.StopRequested()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    });
    WhenDialog("progressDlg", [&](QWidget* window) { Click(window, "cancelButton"); });
    TJobHandOver job;
    Export(job, dict, folder_ + "/x.csv");
    EXPECT_FALSE(RunJob(nullptr, job, ::texts::kJobExportCsv));
    EXPECT_FALSE(WorkerRunning());
    EXPECT_TRUE(messages_->Texts().empty());
    EXPECT_EQ(FolderFiles(), std::vector<std::string>{"d.vrk3"});

    // The earlier stop and failure are forgotten.
    SetJobStepHook({});
    EXPECT_TRUE(RunJob(nullptr, job, ::texts::kJobExportCsv));
    EXPECT_FALSE(job.bJobFailed);
    EXPECT_TRUE(fs::exists(folder_ + "/x.csv"));
}

TEST_F(JobWorker, RemappingRunsOneJobPerDictionaryAndGoesOnAfterAFailure) {
    const std::string a = MakeDictionary("a.vrk3", "Mama", "Ana");
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
    // What remapping changes in a dictionary is the engine's rule (store/).
    std::string name;
    ASSERT_TRUE(Open(a)->GetName(name));
    EXPECT_EQ(name, "Momo");
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
    SetJobStepHook([&](TJobHandOver&, TWorker&) {
        while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    });
    bool checked = false;
    WhenDialog("progressDlg", [&](QWidget*) {
        EXPECT_TRUE(WorkerRunning());
        EXPECT_FALSE(View()->SelectedExportAllowed());
        EXPECT_FALSE(Enabled(id::kExport));
        checked = true;
        release = true;
    });
    TJobHandOver job;
    Export(job, dict, folder_ + "/x.csv");
    EXPECT_TRUE(RunJob(frame_.get(), job, ::texts::kJobExportCsv));
    EXPECT_TRUE(checked);
    EXPECT_TRUE(Enabled(id::kExport));
}

}  // namespace
}  // namespace vrk
