// Import and export: the format by the file name, the import dialog and the
// data dialog after it, the export chooser with its separator panel, and
// the files an import or export must never destroy.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <mutex>
#include <thread>

#include "manager/export_file_dlg.h"
#include "manager/format_choice.h"
#include "manager/job_thread.h"
#include "manager/manager_ids.h"
#include "manager/manager_test_util.h"
#include "manager/manager_texts.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "store/data_file.h"
#include "ui/commands.h"
#include "ui/ui_texts.h"
#include "ui/worker.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;

// What the worker was asked to do, recorded by the job step hook.
struct TJobSeen {
    std::mutex mutex;
    std::vector<std::int32_t> jobs;
    std::vector<char> params;
};

// The export cases run the command on a fake view (host_, dictionaries_);
// the imports, which list what they made, run on the frame.
class FormatCommands : public TManagerTest {
  protected:
    void SetUp() override {
        TManagerTest::SetUp();
        SetJobStepHook([this](TJobHandOver& job, TWorker&) {
            std::lock_guard lock(seen_.mutex);
            seen_.jobs.push_back(job.nJob);
            seen_.params.push_back(job.chJobParam);
        });
    }
    void TearDown() override {
        SetJobStepHook({});
        TManagerTest::TearDown();
    }
    std::vector<std::string> Entries(const std::string& path) {
        auto file = Open(path);
        std::vector<std::string> entries;
        std::string entry;
        for (std::int32_t i = 0; i < file->GetEntryCount(); ++i)
            if (file->GetEntry(i, entry)) entries.push_back(entry);
        return entries;
    }
    // Fills the import dialog and confirms it.
    void ImportDialog(const std::string& source, const std::string& target) {
        WhenDialog("importDlg", [=](QWidget* dialog) {
            Type(dialog, "existingEdit", QString::fromStdString(source));
            Type(dialog, "newEdit", QString::fromStdString(target));
            Click(dialog, "okButton");
        });
    }
    // The data dialog after an import: the texts, or a cancel.
    void DataDialog(const QString& name, bool ok = true) {
        WhenDialog("dictDataDlg", [=](QWidget* dialog) {
            EXPECT_TRUE(Child<QLineEdit>(dialog, "nameEdit")->text().isEmpty());
            Type(dialog, "nameEdit", name);
            Type(dialog, "authorEdit", QStringLiteral("Uvoznik"));
            Click(dialog, ok ? "okButton" : "cancelButton");
        });
    }
    // The export chooser answers `file` with the panel's default for
    // `filter` (null: the first entry), or with `separator`.
    void ExportTo(const std::string& file, const QString& filter = {},
                  std::optional<QString> separator = std::nullopt) {
        SetFileDialogHook([=](const TFileDialogRequest& request) {
            EXPECT_TRUE(request.save);
            EXPECT_EQ(request.caption, QStringLiteral("Izvozi"));
            TFileDialogResult result = FilesChosen({QString::fromStdString(file)});
            result.selectedFilter = filter;
            result.panelText = separator;
            return result;
        });
    }

    TJobSeen seen_;
};

TEST(FormatChoice, TheImportLooksAtTheLastThreeCharactersTheExportAtTheExtension) {
    EXPECT_EQ(ImportFormat(QStringLiteral("/a/stari.VrK")), TOlderFormat::kSecondGen);
    EXPECT_EQ(ImportFormat(QStringLiteral("/a/tabela.csv")), TOlderFormat::kCsv);
    EXPECT_EQ(ImportFormat(QStringLiteral("/a/slovar")), TOlderFormat::kFirstGen);
    EXPECT_EQ(ImportFormat(QStringLiteral("/a/slovar.vrk3")), TOlderFormat::kFirstGen);
    // Paths shorter than three characters are first-generation files.
    for (const char* shortPath : {"", "a", "vk"})
        EXPECT_EQ(ImportFormat(QString::fromLatin1(shortPath)), TOlderFormat::kFirstGen);
    EXPECT_EQ(ExportFormat(QStringLiteral("/a/izvoz.CSV")), TOlderFormat::kCsv);
    EXPECT_EQ(ExportFormat(QStringLiteral("/a.vrk/izvoz")), TOlderFormat::kFirstGen);
    EXPECT_EQ(ExportFormat(QStringLiteral("/a/izvoz.vrk")), TOlderFormat::kSecondGen);
}

