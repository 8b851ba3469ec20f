#include "ui/file_dialog.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <QTreeView>

#include "ui/qt_translation.h"
#include "ui/test_ui.h"
#include "ui/ui_texts.h"

namespace vrk {
namespace {

class FileDialogTest : public TUiTest {
  protected:
    // A save dialog in the test's folder with `name` typed, accepted once.
    bool AcceptTyped(CFileDialog& dialog, const QString& name) {
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        Child<QLineEdit>(&dialog, "fileNameEdit")->setText(name);
        static_cast<QDialog&>(dialog).accept();
        return !dialog.isVisible() && dialog.result() == QDialog::Accepted;
    }
    TFileDialogRequest SaveRequest() const {
        TFileDialogRequest request;
        request.save = true;
        request.directory = QString::fromStdString(dir_);
        request.filter = QStringLiteral("Slovarji (*.vrk3);;Vse Datoteke (*)");
        request.defaultSuffix = QStringLiteral("vrk3");
        return request;
    }
};

// A typed name is checked before the dialog closes: saving over a file asks
// first, a new name does not; opening a missing file says so.
TEST_F(FileDialogTest, ATypedNameIsCheckedBeforeTheDialogCloses) {
    WriteWholeFile(dir_ + "/star.vrk3", "x");
    CFileDialog dialog(nullptr, SaveRequest());
    EXPECT_EQ(dialog.labelText(QFileDialog::Accept), texts::kFileSave);
    messages_->Answer(TMsgAnswer::kNo);
    EXPECT_FALSE(AcceptTyped(dialog, QStringLiteral("star")));
    ASSERT_EQ(messages_->Shown().size(), 1u);
    EXPECT_EQ(messages_->Shown()[0].text, texts::kFileReplace.arg(QStringLiteral("star.vrk3")));
    EXPECT_EQ(messages_->Shown()[0].defaultAnswer, TMsgAnswer::kNo);
    messages_->Answer(TMsgAnswer::kYes);
    EXPECT_TRUE(AcceptTyped(dialog, QStringLiteral("star")));
    EXPECT_EQ(dialog.Result().files, QStringList{QString::fromStdString(dir_ + "/star.vrk3")});
    messages_->Clear();
    CFileDialog fresh(nullptr, SaveRequest());
    EXPECT_TRUE(AcceptTyped(fresh, QStringLiteral("nov")));
    EXPECT_TRUE(messages_->Texts().empty());

    TFileDialogRequest request;
    request.directory = QString::fromStdString(dir_);
    CFileDialog opening(nullptr, request);
    EXPECT_FALSE(AcceptTyped(opening, QStringLiteral("ni.csv")));
    EXPECT_EQ(messages_->Texts(),
              std::vector<QString>{texts::kFileMissing.arg(QStringLiteral("ni.csv"))});
    EXPECT_TRUE(AcceptTyped(opening, QStringLiteral("star.vrk3")));
}

// On an English desktop the file list showed "7/12/26 1:12 PM"; the
// programs show sizes and dates in Slovene.
TEST_F(FileDialogTest, TheFileListIsInSlovene) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    InstallQtTranslations();
    EXPECT_EQ(QLocale().language(), QLocale::Slovenian);
    WriteWholeFile(dir_ + "/slovar.vrk3", std::string(2048, 'x'));
    const QDateTime changed =
        QFileInfo(QString::fromStdString(dir_ + "/slovar.vrk3")).lastModified();

    CFileDialog dialog(nullptr, SaveRequest());
    dialog.show();
    auto* view = Child<QTreeView>(&dialog, "treeView");
    QModelIndexList found;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const QModelIndex first = view->model()->index(0, 0, view->rootIndex());
            found = view->model()->match(first, Qt::DisplayRole, "slovar.vrk3");
            return !found.isEmpty();
        },
        3000));
    const QLocale slovene(QLocale::Slovenian, QLocale::Slovenia);
    EXPECT_EQ(found[0].siblingAtColumn(3).data().toString(),
              slovene.toString(changed, QLocale::ShortFormat));
    EXPECT_EQ(found[0].siblingAtColumn(1).data().toString(), slovene.formattedDataSize(2048));
}

}  // namespace
}  // namespace vrk
