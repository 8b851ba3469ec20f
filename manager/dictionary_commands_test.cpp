// The header-data commands on a fake view: the new-dictionary wizard, the
// information window, the data dialog with its password prompt, the
// security settings for one and for several dictionaries, the picture and
// letter remapping; then the frame's command table that reaches them.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <filesystem>

#include "manager/manager_ids.h"
#include "manager/manager_test_util.h"
#include "manager/manager_texts.h"
#include "manager/picture_file.h"
#include "manager/security_dlg.h"
#include "store/data_file.h"
#include "store/file_io.h"
#include "ui/dict_info_dlg.h"
#include "ui/ui_texts.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;
using THeaders = std::vector<std::string>;

class DictionaryCommands : public TManagerTest {
  protected:
    static bool Checked(QWidget* window, const char* name) {
        return Child<QCheckBox>(window, name)->isChecked();
    }
    // Runs the wizard with this name and the other settings as they come;
    // `beforeSave` runs on page 2 before "Shrani".
    void RunWizard(const QString& name, std::function<void(QWidget*)> beforeSave = {}) {
        WhenDialog("newDictPage1", [=](QWidget* page1) {
            Type(page1, "nameEdit", name);
            WhenDialog("newDictPage2", [=](QWidget* page2) {
                if (beforeSave) beforeSave(page2);
                Click(page2, "saveButton");
            });
            Click(page1, "nextButton");
        });
        dictionaries_->NewDictionary();
    }
};

TEST_F(DictionaryCommands, TheWizardCreatesRegistersAndListsTheDictionaryAndItsCancelEndsIt) {
    MakeLibrary("Knj");
    host_->Select();
    const std::string path = folder_ + "/nov.vrk3";
    TFileDialogRequest asked;
    SetFileDialogHook([&](const TFileDialogRequest& request) {
        asked = request;
        return FilesChosen({QString::fromStdString(path)});
    });
    // "Prekliči" on page 2 ends the wizard.
    WhenDialog("newDictPage1", [&](QWidget* page1) {
        WhenDialog("newDictPage2", [&](QWidget* page2) { Click(page2, "cancelButton"); });
        Click(page1, "nextButton");
    });
    dictionaries_->NewDictionary();
    EXPECT_FALSE(asked.save);
    WhenDialog("newDictPage1", [&](QWidget* page1) {
        Type(page1, "nameEdit", QStringLiteral("Moj slovar"));
        Type(page1, "authorEdit", QStringLiteral("Žiga"));
        Type(page1, "notesEdit", QStringLiteral("prva\ndruga"));
        WhenDialog("newDictPage2", [&](QWidget* page2) { Click(page2, "saveButton"); });
        Click(page1, "nextButton");
    });
    dictionaries_->NewDictionary();
    EXPECT_TRUE(asked.save);
    EXPECT_TRUE(asked.confirmOverwrite);
    EXPECT_EQ(Flags(path), 6);
    EXPECT_EQ(Headers(path), (THeaders{"Moj slovar", "\x8Eiga", "prva\ndruga", ""}));
    EXPECT_EQ(Members("Knj"), std::vector<std::string>{path});
    EXPECT_EQ(host_->listed, std::vector<std::string>{"+" + path});
    EXPECT_EQ(Setting("NewDFDir"), folder_);
    EXPECT_TRUE(messages_->Texts().empty());
}

