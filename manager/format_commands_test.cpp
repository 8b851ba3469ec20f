// Import and export: the format by the file name, the dialogs, the files an
// import or export must never destroy, and the jobs on their worker. What
// they write is the engine's rule (store/), the worker is ui/'s.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <mutex>

#include "manager/export_file_dlg.h"
#include "manager/format_choice.h"
#include "manager/job_thread.h"
#include "manager/manager_ids.h"
#include "manager/manager_test_util.h"
#include "manager/manager_texts.h"
#include "store/data_file.h"
#include "ui/commands.h"
#include "ui/ui_texts.h"
#include "ui/worker.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;

// Most cases run the commands on a fake view (host_, dictionaries_); the
// worker records each job it is given (the job step hook).
class FormatCommands : public TManagerTest {
  protected:
    void SetUp() override {
        TManagerTest::SetUp();
        SetJobStepHook([this](TJobHandOver& job, TWorker&) {
            std::lock_guard lock(mutex_);
            jobs_.push_back(job.nJob);
            params_.push_back(job.chJobParam);
        });
    }
    // The export chooser answers `file` with the panel's default for
    // `filter` (null: the first entry), or with `separator`.
    static void ExportTo(const std::string& file, const QString& filter = {},
                         std::optional<QString> separator = std::nullopt) {
        SetFileDialogHook([=](const TFileDialogRequest&) {
            TFileDialogResult result = FilesChosen({QString::fromStdString(file)});
            result.selectedFilter = filter;
            result.panelText = separator;
            return result;
        });
    }

    std::mutex mutex_;
    std::vector<std::int32_t> jobs_;
    std::vector<char> params_;
};

TEST(FormatChoice, TheFormatComesFromTheNameAndSeparatorsAreOneStorableCharacter) {
    // The import looks at the last three characters (shorter paths are
    // first-generation files), the export at the extension.
    EXPECT_EQ(ImportFormat(QStringLiteral("/a/stari.VrK")), TOlderFormat::kSecondGen);
    EXPECT_EQ(ImportFormat(QStringLiteral("/a/slovar.vrk3")), TOlderFormat::kFirstGen);
    EXPECT_EQ(ImportFormat(QStringLiteral("vk")), TOlderFormat::kFirstGen);
    EXPECT_EQ(ExportFormat(QStringLiteral("/a/izvoz.CSV")), TOlderFormat::kCsv);
    EXPECT_EQ(ExportFormat(QStringLiteral("/a.vrk/izvoz")), TOlderFormat::kFirstGen);

    char separator = 0;
    EXPECT_EQ(CheckSeparator(QString(), separator), TSeparatorCheck::kMissing);
    EXPECT_EQ(CheckSeparator(QStringLiteral("\n"), separator), TSeparatorCheck::kInvalid);
    EXPECT_EQ(CheckSeparator(QStringLiteral("漢"), separator), TSeparatorCheck::kInvalid);
    EXPECT_EQ(CheckSeparator(QStringLiteral("š"), separator), TSeparatorCheck::kOk);
    EXPECT_EQ(separator, '\x9A');
}