TEST(FormatChoice, SeparatorsAreOneCharacterAnOlderFileCanHold) {
    char separator = 'x';
    EXPECT_EQ(CheckSeparator(QString(), separator), TSeparatorCheck::kMissing);
    EXPECT_EQ(CheckSeparator(QStringLiteral("\n"), separator), TSeparatorCheck::kInvalid);
    EXPECT_EQ(CheckSeparator(QStringLiteral("漢"), separator), TSeparatorCheck::kInvalid);
    EXPECT_EQ(separator, 'x');
    EXPECT_EQ(CheckSeparator(QStringLiteral("\t"), separator), TSeparatorCheck::kOk);
    EXPECT_EQ(separator, '\t');
    EXPECT_EQ(CheckSeparator(QStringLiteral("š"), separator), TSeparatorCheck::kOk);
    EXPECT_EQ(separator, '\x9A');
}

TEST_F(FormatCommands, ImportsTakeTheFormatFromTheNameAndAskForDataOnlyWhereNoneCame) {
    // A second-generation file brings its name and author.
    const std::string old = MakeDictionary("old.vrk3", "Stari", "Ana", 3);
    ASSERT_TRUE(Open(old)->ExportSecondGen(folder_ + "/stari.vrk", ';'));
    WriteFileBytes(folder_ + "/tabela.csv", "miza,pohi\x9Atvo;stol\r\nokno,steklo\r\n");
    WriteFileBytes(folder_ + "/prvi", "KRAS                         planota\r\n");
    MakeLibrary("Knj");
    frame_ = StartFrame();

    ImportDialog(folder_ + "/stari.vrk", folder_ + "/iz-vrk.vrk3");
    Run(id::kImport);
    ImportDialog(folder_ + "/tabela.csv", folder_ + "/iz-csv.vrk3");
    DataDialog(QStringLiteral("Tabela"));
    Run(id::kImport);
    ImportDialog(folder_ + "/prvi", folder_ + "/iz-prvi.vrk3");
    DataDialog(QStringLiteral("Prvi"));
    Run(id::kImport);

    EXPECT_TRUE(messages_->Texts().empty());
    EXPECT_EQ(seen_.jobs,
              (std::vector<std::int32_t>{kJobImportSecondGen, kJobImportCsv, kJobImportFirstGen}));
    EXPECT_EQ(seen_.params[0], '\x02');
    EXPECT_EQ(seen_.params[2], '\x02');
    EXPECT_EQ(ListNames(), QStringList({"Prvi", "Stari", "Tabela"}));
    EXPECT_EQ(View()->Selection().rows, std::vector<QTreeWidgetItem*>{Row(QStringLiteral("Prvi"))});
    EXPECT_EQ(Row(QStringLiteral("Stari"))->text(kColAuthor), QStringLiteral("Ana"));
    EXPECT_EQ(Row(QStringLiteral("Stari"))->text(kColCount), QStringLiteral("3"));
    EXPECT_EQ(Row(QStringLiteral("Tabela"))->text(kColCount), QStringLiteral("2"));
    EXPECT_EQ(Members("Knj"),
              (std::vector<std::string>{folder_ + "/iz-vrk.vrk3", folder_ + "/iz-csv.vrk3",
                                        folder_ + "/iz-prvi.vrk3"}));
    EXPECT_EQ(Entries(folder_ + "/iz-csv.vrk3"),
              (std::vector<std::string>{"miza\x01pohi\x9Atvo\x01stol", "okno\x01steklo"}));
    EXPECT_EQ(Entries(folder_ + "/iz-prvi.vrk3"), std::vector<std::string>{"KRAS\x01planota"});
    EXPECT_EQ(Open(folder_ + "/iz-csv.vrk3")->GetFlags(), 6);
    // Nothing is left beside the new dictionaries.
    EXPECT_EQ(FolderFiles(),
              (std::vector<std::string>{"iz-csv.vrk3", "iz-prvi.vrk3", "iz-vrk.vrk3", "old.vrk3",
                                        "prvi", "stari.vrk", "tabela.csv"}));
}

