// Libraries created, renamed and removed in the tree; dictionaries added,
// listed and removed. Which names a library may take and what a rename or
// removal does in the store are the settings store's rules.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QLineEdit>
#include <QTest>
#include <filesystem>

#include "manager/manager_ids.h"
#include "manager/manager_test_util.h"
#include "manager/manager_texts.h"
#include "settings/library_registry.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "store/file_io.h"
#include "ui/commands.h"

namespace vrk {
namespace {

class LibraryCommands : public TManagerTest {
  protected:
    QLineEdit* NameEditor() {
        return View()->Tree()->findChild<QLineEdit*>(QStringLiteral("libraryNameEditor"));
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        EXPECT_TRUE(ListLibraryNames(names));
        return names;
    }
};

const std::string kNew = "Nova Knji\x9Enica";

TEST_F(LibraryCommands, ANewLibraryGoesBesideTheSelectedOneASubLibraryBelowIt) {
    MakeLibrary("A\\B");
    host_->Select({}, "A\\B");
    libraries_->NewLibrary();
    libraries_->NewSubLibrary();
    EXPECT_EQ(SubKeys(LibraryKey("A")), (std::vector<std::string>{"B", kNew}));
    EXPECT_EQ(SubKeys(LibraryKey("A\\B")), std::vector<std::string>{kNew + " (2)"});
    host_->Select({}, "A");
    libraries_->NewLibrary();
    EXPECT_EQ(SubKeys(kGroupsKey), (std::vector<std::string>{"A", kNew + " (3)"}));
    EXPECT_TRUE(messages_->Texts().empty());
}

TEST_F(LibraryCommands, ARenameTheStoreRefusesOrThatCannotBeStoredChangesNothing) {
    MakeLibrary("Eno\\Pod");
    MakeLibrary("Drugo");
    host_->Select({}, "Drugo");
    QTreeWidgetItem* item = host_->Selection().library;
    // A name taken elsewhere, a character the store cannot hold ("€" it
    // can), and the backslash that separates the levels of the tree, each
    // with its own message.
    for (const QString& name :
         {QStringLiteral("Pod"), QStringLiteral("Ωmega €"), QStringLiteral("A\\B")})
        libraries_->RenameCommitted(item, name);
    EXPECT_EQ(messages_->Texts(),
              (std::vector<QString>{texts::kNameExists,
                                    texts::kTextNotStorable.arg(QStringLiteral("Ω (U+03A9)")),
                                    texts::kBackslashInName}));
    EXPECT_EQ(item->text(0), QStringLiteral("Drugo"));
    EXPECT_EQ(SubKeys(kGroupsKey), (std::vector<std::string>{"Eno", "Drugo"}));

    // The renamed library is found under its new name.
    messages_->Clear();
    libraries_->RenameCommitted(item, QStringLiteral("Tretje"));
    EXPECT_EQ(item->text(0), QStringLiteral("Tretje"));
    EXPECT_EQ(LibraryKeyPath(item), LibraryKey("Tretje"));
    EXPECT_EQ(SubKeys(kGroupsKey), (std::vector<std::string>{"Eno", "Tretje"}));
    EXPECT_TRUE(messages_->Texts().empty());
}

TEST_F(LibraryCommands, TheLastLibraryStaysAndANonEmptyOneIsRemovedOnlyAfterAsking) {
    MakeLibrary("Ena\\Pod");
    MakeLibrary("Dve", {MakeDictionary("x.vrk3", "X")});
    host_->libraries = 1;
    host_->Select({}, "Dve");
    libraries_->RemoveLibrary();
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kCannotRemoveAll});
    host_->libraries = 3;
    // Empty, its unnamed value no member: no question.
    messages_->Clear();
    ASSERT_EQ(UserKey(LibraryKey("Ena\\Pod")).SetString("", "x"), TRegResult::kOk);
    host_->Select({}, "Ena\\Pod");
    libraries_->RemoveLibrary();
    EXPECT_TRUE(messages_->Texts().empty());
    EXPECT_EQ(Names(), (std::vector<std::string>{"Ena", "Dve"}));
    // What the store holds decides, not the tree (a member, or a
    // sub-library another program made); No is the default.
    MakeLibrary("Ena\\Pod");
    for (const char* library : {"Dve", "Ena"}) {
        host_->Select({}, library);
        libraries_->RemoveLibrary();
        messages_->Answer(TMsgAnswer::kYes);
        libraries_->RemoveLibrary();
    }
    ASSERT_EQ(messages_->Shown().size(), 4u);
    const TMessage asked = messages_->Shown()[0];
    EXPECT_EQ(asked.text, texts::kLibraryNotEmpty);
    EXPECT_EQ(asked.defaultAnswer, TMsgAnswer::kNo);
    EXPECT_TRUE(Names().empty());
    EXPECT_EQ(host_->librariesRemoved, 3);
}