TEST_F(FormatCommands, ImportsTakeTheFormatFromTheNameAskForDataWhereNoneCameAndSayWhatChanged) {
    // A second-generation file brings its name and author.
    const std::string old = MakeDictionary("old.vrk3", "Stari", "Ana", 3);
    ASSERT_TRUE(Open(old)->ExportSecondGen(folder_ + "/stari.vrk", ';'));
    WriteWholeFile(folder_ + "/prvi", "KRAS                         planota\r\n");
    WriteWholeFile(folder_ + "/tabela.csv", "okno," + std::string(100000, 's'));
    MakeLibrary("Knj");
    host_->Select();
    const std::string fromVrk = folder_ + "/iz-vrk.vrk3", fromFirst = folder_ + "/iz-prvi.vrk3",
                      fromCsv = folder_ + "/iz-csv.vrk3";
    ImportDialog(folder_ + "/stari.vrk", fromVrk);
    dictionaries_->Import();
    ImportDialog(folder_ + "/prvi", fromFirst);
    DataDialog(QStringLiteral("Prvi"));
    dictionaries_->Import();
    EXPECT_TRUE(messages_->Texts().empty());
    // What an import or an export changed in its texts is said once it is
    // done: here a cut text, on export line breaks written as spaces.
    ImportDialog(folder_ + "/tabela.csv", fromCsv);
    DataDialog(QStringLiteral("Tabela"));
    dictionaries_->Import();
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kImportChangedTexts.arg(0).arg(1)});

    EXPECT_EQ(jobs_,
              (std::vector<std::int32_t>{kJobImportSecondGen, kJobImportFirstGen, kJobImportCsv}));
    EXPECT_EQ(params_[0], '\x02');
    EXPECT_EQ(params_[1], '\x02');
    EXPECT_EQ(host_->listed,
              (std::vector<std::string>{"+" + fromVrk, "+" + fromFirst, "+" + fromCsv}));
    EXPECT_EQ(Members("Knj"), (std::vector<std::string>{fromVrk, fromFirst, fromCsv}));
    EXPECT_EQ(Headers(fromVrk), (std::vector<std::string>{"Stari", "Ana", "", ""}));
    EXPECT_EQ(Headers(fromFirst), (std::vector<std::string>{"Prvi", "Uvoznik", "", ""}));
    EXPECT_EQ(Flags(fromCsv), 6);
    const std::string dict = MakeDictionary("d.vrk3", "D", "Ana");
    ASSERT_TRUE(Open(dict)->StoreEntry("oko\x01vid\r\ndrugi del"));
    host_->Select({dict});
    messages_->Clear();
    ExportTo(folder_ + "/izvoz.csv");
    dictionaries_->Export();
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kExportChangedTexts.arg(1)});
}

TEST_F(FormatCommands, AnImportThatFailsOrIsGivenUpLeavesTheTargetAsItWas) {
    const std::string target = MakeDictionary("dober.vrk3", "Dober", "Ana", 5);
    MakeLibrary("Knj", {target});
    const std::string before = ReadWholeFile(target);
    WriteWholeFile(folder_ + "/tabela.csv", "miza,stol\r\n");
    host_->Select();

    // The source cannot be read: the job says so.
    ImportDialog(folder_ + "/ni.csv", target);
    messages_->Answer(TMsgAnswer::kYes);  // replace the dictionary typed by hand
    dictionaries_->Import();
    ASSERT_EQ(messages_->Texts().size(), 2u);
    EXPECT_EQ(messages_->Texts()[1], texts::kImportFailed);
    // The data dialog given up.
    messages_->Clear();
    messages_->Answer(TMsgAnswer::kYes);
    ImportDialog(folder_ + "/tabela.csv", target);
    DataDialog(QStringLiteral("Nov"), false);
    dictionaries_->Import();
    EXPECT_EQ(messages_->Texts().size(), 1u);  // the replacement question
    // The target that is the source itself is refused in the dialog.
    messages_->Clear();
    WhenDialog("importDlg", [&](QWidget* dialog) {
        Type(dialog, "existingEdit", QString::fromStdString(target));
        Type(dialog, "newEdit", QString::fromStdString(folder_ + "/../slovarji/dober.vrk3"));
        Click(dialog, "okButton");
        EXPECT_TRUE(dialog->isVisible());
        Click(dialog, "cancelButton");
    });
    dictionaries_->Import();
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kImportSameFile});

    EXPECT_EQ(ReadWholeFile(target), before);
    EXPECT_EQ(Members("Knj"), std::vector<std::string>{target});
    EXPECT_TRUE(host_->listed.empty());
}

