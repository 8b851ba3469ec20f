// The header-data commands: the new-dictionary wizard, the information
// window, the data dialog with its password prompt, the security settings
// for one and for several dictionaries, and the picture.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "manager/manager_ids.h"
#include "manager/manager_test_util.h"
#include "manager/manager_texts.h"
#include "manager/picture_file.h"
#include "manager/security_dlg.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "store/data_file.h"
#include "store/file_io.h"
#include "ui/dict_info_dlg.h"
#include "ui/ui_texts.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;

// Most cases run the commands on a fake view (host_, dictionaries_); the
// wizard's listing, the information window and the command table run on
// the frame.
class DictionaryCommands : public TManagerTest {
  protected:
    // Header record 10 (name), 11 (author), 12 (notes) or 13 (password).
    std::string Header(const std::string& path, int record) {
        auto file = Open(path);
        std::string text;
        EXPECT_TRUE(record == 10   ? file->GetName(text)
                    : record == 11 ? file->GetAuthor(text)
                    : record == 12 ? file->GetNotes(text)
                                   : file->GetPassword(text));
        return text;
    }
    std::int32_t Flags(const std::string& path) { return Open(path)->GetFlags(); }
    // A dictionary with these security settings.
    std::string Protected(const std::string& file, std::string_view name,
                          std::string_view password) {
        const std::string path = MakeDictionary(file, name);
        EXPECT_TRUE(Open(path)->SetInfo(name, "Avtor", "", password, 7));
        return path;
    }
    static bool Checked(QWidget* window, const char* name) {
        return Child<QCheckBox>(window, name)->isChecked();
    }
    // Runs the wizard on the fake view with this name and the other
    // settings as they come; `beforeSave` runs on page 2 before "Shrani".
    void RunWizard(const QString& name, std::function<void()> beforeSave = {}) {
        WhenDialog("newDictPage1", [=](QWidget* page1) {
            Type(page1, "nameEdit", name);
            WhenDialog("newDictPage2", [=](QWidget* page2) {
                if (beforeSave) beforeSave();
                Click(page2, "saveButton");
            });
            Click(page1, "nextButton");
        });
        dictionaries_->NewDictionary();
    }
    void RemapDialog(const QString& from, const QString& to) {
        WhenDialog("remapLetterDlg", [=](QWidget* dialog) {
            Type(dialog, "fromEdit", from);
            Type(dialog, "toEdit", to);
            Click(dialog, "okButton");
        });
    }
    static void Password(const QString& typed) {
        WhenDialog("passwordDlg", [=](QWidget* prompt) {
            if (typed.isEmpty()) {
                Click(prompt, "cancelButton");
                return;
            }
            Type(prompt, "passwordEdit", typed);
            Click(prompt, "okButton");
        });
    }
};