TEST_F(LibraryCommands, AddingStopsAtTheFirstMemberAndKeepsWhatCameBefore) {
    const std::string one = MakeDictionary("1.vrk3", "Prvi", "Ana", 2);
    const std::string two = MakeDictionary("2.vrk3", "Drugi");
    const std::string three = MakeDictionary("3.vrk3", "Tretji");
    MakeLibrary("Knj", {two});
    host_->Select();
    SetFileDialogHook([&](const TFileDialogRequest&) {
        return FilesChosen({QString::fromStdString(one), QString::fromStdString(two),
                            QString::fromStdString(three)},
                           QStringLiteral("/"));
    });
    libraries_->AddDictionaries();
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kAlreadyMember});
    EXPECT_EQ(Members("Knj"), (std::vector<std::string>{two, one}));
    EXPECT_EQ(host_->listed, std::vector<std::string>{one});
    EXPECT_EQ(Setting("AddDFDir"), folder_);

    // A file that is no dictionary is never made a member.
    WriteWholeFile(folder_ + "/notes.txt", "just some text, no dictionary at all");
    messages_->Clear();
    SetFileDialogHook([&](const TFileDialogRequest&) {
        return FilesChosen({QString::fromStdString(folder_ + "/notes.txt")});
    });
    libraries_->AddDictionaries();
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kChosenNotADictionary});
    EXPECT_EQ(Members("Knj"), (std::vector<std::string>{two, one}));

    // Removing takes the selected ones from the library only.
    host_->Select({two, one});
    libraries_->RemoveDictionaries();
    EXPECT_TRUE(Members("Knj").empty());
    EXPECT_EQ(host_->rowsRemoved, 1);
    EXPECT_TRUE(std::filesystem::exists(one));
}

