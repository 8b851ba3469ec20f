#include "ui/directory_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include "ui/test_ui.h"

namespace vrk {
namespace {

constexpr unsigned kTypeAndCreate = CTDirectoryDlg::kEditablePath | CTDirectoryDlg::kCreateMissing;

class DirectoryDlgTest : public TUiTest {
  protected:
    QTemporaryDir tmp_;
    QString Path(const QString& relative) const { return tmp_.filePath(relative); }
    void MakeDirs(std::initializer_list<const char*> names) {
        for (const char* name : names) ASSERT_TRUE(QDir().mkpath(Path(name)));
    }
    static QStringList Rows(const CTDirectoryDlg& dialog) {
        QStringList rows;
        auto* list = Child<QListWidget>(&dialog, "directoryList");
        for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
        return rows;
    }
    static void Activate(CTDirectoryDlg& dialog, int row) {
        auto* list = Child<QListWidget>(&dialog, "directoryList");
        emit list->itemActivated(list->item(row));
    }
};

TEST_F(DirectoryDlgTest, OpensAtDeepestExistingAncestorAndCreatesMissingLevelsOnYes) {
    const QString wanted = Path("nov/imenik");
    CTDirectoryDlg dialog(wanted, kTypeAndCreate);
    EXPECT_EQ(dialog.ShownPath(), tmp_.path());
    EXPECT_EQ(Child<QLineEdit>(&dialog, "pathEdit")->text(), wanted);

    dialog.SetMessages("ni pogona", "Ustvarim?", "ne gre");
    messages_->Answer(TMsgAnswer::kNo);
    Child<QPushButton>(&dialog, "okButton")->click();
    EXPECT_NE(dialog.result(), QDialog::Accepted);  // No leaves the dialog open
    EXPECT_FALSE(QFileInfo::exists(wanted));

    messages_->Answer(TMsgAnswer::kYes);
    Child<QPushButton>(&dialog, "okButton")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(QFileInfo(wanted).isDir());
    EXPECT_EQ(dialog.GetPath(), wanted);
    ASSERT_EQ(messages_->Shown().size(), 2u);
    EXPECT_EQ(messages_->Shown()[0].text, QStringLiteral("Ustvarim?"));
    EXPECT_EQ(messages_->Shown()[0].icon, TMsgIcon::kQuestion);

    // One that cannot be created (below a file) keeps the dialog open.
    messages_->Clear();
    WriteWholeFile(Path("datoteka").toStdString(), "x");
    CTDirectoryDlg below(Path("datoteka/pod"), kTypeAndCreate);
    below.SetMessages("", "Ustvarim?", "Imenika ni mogoče ustvariti");
    messages_->Answer(TMsgAnswer::kYes);
    Child<QPushButton>(&below, "okButton")->click();
    EXPECT_NE(below.result(), QDialog::Accepted);
    ASSERT_EQ(messages_->Shown().size(), 2u);
    EXPECT_EQ(messages_->Shown()[1].text, QStringLiteral("Imenika ni mogoče ustvariti"));
    EXPECT_EQ(messages_->Shown()[1].icon, TMsgIcon::kError);
}

TEST_F(DirectoryDlgTest, PathLevelsComeFirstAndSubdirectoriesAreIndentedBelow) {
    MakeDirs({"b", "a", "C", ".skrit"});
    CTDirectoryDlg dialog(tmp_.path(), 0);
    const int levels = static_cast<int>(tmp_.path().split('/', Qt::SkipEmptyParts).size()) + 1;
    EXPECT_EQ(dialog.LevelCount(), levels);
    EXPECT_EQ(dialog.SubdirectoryCount(), 3);
    const QStringList rows = Rows(dialog);
    EXPECT_EQ(rows.first(), QStringLiteral("/"));
    EXPECT_EQ(rows.mid(levels), (QStringList{"a", "b", "C"}));
    auto* list = Child<QListWidget>(&dialog, "directoryList");
    const int indent = Qt::UserRole + 1;
    EXPECT_EQ(list->item(1)->data(indent).toInt(), 10);
    EXPECT_EQ(list->item(levels)->data(indent).toInt(), 10 * levels);
    EXPECT_TRUE(Child<QLineEdit>(&dialog, "pathEdit")->isReadOnly());

    CTDirectoryDlg root(QStringLiteral("/"), 0);
    ASSERT_EQ(root.LevelCount(), 1);
    EXPECT_EQ(Rows(root).first(), QStringLiteral("/"));
    EXPECT_EQ(Child<QListWidget>(&root, "directoryList")->item(0)->data(indent).toInt(), 0);
    auto* drives = Child<QComboBox>(&root, "driveList");
    EXPECT_EQ(drives->itemData(0).toString(), QStringLiteral("/"));
    EXPECT_EQ(drives->currentIndex(), 0);
}

TEST_F(DirectoryDlgTest, ActivatingRowsMovesUpToALevelAndDownIntoASubdirectory) {
    MakeDirs({"zgoraj/spodaj"});
    CTDirectoryDlg dialog(Path("zgoraj"), 0);
    const int levels = dialog.LevelCount();
    Activate(dialog, levels);  // the first subdirectory
    EXPECT_EQ(dialog.ShownPath(), Path("zgoraj/spodaj"));
    EXPECT_EQ(Child<QLineEdit>(&dialog, "pathEdit")->text(), Path("zgoraj/spodaj"));
    Activate(dialog, levels - 2);  // the level above "zgoraj"
    EXPECT_EQ(dialog.ShownPath(), tmp_.path());
    EXPECT_EQ(Child<QListWidget>(&dialog, "directoryList")->item(1)->toolTip(),
              QStringLiteral("/") + tmp_.path().split('/', Qt::SkipEmptyParts).first());
    Activate(dialog, 0);
    EXPECT_EQ(dialog.ShownPath(), QStringLiteral("/"));
}

// A typed path is the result, without a trailing "/"; a typed "~" is the
// home folder; only a missing folder is asked about. Cancel gives no path.
TEST_F(DirectoryDlgTest, HiddenDirectoriesOnRequestAndATypedPathIsTheResult) {
    MakeDirs({"vidni", ".skriti", "domov/.cache", "tu"});
    CTDirectoryDlg dialog(tmp_.path(), kTypeAndCreate);
    EXPECT_EQ(dialog.SubdirectoryCount(), 3);
    EXPECT_FALSE(Rows(dialog).contains(".skriti"));
    Child<QCheckBox>(&dialog, "showHiddenCheck")->setChecked(true);
    EXPECT_EQ(dialog.SubdirectoryCount(), 4);
    EXPECT_TRUE(Rows(dialog).contains(".skriti"));
    EXPECT_FALSE(Child<QLineEdit>(&dialog, "pathEdit")->isReadOnly());

    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", Path("domov").toLocal8Bit());
    for (const auto& [typed, chosen] : {std::pair<QString, QString>{Path("tu/"), Path("tu")},
                                        {"~", Path("domov")},
                                        {"~/.cache", Path("domov/.cache")},
                                        {"~/nov", Path("domov/nov")}}) {
        if (!QFileInfo(chosen).exists()) messages_->Answer(TMsgAnswer::kYes);  // create it
        CTDirectoryDlg typing(tmp_.path(), kTypeAndCreate);
        Child<QLineEdit>(&typing, "pathEdit")->setText(typed);
        typing.accept();
        EXPECT_EQ(typing.result(), QDialog::Accepted);
        EXPECT_EQ(typing.GetPath(), chosen) << typed.toStdString();
    }
    qputenv("HOME", home);
    EXPECT_EQ(messages_->Shown().size(), 1u);
    EXPECT_TRUE(QFileInfo(Path("domov/nov")).isDir());
    EXPECT_FALSE(QFileInfo(Path("~")).exists());

    CTDirectoryDlg cancelled(tmp_.path(), kTypeAndCreate);
    Child<QPushButton>(&cancelled, "cancelButton")->click();
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    EXPECT_TRUE(cancelled.GetPath().isEmpty());
}

TEST_F(DirectoryDlgTest, ExistsDeepestExistingAndCreate) {
    MakeDirs({"x/y"});
    EXPECT_TRUE(CTDirectoryDlg::DirectoryExists(Path("x/y")));
    EXPECT_FALSE(CTDirectoryDlg::DirectoryExists(Path("x/z")));
    EXPECT_FALSE(CTDirectoryDlg::DirectoryExists(QString()));
    EXPECT_EQ(CTDirectoryDlg::DeepestExisting(Path("x/y/1/2/")), Path("x/y"));
    EXPECT_EQ(CTDirectoryDlg::DeepestExisting(Path("x//y")), Path("x/y"));
    EXPECT_FALSE(CTDirectoryDlg::CreateDirectory(QString()));
}

}  // namespace
}  // namespace vrk