TEST_F(DictionaryCommands, TheWizardKeepsItsPagesAndCreatesRegistersAndListsTheDictionary) {
    MakeLibrary("Knj");
    frame_ = StartFrame();
    const std::string path = folder_ + "/nov.vrk3";
    TFileDialogRequest asked;
    SetFileDialogHook([&](const TFileDialogRequest& request) {
        asked = request;
        return FilesChosen({QString::fromStdString(path)});
    });
    WhenDialog("newDictPage1", [&](QWidget* page1) {
        EXPECT_EQ(page1->windowTitle(), QStringLiteral("Nov Slovar (1/2)"));
        EXPECT_FALSE(Child<QAbstractButton>(page1, "backButton")->isEnabled());
        Type(page1, "nameEdit", QStringLiteral("Moj slovar"));
        Type(page1, "authorEdit", QStringLiteral("Žiga"));
        Type(page1, "notesEdit", QStringLiteral("prva\ndruga"));
        WhenDialog("newDictPage2", [&](QWidget* page2) {
            EXPECT_TRUE(Checked(page2, "exportCheck"));
            EXPECT_TRUE(Checked(page2, "changesCheck"));
            EXPECT_FALSE(Checked(page2, "protectCheck"));
            EXPECT_FALSE(Child<QLineEdit>(page2, "passwordEdit")->isEnabled());
            // A password typed and protection switched off again: empty.
            Click(page2, "protectCheck");
            Type(page2, "passwordEdit", QStringLiteral("skrito"));
            Click(page2, "protectCheck");
            EXPECT_TRUE(Child<QLineEdit>(page2, "passwordEdit")->text().isEmpty());
            WhenDialog("newDictPage1", [&](QWidget* again) {
                EXPECT_EQ(Child<QLineEdit>(again, "nameEdit")->text(),
                          QStringLiteral("Moj slovar"));
                EXPECT_EQ(Child<QPlainTextEdit>(again, "notesEdit")->toPlainText(),
                          QStringLiteral("prva\ndruga"));
                EXPECT_TRUE(Child<QPushButton>(again, "nextButton")->isDefault());
                WhenDialog("newDictPage2", [&](QWidget* second) {
                    // After going back and forth Enter still saves, and
                    // "< Nazaj" stands just left of "Shrani".
                    auto* back = Child<QPushButton>(second, "backButton");
                    auto* save = Child<QPushButton>(second, "saveButton");
                    EXPECT_TRUE(save->isDefault());
                    EXPECT_FALSE(back->isDefault());
                    EXPECT_LT(back->geometry().right(), save->geometry().left());
                    EXPECT_LT(save->geometry().left() - back->geometry().right(), 20);
                    EXPECT_FALSE(Checked(second, "protectCheck"));
                    EXPECT_TRUE(Checked(second, "exportCheck"));
                    Click(second, "saveButton");
                });
                Click(again, "nextButton");
            });
            Click(page2, "backButton");
        });
        Click(page1, "nextButton");
    });
    Run(id::kNewDictionary);

    EXPECT_TRUE(asked.save);
    EXPECT_TRUE(asked.confirmOverwrite);
    EXPECT_EQ(asked.defaultSuffix, QStringLiteral("vrk3"));
    EXPECT_EQ(asked.fileName, QStringLiteral("*.vrk3"));
    EXPECT_EQ(Flags(path), 6);
    EXPECT_EQ(Header(path, 10), "Moj slovar");
    EXPECT_EQ(Header(path, 11), "\x8Eiga");
    EXPECT_EQ(Header(path, 12), "prva\ndruga");
    EXPECT_EQ(Header(path, 13), "");
    EXPECT_EQ(Members("Knj"), std::vector<std::string>{path});
    QTreeWidgetItem* row = Row(QStringLiteral("Moj slovar"));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->text(kColCount), QStringLiteral("0"));
    EXPECT_EQ(row->text(kColAuthor), QStringLiteral("Žiga"));
    EXPECT_EQ(View()->Selection().rows, std::vector<QTreeWidgetItem*>{row});
    EXPECT_EQ(Setting("NewDFDir"), folder_);

    // Protection on and export off: flags 3 and the password; the file
    // chosen again replaces the first and keeps one row. Each page refuses
    // a text Windows-1250 cannot hold and stays.
    EXPECT_TRUE(messages_->Texts().empty());
    WhenDialog("newDictPage1", [&](QWidget* page1) {
        Type(page1, "nameEdit", QStringLiteral("Zaščiten"));
        Type(page1, "notesEdit", QStringLiteral("Ω"));
        Click(page1, "nextButton");
        EXPECT_TRUE(page1->isVisible());
        Type(page1, "notesEdit", QString());
        WhenDialog("newDictPage2", [&](QWidget* page2) {
            Click(page2, "exportCheck");
            Click(page2, "protectCheck");
            Type(page2, "passwordEdit", QStringLiteral("Ω"));
            Click(page2, "saveButton");
            EXPECT_TRUE(page2->isVisible());
            Type(page2, "passwordEdit", QStringLiteral("Tajno"));
            Click(page2, "saveButton");
        });
        Click(page1, "nextButton");
    });
    Run(id::kNewDictionary);
    EXPECT_EQ(Flags(path), 3);
    EXPECT_EQ(Header(path, 13), "Tajno");
    EXPECT_EQ(ListNames(), QStringList{QStringLiteral("Zaščiten")});
    EXPECT_EQ(messages_->Texts(),
              std::vector<QString>(2, ::texts::kTextNotStorable.arg(QStringLiteral("Ω (U+03A9)"))));
}

