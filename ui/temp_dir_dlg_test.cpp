#include "ui/temp_dir_dlg.h"

#include <sys/stat.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <utility>

#include "settings/settings_store.h"
#include "settings/temp_dir.h"
#include "ui/directory_dlg.h"
#include "ui/help.h"
#include "ui/test_ui.h"
#include "ui/ui_texts.h"

namespace vrk {
namespace {

class TempDirDlgTest : public TUiTest {
  protected:
    QTemporaryDir tmp_;
    // No folder can be used: nothing is set, the cache folder is below a file.
    void BlockCacheFolder() {
        WriteWholeFile(tmp_.filePath("file").toStdString(), "");
        setenv("XDG_CACHE_HOME", tmp_.filePath("file/cache").toLocal8Bit().constData(), 1);
    }
};

// Without a usable folder the user must choose (no "Prekliči", Escape does
// not dodge it); "V redu" creates and stores it, so nothing is asked again.
TEST_F(TempDirDlgTest, AsksOnlyWhenNoFolderCanBeUsedAndThenOffersNoCancel) {
    std::string dir;
    ASSERT_TRUE(AskBackupDir(nullptr, dir));
    EXPECT_EQ(dir, dir_ + "/cache/vrk3");
    // A directory the caller keeps is used as it is; one looked up is kept.
    TScratchSet paths;
    std::string known;
    ASSERT_TRUE(GetBackupPaths(nullptr, kManagerScratch, paths, &known));
    EXPECT_EQ(dir + "/bf3.qbk", paths.output);
    known = "/elsewhere";
    ASSERT_TRUE(GetBackupPaths(nullptr, kFinderScratch, paths, &known));
    EXPECT_EQ(paths.replacements, "/elsewhere/srchbkp1.qsr");

    BlockCacheFolder();
    // The folder below the program is only suggested; a missing one is chosen.
    const QString chosen = tmp_.filePath("Temp");
    WhenModal([&](QWidget* modal) {
        EXPECT_EQ(static_cast<CTempDirDlg*>(modal)->Directory(),
                  QCoreApplication::applicationDirPath() + "/Temp");
        EXPECT_TRUE(Child<QPushButton>(modal, "cancelButton")->isHidden());
        QApplication::setActiveWindow(modal);
        QTest::keyClick(modal, Qt::Key_Escape);
        EXPECT_TRUE(modal->isVisible());
        QTest::keyClick(modal, Qt::Key_F1);
        Child<QLineEdit>(modal, "directoryEdit")->setText(chosen);
        Child<QPushButton>(modal, "okButton")->click();
    });
    ASSERT_TRUE(AskBackupDir(nullptr, dir));
    EXPECT_EQ(dir, chosen.toStdString());
    EXPECT_EQ(helpContexts_, std::vector<int>{help::kTempDir});
    dir.clear();
    ASSERT_TRUE(AskBackupDir(nullptr, dir));  // no dialog this time
    EXPECT_EQ(dir, chosen.toStdString());
}

// "Spremeni" opens the folder chooser with the dialog's Slovene texts; what
// it gives is stored on "V redu", its name in the file system's bytes.
TEST_F(TempDirDlgTest, ChangeTypesIntoTheChooserAndOkStoresTheDirectory) {
    ASSERT_TRUE(TWriteBackupDir(tmp_.path().toStdString()));
    CTempDirDlg dialog;
    EXPECT_EQ(dialog.Directory(), tmp_.path());
    const QString wanted = tmp_.filePath("začasno/vrk");
    messages_->Answer(TMsgAnswer::kYes);  // create the missing directory
    WhenModal([&](QWidget* chooser) {
        EXPECT_EQ(chooser->windowTitle(), QStringLiteral("Izberi Imenik"));
        ExpectLaidOut(chooser, "folder chooser");
        ExpectFilledInByKeys(chooser);
        auto* field = Child<QLineEdit>(chooser, "pathEdit");
        field->clear();
        TypeText(field, wanted);
        Child<QPushButton>(chooser, "okButton")->click();
    });
    Child<QPushButton>(&dialog, "changeButton")->click();
    EXPECT_EQ(dialog.Directory(), wanted);
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{"Izbrani imenik ne obstaja. Ga ustvarim?"});
    Child<QPushButton>(&dialog, "okButton")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    std::string stored;
    ASSERT_TRUE(TReadBackupDir(stored));
    EXPECT_EQ(QString::fromStdString(stored), wanted);
}

// A user who may not store anything still gets the folder chosen.
TEST_F(TempDirDlgTest, ChoiceThatCannotBeStoredIsUsed) {
    CloseSettingsStore();
    const QString blocked = tmp_.filePath("store");
    WriteWholeFile(blocked.toStdString(), "");
    setenv("VRK3_SETTINGS_DIR", blocked.toLocal8Bit().constData(), 1);
    BlockCacheFolder();

    WhenModal([&](QWidget* first) {
        Child<QLineEdit>(first, "directoryEdit")->setText(tmp_.path());
        Child<QPushButton>(first, "okButton")->click();
    });
    std::string dir;
    EXPECT_TRUE(AskBackupDir(nullptr, dir));
    EXPECT_EQ(dir, tmp_.path().toStdString());
    ASSERT_EQ(messages_->Shown().size(), 1u);
    EXPECT_EQ(messages_->Shown()[0].icon, TMsgIcon::kError);
    setenv("VRK3_SETTINGS_DIR", dir_.c_str(), 1);
    CloseSettingsStore();
}

// A folder every user may write, without the sticky bit, is refused with the
// reason and not stored.
TEST_F(TempDirDlgTest, OkRefusesAFolderTheScratchFilesCannotUseAndSaysWhy) {
    const QString open = tmp_.filePath("odprt");
    ASSERT_TRUE(QDir().mkpath(open));
    ASSERT_EQ(chmod(open.toLocal8Bit().constData(), 0777), 0);
    // A path the stored setting could not be read back with.
    QString deep = tmp_.path();
    while (deep.toUtf8().size() < 270) deep += "/" + QString(40, QLatin1Char('d'));
    ASSERT_TRUE(QDir().mkpath(deep));
    for (const auto& [folder, reason] :
         {std::pair<QString, QString>{open, texts::kTempDirSharedNoSticky},
          std::pair<QString, QString>{deep, texts::kTempDirTooLong}}) {
        messages_->Clear();
        CTempDirDlg dialog;
        dialog.show();
        Child<QLineEdit>(&dialog, "directoryEdit")->setText(folder);
        Child<QPushButton>(&dialog, "okButton")->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(messages_->Texts(),
                  std::vector<QString>{texts::kTempDirUnusable.arg(folder, reason)});
    }
    std::string stored;
    EXPECT_FALSE(TReadUserBackupDir(stored));
    // A stored choice that cannot serve: the dialog shows the folder used instead.
    ASSERT_TRUE(TWriteBackupDir(open.toStdString()));
    EXPECT_EQ(CTempDirDlg().Directory().toStdString(), dir_ + "/cache/vrk3");
}

}  // namespace
}  // namespace vrk