// On the frame: the import's result is listed in place of the file it
// replaced.
TEST_F(FormatCommands, ANewFileTypedByHandIsReplacedOnlyAfterTheQuestion) {
    const std::string target = MakeDictionary("dober.vrk3", "Dober", "Ana", 5);
    WriteWholeFile(folder_ + "/tabela.csv", "miza,stol\r\n");
    MakeLibrary("Knj", {target});
    frame_ = StartFrame();
    WhenDialog("importDlg", [&](QWidget* dialog) {
        // No: the dialog stays for another name.
        messages_->Answer(TMsgAnswer::kNo);
        Type(dialog, "existingEdit", QString::fromStdString(folder_ + "/tabela.csv"));
        Type(dialog, "newEdit", QString::fromStdString(target));
        Click(dialog, "okButton");
        EXPECT_TRUE(dialog->isVisible());
        messages_->Answer(TMsgAnswer::kYes);
        DataDialog(QStringLiteral("Zamenjan"));
        Click(dialog, "okButton");
    });
    Run(id::kImport);
    ASSERT_EQ(messages_->Shown().size(), 2u);
    EXPECT_EQ(messages_->Shown()[0].text,
              vrk::texts::kFileReplace.arg(QStringLiteral("dober.vrk3")));
    EXPECT_EQ(messages_->Shown()[0].defaultAnswer, TMsgAnswer::kNo);
    EXPECT_EQ(Open(target)->GetEntryCount(), 1);
    EXPECT_EQ(ListNames(), QStringList{QStringLiteral("Zamenjan")});
    EXPECT_EQ(View()->Selection().rows,
              std::vector<QTreeWidgetItem*>{Row(QStringLiteral("Zamenjan"))});
    EXPECT_EQ(Members("Knj"), std::vector<std::string>{target});
}

TEST_F(FormatCommands, PathsTypedByHandAreTakenAgainstTheWorkingFolder) {
    // The manager runs in dir_; the user types names relative to it.
    const QString started = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir_)));
    fs::create_directories(dir_ + "/data");
    WriteWholeFile(dir_ + "/data/big.csv", "miza,stol\r\n");
    MakeLibrary("Knj");
    frame_ = StartFrame();
    ImportDialog("data/big.csv", "rel");
    DataDialog(QStringLiteral("Rel"));
    Run(id::kImport);
    const std::string made = dir_ + "/rel.vrk3";
    EXPECT_EQ(Members("Knj"), std::vector<std::string>{made});
    EXPECT_EQ(Row(QStringLiteral("Rel"))->text(kColFile), QString::fromStdString(made));
    // An export typed by hand goes to the working folder too.
    SelectRows({QStringLiteral("Rel")});
    ExportTo("data/izvoz.csv");
    Run(id::kExport);
    EXPECT_TRUE(fs::exists(dir_ + "/data/izvoz.csv"));
    EXPECT_TRUE(messages_->Texts().empty());
    ASSERT_TRUE(QDir::setCurrent(started));
}

TEST_F(FormatCommands, ExportsTakeFormatAndSeparatorAndAskBeforeReplacingADictionary) {
    const std::string dict = MakeDictionary("d.vrk3", "D", "Ana", 1);
    host_->Select({dict});
    // The name decides the format whatever filter was picked; the filter
    // and the panel give the separator.
    ExportTo(folder_ + "/izvoz.csv", QStringLiteral("Oblikovano Besedilo (*.csv)"));
    dictionaries_->Export();
    ExportTo(folder_ + "/izvoz2.csv");
    dictionaries_->Export();
    ExportTo(folder_ + "/izvoz.vrk");
    dictionaries_->Export();
    ExportTo(folder_ + "/izvoz.txt", {}, QStringLiteral("/"));
    dictionaries_->Export();
    EXPECT_EQ(jobs_, (std::vector<std::int32_t>{kJobExportCsv, kJobExportCsv, kJobExportSecondGen,
                                                kJobExportFirstGen}));
    EXPECT_EQ(params_, (std::vector<char>{',', ';', ';', '/'}));
    EXPECT_EQ(Setting("ExportDir"), folder_);

    // The dictionary's own file is refused as the target.
    jobs_.clear();
    const std::string before = ReadWholeFile(dict);
    ExportTo(dict);
    dictionaries_->Export();
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kExportSameFile});
    EXPECT_EQ(ReadWholeFile(dict), before);

    // Over a dictionary: it is named with its library (a sub-library
    // too), No is the default.
    const std::string member = MakeDictionary("drugi.vrk3", "Drugi", "Ana", 3);
    MakeLibrary("Zbirka\\Druga", {member});
    const std::string memberBefore = ReadWholeFile(member);
    messages_->Clear();
    ExportTo(member);
    dictionaries_->Export();
    ASSERT_EQ(messages_->Shown().size(), 1u);
    EXPECT_EQ(messages_->Shown()[0].text,
              texts::kExportOverMember.arg(QStringLiteral("drugi.vrk3"), QStringLiteral("Druga")));
    EXPECT_EQ(messages_->Shown()[0].defaultAnswer, TMsgAnswer::kNo);
    EXPECT_EQ(ReadWholeFile(member), memberBefore);
    EXPECT_TRUE(jobs_.empty());
    // A dictionary of no library, with no flags set, replaced after "Da".
    const std::string loose = MakeDictionary("prost.vrk3", "Prost");
    ASSERT_TRUE(Open(loose)->SetInfo("Prost", "", "", "", 0));
    messages_->Clear();
    messages_->Answer(TMsgAnswer::kYes);
    ExportTo(loose);
    dictionaries_->Export();
    EXPECT_EQ(messages_->Texts(),
              std::vector<QString>{texts::kExportOverDictionary.arg(QStringLiteral("prost.vrk3"))});
    EXPECT_EQ(jobs_, std::vector<std::int32_t>{kJobExportFirstGen});
}