TEST_F(DictionaryCommands, TheWizardReplacesAProtectedDictionaryOnlyWithItsPasswordAndWhole) {
    const std::string locked = Protected("z.vrk3", "Zaklenjen", "Geslo");
    ASSERT_TRUE(Open(locked)->StoreEntry("miza\x01stol"));
    MakeLibrary("Knj", {locked});
    WriteFileBytes(folder_ + "/t.csv", "okno,steklo\r\n");
    const std::string before = ReadFileBytes(locked);
    host_->Select();
    SetFileDialogHook(
        [&](const TFileDialogRequest&) { return FilesChosen({QString::fromStdString(locked)}); });
    Password({});
    RunWizard(QStringLiteral("Nov"));
    // An import onto it, after the question for a name typed by hand.
    messages_->Answer(TMsgAnswer::kYes);
    WhenDialog("importDlg", [&](QWidget* dialog) {
        Type(dialog, "existingEdit", QString::fromStdString(folder_ + "/t.csv"));
        Type(dialog, "newEdit", QString::fromStdString(locked));
        Password({});
        Click(dialog, "okButton");
    });
    dictionaries_->Import();
    const QString refused = ::texts::kReplaceRefused.arg(QStringLiteral("Zaklenjen"));
    EXPECT_EQ(messages_->Texts(),
              (std::vector<QString>{refused, vrk::texts::kFileReplace.arg(QStringLiteral("z.vrk3")),
                                    refused}));
    EXPECT_EQ(ReadFileBytes(locked), before);

    // With the password, while another program's long job holds the scratch
    // files: writing the data fails, and the dictionary stays as it was.
    messages_->Clear();
    const int fd = ::open((dir_ + "/temp/bf1.qbk").c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);
    {
        TLockTimeoutForTesting shortWait(std::chrono::milliseconds(100));
        RunWizard(QStringLiteral("Nov"), [] { Password(QStringLiteral("Geslo")); });
    }
    ::close(fd);
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{::texts::kInfoWriteFailed});
    EXPECT_EQ(ReadFileBytes(locked), before);
    EXPECT_EQ(FolderFiles(), (std::vector<std::string>{"t.csv", "z.vrk3"}));
    EXPECT_TRUE(host_->listed.empty());

    // Else the wizard replaces it.
    messages_->Clear();
    RunWizard(QStringLiteral("Nov"), [] { Password(QStringLiteral("Geslo")); });
    EXPECT_TRUE(messages_->Texts().empty());
    EXPECT_EQ(Flags(locked), 6);
    EXPECT_EQ(Header(locked, 10), "Nov");
    EXPECT_EQ(Open(locked)->GetEntryCount(), 0);
    EXPECT_EQ(host_->listed, std::vector<std::string>{"+" + locked});
}

TEST_F(DictionaryCommands, RemappingAsksForThePasswordAndKeepsToChangesAllowed) {
    const std::string locked = Protected("z.vrk3", "Zaklenjen", "Geslo");
    const std::string fixed = MakeDictionary("f.vrk3", "Stalen");
    ASSERT_TRUE(Open(fixed)->SetInfo("Stalen", "Avtor", "", "", 4));  // export only
    const std::string lockedBefore = ReadFileBytes(locked), fixedBefore = ReadFileBytes(fixed);
    host_->Select({fixed, locked});
    RemapDialog(QStringLiteral("a"), QStringLiteral("o"));
    Password({});
    dictionaries_->RemapLetters();
    EXPECT_EQ(messages_->Texts(),
              (std::vector<QString>{::texts::kChangesNotAllowed.arg(QStringLiteral("Stalen")),
                                    ::texts::kRemapRefused.arg(QStringLiteral("Zaklenjen"))}));
    EXPECT_EQ(ReadFileBytes(locked), lockedBefore);
    EXPECT_EQ(ReadFileBytes(fixed), fixedBefore);

    messages_->Clear();
    host_->Select({locked});
    RemapDialog(QStringLiteral("a"), QStringLiteral("o"));
    Password(QStringLiteral("Geslo"));
    dictionaries_->RemapLetters();
    EXPECT_TRUE(messages_->Texts().empty());
    EXPECT_EQ(Header(locked, 10), "Zoklenjen");
    EXPECT_EQ(Header(locked, 13), "Geslo");
    EXPECT_EQ(Flags(locked), 7);
}