TEST_F(DictionaryCommands, TheWizardReplacesAProtectedDictionaryOnlyWithItsPasswordAndWhole) {
    const std::string locked = Protected("z.vrk3", "Zaklenjen", "Geslo");
    ASSERT_TRUE(Open(locked)->StoreEntry("miza\x01stol"));
    MakeLibrary("Knj", {locked});
    const std::string before = ReadWholeFile(locked);
    host_->Select();
    SetFileDialogHook(
        [&](const TFileDialogRequest&) { return FilesChosen({QString::fromStdString(locked)}); });
    Password({});
    RunWizard(QStringLiteral("Nov"));
    EXPECT_EQ(messages_->Texts(),
              std::vector<QString>{texts::kReplaceRefused.arg(QStringLiteral("Zaklenjen"))});
    EXPECT_EQ(ReadWholeFile(locked), before);

    // With the password, while another program's long job holds the scratch
    // files: writing the data fails, and the dictionary stays as it was.
    messages_->Clear();
    const int fd = ::open((dir_ + "/temp/bf1.qbk").c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);
    {
        TLockTimeoutForTesting shortWait(std::chrono::milliseconds(100));
        RunWizard(QStringLiteral("Nov"), [](QWidget*) { Password(QStringLiteral("Geslo")); });
    }
    ::close(fd);
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kInfoWriteFailed});
    EXPECT_EQ(ReadWholeFile(locked), before);
    EXPECT_TRUE(host_->listed.empty());

    // Else the wizard replaces it (here protected, export off: flags 3),
    // still a member; a damaged file in the way needs no password.
    messages_->Clear();
    RunWizard(QStringLiteral("Zaščiten"), [](QWidget* page2) {
        Password(QStringLiteral("Geslo"));
        Click(page2, "exportCheck");
        Click(page2, "protectCheck");
        Type(page2, "passwordEdit", QStringLiteral("Tajno"));
    });
    const std::string damaged = folder_ + "/p.vrk3";
    WriteWholeFile(damaged, "Verbatrakon Datafile /3.0/ cut");
    SetFileDialogHook(
        [&](const TFileDialogRequest&) { return FilesChosen({QString::fromStdString(damaged)}); });
    RunWizard(QStringLiteral("Popravljen"));
    EXPECT_TRUE(messages_->Texts().empty());
    EXPECT_EQ(Flags(locked), 3);
    EXPECT_EQ(Headers(locked), (THeaders{"Za\x9A\xE8iten", "", "", "Tajno"}));
    EXPECT_EQ(Open(locked)->GetEntryCount(), 0);
    EXPECT_EQ(Headers(damaged)[0], "Popravljen");
    EXPECT_EQ(host_->listed, (std::vector<std::string>{"+" + locked, "+" + damaged}));
}

// A dictionary with two names cannot be remapped; the next one still is.
// What remapping changes in a dictionary is the engine's rule.
TEST_F(DictionaryCommands, RemappingKeepsToChangesAllowedAndThePasswordOneJobEach) {
    const std::string fixed = MakeDictionary("f.vrk3", "Stalen");
    ASSERT_TRUE(Open(fixed)->SetInfo("Stalen", "Avtor", "", "", 4));  // export only
    const std::string locked = Protected("z.vrk3", "Zaklenjen", "Geslo");
    const std::string linked = MakeDictionary("b.vrk3", "Brat");
    ASSERT_EQ(::link(linked.c_str(), (folder_ + "/b2.vrk3").c_str()), 0);
    const std::string mama = MakeDictionary("m.vrk3", "Mama");
    std::vector<std::string> before;
    for (const std::string& path : {fixed, locked, linked}) before.push_back(ReadWholeFile(path));
    host_->Select({fixed, locked, linked, mama});
    WhenDialog("remapLetterDlg", [=](QWidget* dialog) {
        Type(dialog, "fromEdit", QStringLiteral("a"));
        Type(dialog, "toEdit", QStringLiteral("o"));
        Click(dialog, "okButton");
    });
    Password({});
    dictionaries_->RemapLetters();
    EXPECT_EQ(messages_->Texts(),
              (std::vector<QString>{texts::kDictionaryKeepsAsItIs.arg(QStringLiteral("Stalen")),
                                    texts::kRemapRefused.arg(QStringLiteral("Zaklenjen")),
                                    texts::kRemapFailed}));
    EXPECT_EQ(ReadWholeFile(fixed), before[0]);
    EXPECT_EQ(ReadWholeFile(locked), before[1]);
    EXPECT_EQ(ReadWholeFile(linked), before[2]);
    EXPECT_EQ(Headers(mama)[0], "Momo");
}