TEST_F(FormatCommands, AnImportThatFailsOrIsCancelledLeavesTheTargetAsItWas) {
    const std::string target = MakeDictionary("dober.vrk3", "Dober", "Ana", 5);
    MakeLibrary("Knj", {target});
    const std::string before = ReadFileBytes(target);
    WriteFileBytes(folder_ + "/tabela.csv", "miza,stol\r\n");
    const std::vector<std::string> files = FolderFiles();
    frame_ = StartFrame();

    // The source cannot be read: the job says so.
    ImportDialog(folder_ + "/ni.csv", target);
    messages_->Answer(TMsgAnswer::kYes);  // replace the dictionary typed by hand
    Run(id::kImport);
    ASSERT_EQ(messages_->Texts().size(), 2u);
    EXPECT_EQ(messages_->Texts()[1], ::texts::kImportFailed);
    // The data dialog given up.
    messages_->Clear();
    messages_->Answer(TMsgAnswer::kYes);
    ImportDialog(folder_ + "/tabela.csv", target);
    DataDialog(QStringLiteral("Nov"), false);
    Run(id::kImport);
    // Cancelled while the job runs: the worker waits for the stop request.
    messages_->Answer(TMsgAnswer::kYes);
    SetJobStepHook([](TJobHandOver&, TWorker& worker) {
        while (!worker.StopRequested()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    });
    ImportDialog(folder_ + "/tabela.csv", target);
    WhenDialog("progressDlg", [](QWidget* window) { Click(window, "cancelButton"); });
    Run(id::kImport);
    SetJobStepHook({});
    // Only the two replacement questions: a cancel says nothing.
    EXPECT_EQ(messages_->Texts().size(), 2u);
    // The target that is the source itself is refused in the dialog.
    messages_->Clear();
    WhenDialog("importDlg", [&](QWidget* dialog) {
        Type(dialog, "existingEdit", QString::fromStdString(target));
        Type(dialog, "newEdit", QString::fromStdString(folder_ + "/../slovarji/dober.vrk3"));
        Click(dialog, "okButton");
        EXPECT_TRUE(dialog->isVisible());
        Click(dialog, "cancelButton");
    });
    Run(id::kImport);
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{::texts::kImportSameFile});

    EXPECT_EQ(ReadFileBytes(target), before);
    EXPECT_EQ(FolderFiles(), files);
    EXPECT_EQ(Members("Knj"), std::vector<std::string>{target});
    EXPECT_EQ(ListNames(), QStringList{QStringLiteral("Dober")});
}