TEST_F(FormatCommands, TheSeparatorPanelFollowsTheFilterAndKeepsTheChooserOpenWhenEmpty) {
    CExportFileDlg dialog(nullptr, ExportRequest(folder_));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* label = Child<QLabel>(&dialog, "separatorLabel");
    auto* edit = Child<QLineEdit>(&dialog, "separatorEdit");
    EXPECT_EQ(edit->text(), QStringLiteral(";"));
    // The user picks the CSV entry: the panel follows.
    auto* types = Child<QComboBox>(&dialog, "fileTypeCombo");
    types->setFocus();
    QTest::keyClick(types, Qt::Key_Down);
    QTest::keyClick(types, Qt::Key_Down);
    EXPECT_EQ(label->text(), texts::kFieldSeparator);
    EXPECT_EQ(edit->text(), QStringLiteral(","));

    Child<QLineEdit>(&dialog, "fileNameEdit")->setText(QStringLiteral("izvoz.csv"));
    edit->clear();
    static_cast<QDialog&>(dialog).accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kSeparatorMissing});
    edit->setText(QStringLiteral("|"));
    static_cast<QDialog&>(dialog).accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_chSeparator, '|');
    EXPECT_EQ(dialog.Result().files, QStringList{QString::fromStdString(folder_ + "/izvoz.csv")});
}

TEST_F(FormatCommands, ExportIsOfferedForOneDictionaryThatAllowsIt) {
    const std::string open = MakeDictionary("a.vrk3", "Odprt", "Ana", 50);
    const std::string closed = MakeDictionary("b.vrk3", "Zaprt");
    ASSERT_TRUE(Open(closed)->SetInfo("Zaprt", "", "", "", 2));
    const std::string damaged = MakeDictionary("c.vrk3", "Pokvarjen");
    MakeLibrary("Knj", {open, closed, damaged});
    frame_ = StartFrame();
    WriteWholeFile(damaged, "Verbatrakon Datafile /3.0/ cut");
    EXPECT_FALSE(Enabled(id::kExport));
    for (const auto& [rows, offered] : {std::pair<QStringList, bool>{{"Odprt"}, true},
                                        {{"Zaprt"}, false},
                                        {{"Pokvarjen"}, false},
                                        {{"Odprt", "Zaprt"}, false}}) {
        SelectRows(rows);
        EXPECT_EQ(Enabled(id::kExport), offered) << rows.join(' ').toStdString();
    }
    SelectRows({QStringLiteral("Zaprt")});
    ExportTo(folder_ + "/x.csv");
    View()->Dictionaries().Export();
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kExportDisabled});
}

}  // namespace
}  // namespace vrk