// A typed password whose characters the file cannot hold is wrong, even
// where their stand-ins match the stored "??".
TEST_F(DictionaryCommands, TheDataDialogWantsTheRightPasswordAndStorableTexts) {
    const std::string path = Protected("z.vrk3", "Zaklenjen", "??");
    host_->Select({path});
    WhenDialog("passwordDlg", [&](QWidget* prompt) {
        EXPECT_EQ(Child<QLineEdit>(prompt, "passwordEdit")->echoMode(), QLineEdit::Password);
        Type(prompt, "passwordEdit", QStringLiteral("Ωλ"));
        WhenDialog("passwordDlg", [&](QWidget* again) {
            Type(again, "passwordEdit", QStringLiteral("??"));
            // A text Windows-1250 cannot hold is refused, each character
            // named once, and the dialog stays open.
            WhenDialog("dictDataDlg", [&](QWidget* data) {
                EXPECT_EQ(Child<QLineEdit>(data, "nameEdit")->text(), QStringLiteral("Zaklenjen"));
                Type(data, "nameEdit", QStringLiteral("Odklenjen"));
                Type(data, "authorEdit", QStringLiteral("Ελλάς"));
                Click(data, "okButton");
                EXPECT_TRUE(data->isVisible());
                Type(data, "authorEdit", QStringLiteral("Grčija"));
                Click(data, "okButton");
            });
            Click(again, "okButton");
        });
        Click(prompt, "okButton");
    });
    dictionaries_->ChangeDictionaryData();
    EXPECT_EQ(messages_->Texts(),
              (std::vector<QString>{texts::kWrongPassword,
                                    texts::kTextNotStorable.arg(QStringLiteral(
                                        "Ε (U+0395), λ (U+03BB), ά (U+03AC), ς (U+03C2)"))}));
    EXPECT_EQ(Headers(path), (THeaders{"Odklenjen", "Gr\xE8ija", "", "??"}));
    EXPECT_EQ(Flags(path), 7);
    EXPECT_EQ(host_->Selection().rows[0]->text(kColName), QStringLiteral("Odklenjen"));
}

TEST_F(DictionaryCommands, SecuritySettingsOfOneDictionaryAndOfThree) {
    const std::string path = MakeDictionary("a.vrk3", "Prvi");
    host_->Select({path});
    WhenDialog("securityDlg", [&](QWidget* dialog) {
        EXPECT_FALSE(Child<QLineEdit>(dialog, "passwordEdit")->isEnabled());
        Click(dialog, "protectCheck");
        Type(dialog, "passwordEdit", QStringLiteral("Čarovnija"));
        Click(dialog, "okButton");
    });
    dictionaries_->SecuritySettings();
    EXPECT_EQ(Flags(path), 7);
    EXPECT_EQ(Headers(path), (THeaders{"Prvi", "Avtor", "",
                                       "\xC8"
                                       "arovnija"}));

    // Each check box reads its own flag, and "V redu" without a change
    // writes them back as they were.
    for (const std::int32_t flags : {kFlagExport, kFlagChanges}) {
        SCOPED_TRACE(flags);
        ASSERT_TRUE(Open(path)->SetInfo("Prvi", "Avtor", "", "", flags));
        WhenDialog("securityDlg", [&](QWidget* dialog) {
            EXPECT_EQ(Checked(dialog, "exportCheck"), (flags & kFlagExport) != 0);
            EXPECT_EQ(Checked(dialog, "changesCheck"), (flags & kFlagChanges) != 0);
            EXPECT_FALSE(Checked(dialog, "protectCheck"));
            Click(dialog, "okButton");
        });
        dictionaries_->SecuritySettings();
        EXPECT_EQ(Flags(path), flags);
    }
    EXPECT_TRUE(messages_->Texts().empty());

    // For three, the protected one left locked.
    const std::string a = MakeDictionary("b.vrk3", "A");
    const std::string b = Protected("c.vrk3", "B", "x");
    const std::string c = MakeDictionary("d.vrk3", "C");
    host_->Select({a, b, c});
    WhenDialog("securityDlg", [&](QWidget* dialog) {
        EXPECT_TRUE(Checked(dialog, "changesCheck"));
        Click(dialog, "exportCheck");
        Password({});
        Click(dialog, "okButton");
    });
    dictionaries_->SecuritySettings();
    EXPECT_EQ(messages_->Texts(),
              std::vector<QString>{texts::kSecurityRefused.arg(QStringLiteral("B"))});
    EXPECT_EQ(Flags(a), 2);
    EXPECT_EQ(Flags(b), 7);
    EXPECT_EQ(Flags(c), 2);
}