TEST_F(FormatCommands, ANewFileTypedByHandIsReplacedOnlyAfterTheQuestion) {
    const std::string target = MakeDictionary("dober.vrk3", "Dober", "Ana", 5);
    const std::string before = ReadFileBytes(target);
    WriteFileBytes(folder_ + "/tabela.csv", "miza,stol\r\n");
    MakeLibrary("Knj", {target});
    frame_ = StartFrame();
    // Both empty: the dialog says so and stays.
    WhenDialog("importDlg", [&](QWidget* dialog) {
        Click(dialog, "okButton");
        EXPECT_TRUE(dialog->isVisible());
        // No: the dialog stays for another name.
        messages_->Answer(TMsgAnswer::kNo);
        Type(dialog, "existingEdit", QString::fromStdString(folder_ + "/tabela.csv"));
        Type(dialog, "newEdit", QString::fromStdString(target));
        Click(dialog, "okButton");
        EXPECT_TRUE(dialog->isVisible());
        // Chosen with the save dialog, which asked already: no question.
        SetFileDialogHook([&](const TFileDialogRequest& request) {
            EXPECT_TRUE(request.save);
            return FilesChosen({QString::fromStdString(target)});
        });
        Click(dialog, "browseNew");
        DataDialog(QStringLiteral("Zamenjan"));
        Click(dialog, "okButton");
    });
    Run(id::kImport);
    ASSERT_EQ(messages_->Shown().size(), 2u);
    EXPECT_EQ(messages_->Shown()[0].text, ::texts::kImportNeedsFiles);
    EXPECT_EQ(messages_->Shown()[1].text,
              vrk::texts::kFileReplace.arg(QStringLiteral("dober.vrk3")));
    EXPECT_EQ(messages_->Shown()[1].defaultAnswer, TMsgAnswer::kNo);
    EXPECT_NE(ReadFileBytes(target), before);
    EXPECT_EQ(Entries(target), std::vector<std::string>{"miza\x01stol"});
    EXPECT_EQ(ListNames(), QStringList{QStringLiteral("Zamenjan")});
    EXPECT_EQ(Members("Knj"), std::vector<std::string>{target});
}

// What an import or an export changed in its texts is said once it is done:
// bytes 0x02 made spaces and cut lines, line breaks written as spaces (the
// changes themselves are the engine's).
TEST_F(FormatCommands, ImportAndExportSayWhatTheyChangedInTheTexts) {
    WriteFileBytes(folder_ + "/tabela.csv", "mi\x02za,x\x02y\r\nokno," + std::string(100000, 's'));
    const std::string dict = MakeDictionary("d.vrk3", "D", "Ana");
    ASSERT_TRUE(Open(dict)->StoreEntry("oko\x01vid\r\ndrugi del"));
    MakeLibrary("Knj");
    host_->Select({dict});
    ImportDialog(folder_ + "/tabela.csv", folder_ + "/iz-csv.vrk3");
    DataDialog(QStringLiteral("Tabela"));
    dictionaries_->Import();
    ExportTo(folder_ + "/izvoz.csv");
    dictionaries_->Export();
    EXPECT_EQ(messages_->Texts(), (std::vector<QString>{::texts::kImportChangedTexts.arg(2).arg(1),
                                                        ::texts::kExportChangedTexts.arg(1)}));
}

TEST_F(FormatCommands, PathsTypedByHandAreTakenAgainstTheWorkingFolder) {
    // The manager runs in dir_; the user types names relative to it.
    const QString started = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir_)));
    fs::create_directories(dir_ + "/data");
    WriteFileBytes(dir_ + "/data/big.csv", "miza,stol\r\n");
    MakeLibrary("Knj");
    MakeLibrary("Druga");
    frame_ = StartFrame();
    ImportDialog("data/big.csv", "rel");
    DataDialog(QStringLiteral("Rel"));
    Run(id::kImport);
    const std::string made = dir_ + "/rel.vrk3";
    EXPECT_EQ(Members("Knj"), std::vector<std::string>{made});
    EXPECT_EQ(Entries(made), std::vector<std::string>{"miza\x01stol"});
    EXPECT_EQ(Row(QStringLiteral("Rel"))->text(kColFile), QString::fromStdString(made));
    // An export typed by hand goes to the working folder too.
    SelectRows({QStringLiteral("Rel")});
    ExportTo("data/izvoz.csv");
    Run(id::kExport);
    EXPECT_EQ(ReadFileBytes(dir_ + "/data/izvoz.csv"), "miza;stol");
    // Added by a typed name, from another folder the program was started in.
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir_ + "/data")));
    ClickLibrary(QStringLiteral("Druga"));
    SetFileDialogHook([](const TFileDialogRequest&) {
        return FilesChosen({QStringLiteral("../rel.vrk3")}, QStringLiteral("/"));
    });
    Run(id::kAddDictionary);
    EXPECT_EQ(Members("Druga"), std::vector<std::string>{made});
    // Each folder stored is the chosen file's, not the one the dialog showed.
    EXPECT_EQ(Setting("AddDFDir"), dir_);
    EXPECT_TRUE(messages_->Texts().empty());
    ASSERT_TRUE(QDir::setCurrent(started));
}