// While a new library's name is edited, Ctrl keys go to the editor, not to
// the commands they start elsewhere.
TEST_F(LibraryCommands, TheTreeAndTheListReachTheLibraryCommands) {
    MakeLibrary("A\\B", {MakeDictionary("1.vrk3", "Prvi", "Ana", 2)});
    frame_ = StartFrame();
    ClickLibrary(QStringLiteral("A"));
    Run(id::kNewLibrary);
    QLineEdit* editor = NameEditor();
    ASSERT_NE(editor, nullptr);
    int dialogs = 0;
    SetFileDialogHook([&](const TFileDialogRequest&) {
        ++dialogs;
        return TFileDialogResult{};
    });
    QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);  // "Dodaj" elsewhere
    QTest::keyClick(editor, Qt::Key_K, Qt::ControlModifier);  // "Nova Knjižnica"
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(Names().size(), 3u);
    editor->selectAll();
    TypeText(editor, QStringLiteral("Moja knjižnica"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::qWait(10);
    EXPECT_EQ(SubKeys(kGroupsKey), (std::vector<std::string>{"A", "Moja knji\x9Enica"}));
    QTest::keyClick(View()->Tree(), Qt::Key_Delete);
    EXPECT_EQ(SubKeys(kGroupsKey), std::vector<std::string>{"A"});
    ClickLibrary(QStringLiteral("B"));

    const std::string two = MakeDictionary("2.vrk3", "Drugi", "Ana", 3);
    SetFileDialogHook(
        [&](const TFileDialogRequest&) { return FilesChosen({QString::fromStdString(two)}); });
    Run(id::kAddDictionary);
    EXPECT_EQ(ListNames(), QStringList({"Drugi", "Prvi"}));
    EXPECT_EQ(View()->SelectedPaths(), std::vector<std::string>{two});
    QTest::keyClick(View()->List(), Qt::Key_Delete);
    EXPECT_EQ(ListNames(), QStringList{QStringLiteral("Prvi")});
    EXPECT_EQ(Members("A\\B").size(), 1u);
    EXPECT_TRUE(messages_->Texts().empty());
}

TEST_F(LibraryCommands, OnlyMissingAndDamagedMembersLeaveTheLibrary) {
    const std::string good = MakeDictionary("dobri.vrk3", "Dobri", "Ana", 3);
    const std::string busy = MakeDictionary("zasedeni.vrk3", "Zasedeni");
    const std::string missing = MakeDictionary("izbrisani.vrk3", "Izbrisani");
    const std::string damaged = folder_ + "/pokvarjeni.vrk3";
    WriteWholeFile(damaged, "Verbatrakon Datafile /3.0/ and then nothing that makes sense");
    const std::string unreachable = dir_ + "/odklopljeni-disk/slovar.vrk3";
    MakeLibrary("Knj", {good, busy, missing, damaged, unreachable});
    std::filesystem::remove(missing);
    // Another program holds the dictionary for a long rewrite.
    const int fd = open(busy.c_str(), O_RDONLY);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);
    TLockTimeoutForTesting shortWait(std::chrono::milliseconds(100));

    frame_ = StartFrame();
    EXPECT_EQ(messages_->Texts(),
              (std::vector<QString>{texts::kDamagedMember, texts::kDamagedMember,
                                    texts::kUnavailableMembers}));
    EXPECT_EQ(Members("Knj"), (std::vector<std::string>{good, busy, unreachable}));
    EXPECT_EQ(ListNames(),
              QStringList({texts::kUnavailableName, texts::kUnavailableName, "Dobri"}));
    EXPECT_EQ(Row(QStringLiteral("Dobri"))->text(kColCount), QStringLiteral("3"));
    close(fd);
}

TEST_F(LibraryCommands, RefreshReadsTheTreeAgainKeepingTheSelectedLibraryWhereItStays) {
    const std::string a = MakeDictionary("a.vrk3", "A"), b = MakeDictionary("b.vrk3", "B");
    MakeLibrary("Ena\\Pod", {a});
    MakeLibrary("Dve");
    frame_ = StartFrame();
    ClickLibrary(QStringLiteral("Pod"));
    SelectRows({QStringLiteral("A")});
    // Another program removes a library, makes one with a long name and
    // adds a member.
    ASSERT_EQ(UserKey(kGroupsKey).DeleteSubTree("Dve"), TRegResult::kOk);
    const std::string longName(150, 'k');
    MakeLibrary(longName);
    ASSERT_EQ(AddLibraryDictionary(LibraryKey("Ena\\Pod"), b), TLibraryResult::kOk);
    Run(id::kRefresh);
    EXPECT_EQ(Library(QStringLiteral("Dve")), nullptr);
    EXPECT_EQ(View()->SelectedLibrary(), Library(QStringLiteral("Pod")));
    EXPECT_EQ(ListNames(), QStringList({"A", "B"}));
    EXPECT_EQ(View()->SelectedPaths(), std::vector<std::string>{a});
    // The long name is not cut when its editor opens and closes.
    ClickLibrary(QString::fromStdString(longName));
    Run(id::kRenameLibrary);
    ASSERT_NE(NameEditor(), nullptr);
    QTest::keyClick(NameEditor(), Qt::Key_Return);
    QTest::qWait(10);
    EXPECT_EQ(SubKeys(kGroupsKey), (std::vector<std::string>{"Ena", longName}));

    // The selected library gone, the first one is selected.
    ClickLibrary(QStringLiteral("Pod"));
    ASSERT_EQ(UserKey(LibraryKey("Ena")).DeleteSubTree("Pod"), TRegResult::kOk);
    Run(id::kRefresh);
    EXPECT_EQ(View()->SelectedLibrary(), Library(QStringLiteral("Ena")));
    EXPECT_TRUE(ListNames().isEmpty());
    EXPECT_TRUE(messages_->Texts().empty());
}

}  // namespace
}  // namespace vrk