// Without a picture of its own, the information window shows the built-in one.
TEST_F(DictionaryCommands, APictureGoesToEveryUnlockedDictionaryAndTheInformationShowsIt) {
    const std::string a = MakeDictionary("a.vrk3", "A");
    ASSERT_TRUE(Open(a)->SetInfo("A", "Avtor", "Opombe\r\nin druga vrstica", "", 6));
    const std::string b = Protected("b.vrk3", "B", "x");
    const std::string c = MakeDictionary("c.vrk3", "C");
    const std::string picture = folder_ + "/slika.bmp";
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(QString::fromStdString(picture), "BMP"));
    host_->Select({a, b, c});
    // A pipe is refused rather than read until it ends.
    const std::string pipe = folder_ + "/cev.bmp";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::string bytes;
    EXPECT_FALSE(ReadPictureFile(pipe, bytes));
    SetFileDialogHook([&](const TFileDialogRequest&) {
        return FilesChosen({QString::fromStdString(picture)}, QStringLiteral("/"));
    });
    Password({});
    dictionaries_->SetPicture();
    EXPECT_EQ(messages_->Texts(),
              std::vector<QString>{texts::kPictureRefused.arg(QStringLiteral("B"))});
    const auto size = static_cast<std::int32_t>(fs::file_size(picture));
    EXPECT_EQ(Open(a)->GetPictureSize(), size);
    EXPECT_EQ(Open(b)->GetPictureSize(), 0);
    EXPECT_EQ(Open(c)->GetPictureSize(), size);
    EXPECT_EQ(Setting("ImageDir"), "/");

    // A dictionary that cannot be read shows its name and author from the
    // list, no notes and the built-in picture.
    messages_->Clear();
    const std::string unreadable = MakeDictionary("d.vrk3", "D", "Bojan");
    for (const auto& [path, name, author, notes, own] :
         {std::tuple<std::string, QString, QString, QString, bool>{
              a, "A", "Avtor: Avtor", "Opombe\nin druga vrstica", true},
          {unreadable, "D", "Avtor: Bojan", "", false}}) {
        SCOPED_TRACE(name.toStdString());
        host_->Select({path});
        if (path == unreadable) WriteWholeFile(unreadable, "Verbatrakon Datafile /3.0/ cut");
        bool shown = false;
        WhenDialog("dictInfoDlg", [&](QWidget* info) {
            EXPECT_EQ(Child<QLabel>(info, "nameLabel")->text(), name);
            EXPECT_EQ(Child<QLabel>(info, "authorLabel")->text(), author);
            EXPECT_EQ(Child<QPlainTextEdit>(info, "notesEdit")->toPlainText(), notes);
            EXPECT_EQ(static_cast<CDictInfoDlg*>(info)->ShowsOwnPicture(), own);
            shown = true;
            static_cast<QDialog*>(info)->accept();
        });
        dictionaries_->DictionaryInfo();
        EXPECT_TRUE(shown);
    }
    EXPECT_TRUE(messages_->Texts().empty());
}

// A double click on a row opens the information window too.
TEST_F(DictionaryCommands, TheCommandTableRunsEachCommandOnTheSelection) {
    MakeLibrary("Knj", {MakeDictionary("a.vrk3", "A")});
    frame_ = StartFrame();
    SelectRows({QStringLiteral("A")});
    for (const auto& [command, window] :
         {std::pair<int, const char*>{id::kChangeData, "dictDataDlg"},
          {id::kSecurity, "securityDlg"},
          {id::kRemapLetters, "remapLetterDlg"},
          {id::kNewDictionary, "newDictPage1"},
          {id::kDictionaryInfo, "dictInfoDlg"},
          {0, "dictInfoDlg"}}) {
        QString shown;
        WhenDialog(window, [&](QWidget* dialog) {
            shown = dialog->objectName();
            static_cast<QDialog*>(dialog)->reject();
        });
        if (command)
            Run(command);
        else
            QTest::mouseDClick(View()->List()->viewport(), Qt::LeftButton, {},
                               Centre(Row(QStringLiteral("A"))));
        EXPECT_EQ(shown, QString::fromLatin1(window));
    }
    QString asked;
    SetFileDialogHook([&](const TFileDialogRequest& request) {
        asked = request.fileName;
        return TFileDialogResult{};
    });
    Run(id::kSetPicture);
    EXPECT_EQ(asked, QStringLiteral("*.bmp"));
    EXPECT_TRUE(messages_->Texts().empty());
}

}  // namespace
}  // namespace vrk