TEST_F(FormatCommands, ExportsTakeFormatAndSeparatorAndAskBeforeReplacingADictionary) {
    const std::string dict = MakeDictionary("d.vrk3", "D", "Ana");
    ASSERT_TRUE(
        Open(dict)->StoreEntry("miza\x01lesena\x01"
                               "4 noge"));
    host_->Select({dict});
    ExportTo(folder_ + "/izvoz.csv", QStringLiteral("Oblikovano Besedilo (*.csv)"));
    dictionaries_->Export();
    EXPECT_EQ(ReadFileBytes(folder_ + "/izvoz.csv"), "miza,lesena,4 noge");
    // The name decides the format whatever filter was picked.
    ExportTo(folder_ + "/izvoz2.csv");
    dictionaries_->Export();
    EXPECT_EQ(ReadFileBytes(folder_ + "/izvoz2.csv"), "miza;lesena;4 noge");
    ExportTo(folder_ + "/izvoz.vrk");
    dictionaries_->Export();
    ExportTo(folder_ + "/izvoz.txt", {}, QStringLiteral("/"));
    dictionaries_->Export();
    EXPECT_EQ(ReadFileBytes(folder_ + "/izvoz.txt").substr(29), "lesena/ 4 noge\r\n");
    EXPECT_EQ(seen_.jobs, (std::vector<std::int32_t>{kJobExportCsv, kJobExportCsv,
                                                     kJobExportSecondGen, kJobExportFirstGen}));
    EXPECT_EQ(seen_.params, (std::vector<char>{',', ';', ';', '/'}));
    EXPECT_EQ(Setting("ExportDir"), folder_);

    // An empty separator is refused and asked again; the dictionary's own
    // file is refused as the target.
    seen_.jobs.clear();
    int asked = 0;
    SetFileDialogHook([&](const TFileDialogRequest&) {
        TFileDialogResult result =
            FilesChosen({QString::fromStdString(asked == 0 ? folder_ + "/x.csv" : dict)});
        result.panelText = asked++ == 0 ? QString() : QStringLiteral(";");
        return result;
    });
    const std::string before = ReadFileBytes(dict);
    dictionaries_->Export();
    EXPECT_EQ(messages_->Texts(),
              (std::vector<QString>{::texts::kSeparatorMissing, ::texts::kExportSameFile}));
    EXPECT_EQ(ReadFileBytes(dict), before);
    EXPECT_TRUE(seen_.jobs.empty());
    EXPECT_FALSE(fs::exists(folder_ + "/x.csv"));

    // Over a dictionary: it is named with its library, No is the default.
    const std::string member = MakeDictionary("drugi.vrk3", "Drugi", "Ana", 3);
    const std::string loose = MakeDictionary("prost.vrk3", "Prost");
    MakeLibrary("Druga", {member});
    const std::string memberBefore = ReadFileBytes(member);
    messages_->Clear();
    ExportTo(member);
    dictionaries_->Export();
    ASSERT_EQ(messages_->Shown().size(), 1u);
    EXPECT_EQ(
        messages_->Shown()[0].text,
        ::texts::kExportOverMember.arg(QStringLiteral("drugi.vrk3"), QStringLiteral("Druga")));
    EXPECT_EQ(messages_->Shown()[0].defaultAnswer, TMsgAnswer::kNo);
    EXPECT_EQ(ReadFileBytes(member), memberBefore);
    EXPECT_TRUE(seen_.jobs.empty());
    // A dictionary of no library, replaced after "Da".
    messages_->Clear();
    messages_->Answer(TMsgAnswer::kYes);
    ExportTo(loose);
    dictionaries_->Export();
    EXPECT_EQ(
        messages_->Texts(),
        std::vector<QString>{::texts::kExportOverDictionary.arg(QStringLiteral("prost.vrk3"))});
    EXPECT_EQ(seen_.jobs, std::vector<std::int32_t>{kJobExportFirstGen});
}