TEST_F(DictionaryCommands, TheDataDialogAsksForThePasswordUntilItIsRightOrGivenUp) {
    const std::string path = Protected("z.vrk3", "Zaklenjen", "Geslo");
    host_->Select({path});
    WhenDialog("passwordDlg", [&](QWidget* prompt) {
        EXPECT_EQ(Child<QLabel>(prompt, "instruction")->text(),
                  QStringLiteral("Prosim, vpišite geslo za sledeči slovar:\n\"Zaklenjen\""));
        EXPECT_EQ(Child<QLineEdit>(prompt, "passwordEdit")->echoMode(), QLineEdit::Password);
        Type(prompt, "passwordEdit", QStringLiteral("geslo"));  // case matters
        WhenDialog("passwordDlg", [&](QWidget* again) {
            EXPECT_EQ(Child<QLineEdit>(again, "passwordEdit")->text(), QStringLiteral("geslo"));
            Type(again, "passwordEdit", QStringLiteral("Geslo"));
            WhenDialog("dictDataDlg", [&](QWidget* data) {
                EXPECT_EQ(Child<QLineEdit>(data, "nameEdit")->text(), QStringLiteral("Zaklenjen"));
                Type(data, "nameEdit", QStringLiteral("Odklenjen"));
                Type(data, "authorEdit", QStringLiteral("Nov avtor"));
                Click(data, "okButton");
            });
            Click(again, "okButton");
        });
        Click(prompt, "okButton");
    });
    dictionaries_->ChangeDictionaryData();
    ASSERT_EQ(messages_->Shown().size(), 1u);
    EXPECT_EQ(messages_->Shown()[0].text, ::texts::kWrongPassword);
    EXPECT_EQ(messages_->Shown()[0].icon, TMsgIcon::kWarning);
    EXPECT_EQ(Header(path, 10), "Odklenjen");
    EXPECT_EQ(Header(path, 11), "Nov avtor");
    EXPECT_EQ(Header(path, 13), "Geslo");
    EXPECT_EQ(Flags(path), 7);
    EXPECT_EQ(host_->SelectedRow(0)->text(kColName), QStringLiteral("Odklenjen"));

    messages_->Clear();
    WhenDialog("passwordDlg", [&](QWidget* prompt) { Click(prompt, "cancelButton"); });
    dictionaries_->ChangeDictionaryData();
    EXPECT_EQ(messages_->Texts(),
              std::vector<QString>{::texts::kDataRefused.arg(QStringLiteral("Odklenjen"))});
    EXPECT_EQ(messages_->Shown()[0].icon, TMsgIcon::kNone);
}

TEST_F(DictionaryCommands, TextsWindows1250CannotHoldAreRefusedNamingTheirCharacters) {
    const std::string path = MakeDictionary("a.vrk3", "Prvi");
    host_->Select({path});
    // The dialog stays open, each character named once.
    WhenDialog("dictDataDlg", [&](QWidget* data) {
        Type(data, "authorEdit", QStringLiteral("Ελλάς"));
        Click(data, "okButton");
        EXPECT_TRUE(data->isVisible());
        Type(data, "authorEdit", QStringLiteral("Grčija"));
        Click(data, "okButton");
    });
    dictionaries_->ChangeDictionaryData();
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{::texts::kTextNotStorable.arg(QStringLiteral(
                                      "Ε (U+0395), λ (U+03BB), ά (U+03AC), ς (U+03C2)"))});
    EXPECT_EQ(Header(path, 11), "Gr\xE8ija");

    // The password likewise.
    messages_->Clear();
    WhenDialog("securityDlg", [&](QWidget* dialog) {
        Click(dialog, "protectCheck");
        Type(dialog, "passwordEdit", QStringLiteral("Ωmega"));
        Click(dialog, "okButton");
        EXPECT_TRUE(dialog->isVisible());
        Click(dialog, "cancelButton");
    });
    dictionaries_->SecuritySettings();
    EXPECT_EQ(messages_->Texts(),
              std::vector<QString>{::texts::kTextNotStorable.arg(QStringLiteral("Ω (U+03A9)"))});
    EXPECT_EQ(Flags(path), 6);

    // A typed password whose characters the file cannot hold is wrong,
    // even where their stand-ins would match.
    ASSERT_TRUE(Open(path)->SetInfo("Prvi", "Avtor", "", "??", 7));
    messages_->Clear();
    QString next;
    WhenDialog("passwordDlg", [&](QWidget* prompt) {
        Type(prompt, "passwordEdit", QStringLiteral("Ωλ"));
        WhenModal([&](QWidget* modal) {
            next = modal->objectName();
            Click(modal, "cancelButton");
        });
        Click(prompt, "okButton");
    });
    dictionaries_->ChangeDictionaryData();
    EXPECT_EQ(next, QStringLiteral("passwordDlg"));
    EXPECT_EQ(Header(path, 11), "Avtor");
}

