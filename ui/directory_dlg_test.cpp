#include "ui/directory_dlg.h"

#include <QCheckBox>
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

// "No" to the question leaves the dialog open; a folder that cannot be
// made (below a file) says so and keeps it open.
TEST_F(DirectoryDlgTest, OpensAtDeepestExistingAncestorAndAsksBeforeCreating) {
    const QString wanted = Path("nov/imenik");
    CTDirectoryDlg dialog(wanted, kTypeAndCreate);
    EXPECT_EQ(dialog.ShownPath(), tmp_.path());
    EXPECT_EQ(Child<QLineEdit>(&dialog, "pathEdit")->text(), wanted);

    dialog.SetMessages("ni pogona", "Ustvarim?", "ne gre");
    messages_->Answer(TMsgAnswer::kNo);
    Child<QPushButton>(&dialog, "okButton")->click();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(QFileInfo::exists(wanted));
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{"Ustvarim?"});

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

TEST_F(DirectoryDlgTest, RowsAreThePathLevelsThenTheSubdirectoriesAndActivatingOneMovesThere) {
    MakeDirs({"b", "a/spodaj", "C", ".skrit"});
    CTDirectoryDlg dialog(tmp_.path(), 0);
    const int levels = static_cast<int>(tmp_.path().split('/', Qt::SkipEmptyParts).size()) + 1;
    EXPECT_EQ(dialog.LevelCount(), levels);
    EXPECT_EQ(Rows(dialog).first(), QStringLiteral("/"));
    EXPECT_EQ(Rows(dialog).mid(levels), (QStringList{"a", "b", "C"}));
    Child<QCheckBox>(&dialog, "showHiddenCheck")->setChecked(true);
    EXPECT_EQ(Rows(dialog).mid(levels), (QStringList{".skrit", "a", "b", "C"}));
    EXPECT_TRUE(Child<QLineEdit>(&dialog, "pathEdit")->isReadOnly());

    Activate(dialog, levels + 1);  // "a"
    EXPECT_EQ(Child<QLineEdit>(&dialog, "pathEdit")->text(), Path("a"));
    Activate(dialog, 0);
    EXPECT_EQ(dialog.ShownPath(), QStringLiteral("/"));
    EXPECT_EQ(dialog.LevelCount(), 1);
}

// A typed path is the result, without a trailing "/"; a typed "~" is the
// home folder; only a missing folder is asked about, "Yes" makes all its
// missing levels. Cancel gives no path.
TEST_F(DirectoryDlgTest, ATypedPathIsTheResultAndCancelGivesNone) {
    MakeDirs({"tu", "domov"});
    qputenv("HOME", Path("domov").toLocal8Bit());
    messages_->Answer(TMsgAnswer::kYes);
    for (const auto& [typed, chosen] : {std::pair<QString, QString>{Path("tu/"), Path("tu")},
                                        {"~", Path("domov")},
                                        {"~/nov/pod", Path("domov/nov/pod")}}) {
        CTDirectoryDlg typing(tmp_.path(), kTypeAndCreate);
        Child<QLineEdit>(&typing, "pathEdit")->setText(typed);
        typing.accept();
        EXPECT_EQ(typing.result(), QDialog::Accepted);
        EXPECT_EQ(typing.GetPath(), chosen) << typed.toStdString();
    }
    EXPECT_EQ(messages_->Shown().size(), 1u);
    EXPECT_TRUE(QFileInfo(Path("domov/nov/pod")).isDir());

    CTDirectoryDlg cancelled(tmp_.path(), kTypeAndCreate);
    Child<QPushButton>(&cancelled, "cancelButton")->click();
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    EXPECT_TRUE(cancelled.GetPath().isEmpty());
}

}  // namespace
}  // namespace vrk