TEST_F(FormatCommands, TheSeparatorPanelFollowsTheFilterAndKeepsTheChooserOpenWhenEmpty) {
    TFileDialogRequest request;
    request.save = true;
    request.caption = ::texts::kExportTitle;
    request.directory = QString::fromStdString(folder_);
    request.filter = ::texts::kOlderFormatsFilter;
    CExportFileDlg dialog(nullptr, request);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* label = Child<QLabel>(&dialog, "separatorLabel");
    auto* edit = Child<QLineEdit>(&dialog, "separatorEdit");
    EXPECT_EQ(label->text(), ::texts::kDescriptionSeparator);
    EXPECT_EQ(edit->text(), QStringLiteral(";"));
    EXPECT_EQ(edit->maxLength(), 1);
    // The user picks the CSV entry: the panel follows.
    auto* types = Child<QComboBox>(&dialog, "fileTypeCombo");
    types->setFocus();
    QTest::keyClick(types, Qt::Key_Down);
    QTest::keyClick(types, Qt::Key_Down);
    EXPECT_EQ(types->currentIndex(), 2);
    EXPECT_EQ(label->text(), ::texts::kFieldSeparator);
    EXPECT_EQ(edit->text(), QStringLiteral(","));
    QTest::keyClick(types, Qt::Key_Up);
    EXPECT_EQ(edit->text(), QStringLiteral(";"));

    auto* name = Child<QLineEdit>(&dialog, "fileNameEdit");
    name->setText(QStringLiteral("izvoz.csv"));
    edit->clear();
    static_cast<QDialog&>(dialog).accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{::texts::kSeparatorMissing});
    edit->setText(QStringLiteral("|"));
    static_cast<QDialog&>(dialog).accept();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_chSeparator, '|');
    EXPECT_EQ(dialog.Result().files, QStringList{QString::fromStdString(folder_ + "/izvoz.csv")});
}

TEST_F(FormatCommands, ExportIsOfferedForOneDictionaryThatAllowsIt) {
    const std::string open = MakeDictionary("a.vrk3", "Odprt");
    const std::string closed = MakeDictionary("b.vrk3", "Zaprt");
    ASSERT_TRUE(Open(closed)->SetInfo("Zaprt", "", "", "", 2));
    const std::string damaged = MakeDictionary("c.vrk3", "Pokvarjen");
    MakeLibrary("Knj", {open, closed, damaged});
    frame_ = StartFrame();
    WriteFileBytes(damaged, "Verbatrakon Datafile /3.0/ cut");
    EXPECT_FALSE(Enabled(id::kExport));
    SelectRows({QStringLiteral("Odprt")});
    EXPECT_TRUE(Enabled(id::kExport));
    SelectRows({QStringLiteral("Zaprt")});
    EXPECT_FALSE(Enabled(id::kExport));
    SelectRows({QStringLiteral("Pokvarjen")});
    EXPECT_FALSE(Enabled(id::kExport));
    SelectRows({QStringLiteral("Odprt"), QStringLiteral("Zaprt")});
    EXPECT_FALSE(Enabled(id::kExport));
    // The command asks the dictionary too.
    SelectRows({QStringLiteral("Zaprt")});
    ExportTo(folder_ + "/x.csv");
    View()->Dictionaries().Export();
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{::texts::kExportDisabled});
    EXPECT_FALSE(fs::exists(folder_ + "/x.csv"));
}

}  // namespace
}  // namespace vrk