TEST_F(DictionaryCommands, SecuritySettingsOfOneDictionaryAndOfThree) {
    const std::string path = MakeDictionary("a.vrk3", "Prvi");
    host_->Select({path});
    WhenDialog("securityDlg", [&](QWidget* dialog) {
        EXPECT_TRUE(Checked(dialog, "exportCheck"));
        EXPECT_TRUE(Checked(dialog, "changesCheck"));
        EXPECT_FALSE(Checked(dialog, "protectCheck"));
        EXPECT_FALSE(Child<QLineEdit>(dialog, "passwordEdit")->isEnabled());
        Click(dialog, "protectCheck");
        Type(dialog, "passwordEdit", QStringLiteral("Čarovnija"));
        Click(dialog, "okButton");
    });
    dictionaries_->SecuritySettings();
    EXPECT_EQ(Flags(path), 7);
    EXPECT_EQ(Header(path, 13),
              "\xC8"
              "arovnija");
    EXPECT_EQ(Header(path, 10), "Prvi");

    // Unlocked, the password shows as stored; protection off empties it.
    WhenDialog("passwordDlg", [&](QWidget* prompt) {
        Type(prompt, "passwordEdit", QStringLiteral("Čarovnija"));
        WhenDialog("securityDlg", [&](QWidget* dialog) {
            EXPECT_EQ(Child<QLineEdit>(dialog, "passwordEdit")->text(),
                      QStringLiteral("Čarovnija"));
            Click(dialog, "protectCheck");
            Click(dialog, "changesCheck");
            Click(dialog, "okButton");
        });
        Click(prompt, "okButton");
    });
    dictionaries_->SecuritySettings();
    EXPECT_EQ(Flags(path), 4);
    EXPECT_EQ(Header(path, 13), "");

    // Export and changes read each from its own flag, and "V redu" without a
    // change writes them back as they were.
    for (const std::int32_t flags : {kFlagExport, kFlagChanges}) {
        SCOPED_TRACE(flags);
        ASSERT_TRUE(Open(path)->SetInfo("Prvi", "Avtor", "", "", flags));
        WhenDialog("securityDlg", [&](QWidget* dialog) {
            EXPECT_EQ(Checked(dialog, "exportCheck"), flags == kFlagExport);
            EXPECT_EQ(Checked(dialog, "changesCheck"), flags == kFlagChanges);
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
        EXPECT_TRUE(Checked(dialog, "exportCheck"));
        EXPECT_TRUE(Checked(dialog, "changesCheck"));
        EXPECT_FALSE(Checked(dialog, "protectCheck"));
        Click(dialog, "exportCheck");
        WhenDialog("passwordDlg", [&](QWidget* prompt) { Click(prompt, "cancelButton"); });
        Click(dialog, "okButton");
    });
    dictionaries_->SecuritySettings();
    EXPECT_EQ(messages_->Texts(),
              std::vector<QString>{::texts::kSecurityRefused.arg(QStringLiteral("B"))});
    EXPECT_EQ(Flags(a), 2);
    EXPECT_EQ(Flags(b), 7);
    EXPECT_EQ(Header(b, 13), "x");
    EXPECT_EQ(Flags(c), 2);
    EXPECT_EQ(Header(c, 10), "C");
}

TEST_F(DictionaryCommands, APictureGoesToEverySelectedDictionaryThatIsUnlocked) {
    const std::string a = MakeDictionary("a.vrk3", "A");
    const std::string b = Protected("b.vrk3", "B", "x");
    const std::string c = MakeDictionary("c.vrk3", "C");
    MakeLibrary("Knj", {a, b, c});
    const std::string picture = folder_ + "/slika.bmp";
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(QString::fromStdString(picture), "BMP"));
    host_->Select({a, b, c});
    // A file no dictionary can hold changes nothing: larger than a picture
    // length can say (without taking the disk), a pipe, a folder, none.
    const std::string huge = folder_ + "/velika.bmp";
    const int fd = ::open(huge.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(kMaxPictureBytes) + 1), 0);
    ::close(fd);
    const std::string pipe = folder_ + "/cev.bmp";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& file : {huge, pipe, folder_, folder_ + "/ni.bmp"}) {
        messages_->Clear();
        SetFileDialogHook(
            [&](const TFileDialogRequest&) { return FilesChosen({QString::fromStdString(file)}); });
        dictionaries_->SetPicture();
        EXPECT_EQ(messages_->Texts(), std::vector<QString>{::texts::kCannotOpenFile}) << file;
        EXPECT_EQ(messages_->Shown()[0].icon, TMsgIcon::kError);
    }
    EXPECT_EQ(Open(a)->GetPictureSize(), 0);
    std::string bytes;
    WriteFileBytes(folder_ + "/mala.bmp", std::string("BM\0\x01", 4));
    EXPECT_TRUE(ReadPictureFile(folder_ + "/mala.bmp", bytes));
    EXPECT_EQ(bytes, std::string("BM\0\x01", 4));

    messages_->Clear();
    TFileDialogRequest asked;
    SetFileDialogHook([&](const TFileDialogRequest& request) {
        asked = request;
        return FilesChosen({QString::fromStdString(picture)});
    });
    WhenDialog("passwordDlg", [&](QWidget* prompt) { Click(prompt, "cancelButton"); });
    dictionaries_->SetPicture();
    EXPECT_EQ(asked.fileName, QStringLiteral("*.bmp"));
    EXPECT_EQ(messages_->Texts(),
              std::vector<QString>{::texts::kPictureRefused.arg(QStringLiteral("B"))});
    const auto size = static_cast<std::int32_t>(fs::file_size(picture));
    EXPECT_EQ(Open(a)->GetPictureSize(), size);
    EXPECT_EQ(Open(b)->GetPictureSize(), 0);
    EXPECT_EQ(Open(c)->GetPictureSize(), size);

    // The information window, opened by a double click in the list, shows
    // it, and the file written for it is gone.
    frame_ = StartFrame();
    SelectRows({QStringLiteral("A")});
    bool shown = false;
    WhenDialog("dictInfoDlg", [&](QWidget* info) {
        shown = static_cast<CDictInfoDlg*>(info)->ShowsOwnPicture();
        static_cast<QDialog*>(info)->accept();
    });
    QTest::mouseDClick(View()->List()->viewport(), Qt::LeftButton, {},
                       Centre(Row(QStringLiteral("A"))));
    EXPECT_TRUE(shown);
    EXPECT_FALSE(fs::exists(dir_ + "/temp/dfi.qtf"));
}

