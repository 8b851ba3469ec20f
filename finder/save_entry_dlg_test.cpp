// "Shrani Geslo": the tree of libraries with the dictionaries that accept
// changes, the library chosen last, "Poišči..." and "V redu".
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "finder/finder_test_util.h"
#include "finder/finder_texts.h"
#include "finder/save_entry_dlg.h"
#include "settings/library_registry.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "ui/file_dialog.h"
#include "ui/help.h"

namespace vrk {
namespace {

class SaveEntryDlgTest : public TSearchTest {
  protected:
    static QStringList Texts(const QTreeWidgetItem* parent) {
        QStringList texts;
        for (int i = 0; i < parent->childCount(); ++i) texts << parent->child(i)->text(0);
        return texts;
    }
};

TEST_F(SaveEntryDlgTest, TheTreeOffersOnlyDictionariesThatAcceptChanges) {
    const std::string open = Dictionary("odprt.vrk3", {});
    const std::string closed = Dictionary("zaprt.vrk3", {}, 4);
    MakeLibrary("Reke", {open, closed, folder_ + "/ni.vrk3"});
    MakeLibrary("Gore", {});
    ASSERT_EQ(CreateLibraryKey(std::string(kGroupsKey) + "\\Gore", "Julijske"),
              TLibraryResult::kOk);
    ASSERT_EQ(AddLibraryDictionary(std::string(kGroupsKey) + "\\Gore\\Julijske", open),
              TLibraryResult::kOk);

    CSaveEntryDlg dialog(QStringLiteral("Sava"));
    EXPECT_EQ(dialog.WordEdit()->text(), "Sava");
    const QTreeWidget* tree = dialog.Tree();
    ASSERT_EQ(Texts(tree->invisibleRootItem()), (QStringList{"Reke", "Gore"}));
    EXPECT_EQ(Texts(tree->topLevelItem(0)), QStringList{"odprt.vrk3"});
    const QTreeWidgetItem* mountains = tree->topLevelItem(1);
    EXPECT_EQ(Texts(mountains), QStringList{"Julijske"});
    EXPECT_EQ(Texts(mountains->child(0)), QStringList{"odprt.vrk3"});
    EXPECT_EQ(tree->topLevelItem(0)->child(0)->data(0, CSaveEntryDlg::kPathRole).toString(),
              QString::fromStdString(open));
    // Nothing chosen before: nothing selected, "V redu" disabled.
    EXPECT_EQ(tree->currentItem(), nullptr);
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    EXPECT_TRUE(messages_->Texts().empty());
}

TEST_F(SaveEntryDlgTest, OkNeedsADictionaryAndRemembersItsLibrary) {
    const std::string open = Dictionary("odprt.vrk3", {});
    MakeLibrary("Reke", {open});
    MakeLibrary("Gore", {open});
    {
        CSaveEntryDlg dialog(QStringLiteral("Sava"));
        // Typing replaces the word.
        EXPECT_EQ(dialog.WordEdit()->selectedText(), "Sava");
        QTreeWidget* tree = dialog.Tree();
        tree->setCurrentItem(tree->topLevelItem(1));
        EXPECT_FALSE(dialog.OkButton()->isEnabled());
        tree->setCurrentItem(tree->topLevelItem(1)->child(0));
        EXPECT_TRUE(dialog.OkButton()->isEnabled());
        dialog.WordEdit()->setText("Soča");
        dialog.findChild<QPushButton*>(QStringLiteral("helpButton"))->click();
        EXPECT_EQ(helpContexts_, std::vector<int>{help::kSaveEntry});
        dialog.OkButton()->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.Word(), "Soča");
        EXPECT_EQ(dialog.DataFile(), QString::fromStdString(open));
    }
    std::string last;
    ASSERT_TRUE(TGetRegistryString(kFinderPath, "LastLib", last));
    EXPECT_EQ(last, "Gore");
    // The next time, that library opens selected.
    CSaveEntryDlg again(QStringLiteral("Sava"));
    ASSERT_NE(again.Tree()->currentItem(), nullptr);
    EXPECT_EQ(again.Tree()->currentItem()->text(0), "Gore");
    EXPECT_TRUE(again.Tree()->currentItem()->isExpanded());
    EXPECT_FALSE(again.OkButton()->isEnabled());
}

TEST_F(SaveEntryDlgTest, BrowseAddsAWritableDictionaryAndRefusesOthers) {
    const std::string open = Dictionary("odprt.vrk3", {});
    const std::string closed = Dictionary("zaprt.vrk3", {}, 4);
    const std::string text = folder_ + "/besedilo.txt";
    WriteWholeFile(text, "to ni slovar");
    std::vector<std::string> answers = {text, closed, open};
    std::vector<TFileDialogRequest> requests;
    SetFileDialogHook([&](const TFileDialogRequest& request) {
        requests.push_back(request);
        const QString file = QString::fromStdString(answers.front());
        answers.erase(answers.begin());
        TFileDialogResult result;
        result.files = QStringList{file};
        result.directory = QString::fromStdString(folder_);
        return result;
    });
    CSaveEntryDlg dialog(QStringLiteral("Sava"));
    dialog.Browse();
    dialog.Browse();
    EXPECT_EQ(messages_->Texts(),
              (std::vector<QString>{texts::kNotADictionary, texts::kChangesNotAllowed}));
    EXPECT_EQ(messages_->Shown()[0].icon, TMsgIcon::kError);
    EXPECT_EQ(messages_->Shown()[1].icon, TMsgIcon::kWarning);
    EXPECT_EQ(dialog.Tree()->topLevelItemCount(), 0);
    dialog.Browse();
    ASSERT_EQ(dialog.Tree()->topLevelItemCount(), 1);
    EXPECT_EQ(dialog.Tree()->currentItem()->text(0), "odprt.vrk3");
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    // The folder browsed is where the next one opens.
    EXPECT_EQ(requests[0].fileName, "*.vrk3");
    EXPECT_EQ(requests[1].directory, QString::fromStdString(folder_));
    dialog.reject();
}

}  // namespace
}  // namespace vrk