// Without a picture the built-in one is shown; a dictionary that cannot be
// read still shows its name and author from the list, with no notes.
TEST_F(DictionaryCommands, TheInformationWindowWithoutAPictureAndForAnUnreadableDictionary) {
    const std::string a = MakeDictionary("a.vrk3", "A");
    ASSERT_TRUE(Open(a)->SetInfo("A", "Avtor", "Opombe\r\nin druga vrstica", "", 6));
    const std::string b = MakeDictionary("b.vrk3", "B", "Bojan");
    MakeLibrary("Knj", {a, b});
    frame_ = StartFrame();
    WriteFileBytes(b, "Verbatrakon Datafile /3.0/ cut");
    int shown = 0;
    for (const auto& [name, author, notes] :
         {std::tuple<QString, QString, QString>{"A", "Avtor: Avtor", "Opombe\nin druga vrstica"},
          {"B", "Avtor: Bojan", ""}}) {
        SCOPED_TRACE(name.toStdString());
        View()->List()->clearSelection();
        SelectRows({name});
        WhenDialog("dictInfoDlg", [&](QWidget* info) {
            EXPECT_EQ(Child<QLabel>(info, "nameLabel")->text(), name);
            EXPECT_EQ(Child<QLabel>(info, "authorLabel")->text(), author);
            EXPECT_EQ(Child<QPlainTextEdit>(info, "notesEdit")->toPlainText(), notes);
            EXPECT_FALSE(static_cast<CDictInfoDlg*>(info)->ShowsOwnPicture());
            EXPECT_FALSE(Child<QLabel>(info, "pictureFrame")->pixmap().isNull());
            ++shown;
            static_cast<QDialog*>(info)->accept();
        });
        Run(id::kDictionaryInfo);
    }
    EXPECT_EQ(shown, 2);
    EXPECT_TRUE(messages_->Texts().empty());
    EXPECT_FALSE(fs::exists(dir_ + "/temp/dfi.qtf"));
}

// The frame's command table reaches each command the fake view runs: the
// window it opens first.
TEST_F(DictionaryCommands, TheCommandTableRunsEachCommandOnTheSelection) {
    MakeLibrary("Knj", {MakeDictionary("a.vrk3", "A")});
    frame_ = StartFrame();
    SelectRows({QStringLiteral("A")});
    for (const auto& [command, window] :
         {std::pair<int, const char*>{id::kChangeData, "dictDataDlg"},
          {id::kSecurity, "securityDlg"},
          {id::kRemapLetters, "remapLetterDlg"},
          {id::kImport, "importDlg"}}) {
        QString shown;
        WhenDialog(window, [&](QWidget* dialog) {
            shown = dialog->objectName();
            static_cast<QDialog*>(dialog)->reject();
        });
        Run(command);
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
