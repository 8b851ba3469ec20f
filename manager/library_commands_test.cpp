// Libraries created, renamed and removed in the tree; dictionaries added,
// listed and removed; the tree's and the list's pop-ups. Which names a
// library may take and what a rename or removal does in the store are the
// settings store's rules (settings/library_registry_test.cpp).
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <filesystem>
#include <optional>
#include <set>

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
    // Types a name into the open editor and ends it with Enter.
    void TypeName(const QString& name) {
        QLineEdit* editor = NameEditor();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        TypeText(editor, name);
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::qWait(10);
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        EXPECT_TRUE(ListLibraryNames(names));
        return names;
    }
    // What a right click on the list's row `row` pops up: the menu's
    // commands (its sub-menu's too), "-" before a disabled one, sorted.
    QStringList PopUp(const QString& row) {
        QWidget* list = View()->List()->viewport();
        const QPoint at = Centre(Row(row));
        QStringList shown;
        WhenPopup([&](QWidget* popup) {
            for (QAction* action : popup->findChildren<QAction*>())
                if (!action->objectName().isEmpty())
                    shown.append((action->isEnabled() ? "" : "-") + action->objectName());
            popup->close();
        });
        QTest::mousePress(list, Qt::RightButton, {}, at);
        QTest::mouseRelease(list, Qt::RightButton, {}, at);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !shown.isEmpty(); }, 2000));
        shown.sort();
        return shown;
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

    // The renamed library is found under its new name; its own name again
    // changes nothing.
    messages_->Clear();
    for (const QString& name : {QStringLiteral("Tretje"), QStringLiteral("Tretje")})
        libraries_->RenameCommitted(item, name);
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
    EXPECT_EQ(asked.icon, TMsgIcon::kWarning);
    EXPECT_EQ(asked.defaultAnswer, TMsgAnswer::kNo);
    EXPECT_TRUE(Names().empty());
    EXPECT_EQ(host_->librariesRemoved, 3);
}

TEST_F(LibraryCommands, AddingStopsAtTheFirstMemberAndKeepsWhatCameBefore) {
    const std::string one = MakeDictionary("1.vrk3", "Prvi", "Ana", 2);
    const std::string two = MakeDictionary("2.vrk3", "Drugi");
    const std::string three = MakeDictionary("3.vrk3", "Tretji");
    // A member with a long path is removed like any other.
    std::string folder = "globoko";
    while (folder_.size() + folder.size() < 300) folder += "/podmapa-z-dolgim-imenom";
    std::filesystem::create_directories(folder_ + "/" + folder);
    const std::string deep = MakeDictionary(folder + "/dolg.vrk3", "Dolg");
    MakeLibrary("Knj", {two, deep});
    host_->Select();
    TFileDialogRequest asked;
    SetFileDialogHook([&](const TFileDialogRequest& request) {
        asked = request;
        return FilesChosen({QString::fromStdString(one), QString::fromStdString(two),
                            QString::fromStdString(three)},
                           QStringLiteral("/"));
    });
    libraries_->AddDictionaries();
    EXPECT_TRUE(asked.multiple);
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kAlreadyMember});
    EXPECT_EQ(Members("Knj"), (std::vector<std::string>{two, deep, one}));
    EXPECT_EQ(host_->listed, std::vector<std::string>{one});
    EXPECT_EQ(Setting("AddDFDir"), folder_);

    // A file that is no dictionary is never made a member.
    const std::string text = folder_ + "/notes.txt";
    WriteWholeFile(text, "just some text, no dictionary at all");
    messages_->Clear();
    SetFileDialogHook([&](const TFileDialogRequest& request) {
        asked = request;
        return FilesChosen({QString::fromStdString(text)});
    });
    libraries_->AddDictionaries();
    EXPECT_EQ(asked.directory, QString::fromStdString(folder_));
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kNotADictionary});
    EXPECT_EQ(Members("Knj"), (std::vector<std::string>{two, deep, one}));

    // Removing takes the selected ones from the library only.
    host_->Select({deep, two, one});
    libraries_->RemoveDictionaries();
    EXPECT_TRUE(Members("Knj").empty());
    EXPECT_EQ(host_->rowsRemoved, 1);
    EXPECT_TRUE(std::filesystem::exists(one));
}

// The tree and the list reach the library commands: a new library opens
// its name for editing (Ctrl keys go to the editor), Enter stores it, a
// sub-library shows its library open, Delete removes in the tree and in
// the list, and an added dictionary is listed and selected.
TEST_F(LibraryCommands, TheTreeAndTheListReachTheLibraryCommands) {
    MakeLibrary("A\\B", {MakeDictionary("1.vrk3", "Prvi", "Ana", 2)});
    frame_ = StartFrame();
    ClickLibrary(QStringLiteral("A"));
    Run(id::kNewLibrary);
    QTreeWidgetItem* created = View()->SelectedLibrary();
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->text(0), QStringLiteral("Nova Knjižnica"));
    EXPECT_TRUE(ListNames().isEmpty());
    ASSERT_NE(NameEditor(), nullptr);
    int dialogs = 0;
    SetFileDialogHook([&](const TFileDialogRequest&) {
        ++dialogs;
        return TFileDialogResult{};
    });
    QTest::keyClick(NameEditor(), Qt::Key_S, Qt::ControlModifier);  // "Dodaj" elsewhere
    QTest::keyClick(NameEditor(), Qt::Key_K, Qt::ControlModifier);  // "Nova Knjižnica"
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(Names().size(), 3u);
    TypeName(QStringLiteral("Moja knjižnica"));
    EXPECT_EQ(created->text(0), QStringLiteral("Moja knjižnica"));
    EXPECT_EQ(SubKeys(kGroupsKey), (std::vector<std::string>{"A", "Moja knji\x9Enica"}));
    ClickLibrary(QStringLiteral("B"));
    Run(id::kNewSubLibrary);
    QTest::keyClick(NameEditor(), Qt::Key_Escape);
    EXPECT_EQ(Library(QStringLiteral("B"))->data(0, kImageRole).toInt(), kImageLibraryOpen);
    QTest::keyClick(View()->Tree(), Qt::Key_Delete);
    EXPECT_EQ(Library(QStringLiteral("B"))->data(0, kImageRole).toInt(), kImageLibrary);
    EXPECT_EQ(View()->SelectedLibrary(), Library(QStringLiteral("B")));

    const std::string two = MakeDictionary("2.vrk3", "Drugi", "Ana", 3);
    SetFileDialogHook(
        [&](const TFileDialogRequest&) { return FilesChosen({QString::fromStdString(two)}); });
    Run(id::kAddDictionary);
    EXPECT_EQ(ListNames(), QStringList({"Drugi", "Prvi"}));
    EXPECT_EQ(View()->SelectedPaths(), std::vector<std::string>{two});
    EXPECT_EQ(Row(QStringLiteral("Drugi"))->text(kColCount), QStringLiteral("3"));
    EXPECT_EQ(Row(QStringLiteral("Drugi"))->text(kColAuthor), QStringLiteral("Ana"));
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
    MakeLibrary("Druga");
    std::filesystem::remove(missing);
    // Another program holds the dictionary for a long rewrite.
    const int fd = open(busy.c_str(), O_RDONLY);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);
    std::optional<TLockTimeoutForTesting> shortWait(std::in_place, std::chrono::milliseconds(100));

    frame_ = StartFrame();
    EXPECT_EQ(messages_->Texts(),
              (std::vector<QString>{texts::kDamagedMember, texts::kDamagedMember,
                                    texts::kUnavailableMembers}));
    EXPECT_EQ(Members("Knj"), (std::vector<std::string>{good, busy, unreachable}));
    ASSERT_EQ(View()->List()->topLevelItemCount(), 3);
    QTreeWidgetItem* first = View()->List()->topLevelItem(0);
    EXPECT_EQ(first->text(kColName), texts::kUnavailableName);
    EXPECT_TRUE(first->data(kColName, kUnavailableRole).toBool());
    QStringList files;
    for (int i = 0; i < 3; ++i) files << View()->List()->topLevelItem(i)->text(kColFile);
    EXPECT_TRUE(files.contains(QString::fromStdString(busy)));
    EXPECT_TRUE(files.contains(QString::fromStdString(unreachable)));
    EXPECT_EQ(Row(QStringLiteral("Dobri"))->text(kColCount), QStringLiteral("3"));

    // Once the other program is done, the dictionary lists as usual.
    flock(fd, LOCK_UN);
    close(fd);
    shortWait.reset();
    messages_->Clear();
    Run(id::kRefresh);
    EXPECT_EQ(ListNames(), QStringList({texts::kUnavailableName, "Dobri", "Zasedeni"}));
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kUnavailableMembers});
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
    QStringList top;
    for (int i = 0; i < View()->Tree()->topLevelItemCount(); ++i)
        top.append(View()->Tree()->topLevelItem(i)->text(0));
    EXPECT_EQ(top, QStringList({"Ena", QString::fromStdString(longName)}));
    ASSERT_NE(View()->SelectedLibrary(), nullptr);
    EXPECT_EQ(View()->SelectedLibrary()->text(0), QStringLiteral("Pod"));
    EXPECT_TRUE(Library(QStringLiteral("Ena"))->isExpanded());
    EXPECT_EQ(ListNames(), QStringList({"A", "B"}));
    EXPECT_EQ(View()->SelectedPaths(), std::vector<std::string>{a});
    // The long name is not cut when its editor opens and closes.
    ClickLibrary(QString::fromStdString(longName));
    Run(id::kRenameLibrary);
    ASSERT_NE(NameEditor(), nullptr);
    EXPECT_EQ(NameEditor()->text(), QString::fromStdString(longName));
    QTest::keyClick(NameEditor(), Qt::Key_Return);
    QTest::qWait(10);
    EXPECT_EQ(SubKeys(kGroupsKey), (std::vector<std::string>{"Ena", longName}));
    ClickLibrary(QStringLiteral("Pod"));

    // The selected library gone, the first one is selected.
    ASSERT_EQ(UserKey(LibraryKey("Ena")).DeleteSubTree("Pod"), TRegResult::kOk);
    Run(id::kRefresh);
    ASSERT_NE(View()->SelectedLibrary(), nullptr);
    EXPECT_EQ(View()->SelectedLibrary()->text(0), QStringLiteral("Ena"));
    EXPECT_EQ(Library(QStringLiteral("Ena"))->childCount(), 0);
    EXPECT_TRUE(ListNames().isEmpty());
    EXPECT_TRUE(messages_->Texts().empty());
}

TEST_F(LibraryCommands, ABusyMemberNeitherFreezesTheWindowNorIsOpenedAgainWhenSelected) {
    const std::string good = MakeDictionary("dobri.vrk3", "Dobri");
    const std::string busy = MakeDictionary("zasedeni.vrk3", "Zasedeni");
    MakeLibrary("Prva", {good});
    MakeLibrary("Knj", {good, busy});
    // Another program's long change, under the full lock timeout.
    const int fd = open(busy.c_str(), O_RDONLY);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);
    frame_ = StartFrame();
    using Clock = std::chrono::steady_clock;
    const auto ms = [](Clock::duration d) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(d).count();
    };
    auto start = Clock::now();
    ClickLibrary(QStringLiteral("Knj"));
    const auto selecting = ms(Clock::now() - start);
    RecordProperty("selectLibraryMs", static_cast<int>(selecting));
    EXPECT_LT(selecting, 500);
    EXPECT_EQ(ListNames(), QStringList({texts::kUnavailableName, "Dobri"}));
    start = Clock::now();
    SelectRows({texts::kUnavailableName});
    frame_->UpdateCommandStates();
    EXPECT_LT(ms(Clock::now() - start), 100);
    EXPECT_FALSE(frame_->Commands()->Action(id::kExport)->isEnabled());
    flock(fd, LOCK_UN);
    close(fd);
}

// A right click in the tree pops up the library commands and keeps the
// selected library; the list's pop-up offers export, information and data
// only for one dictionary, the other commands for any.
TEST_F(LibraryCommands, ThePopUpsOfferWhatTheSelectionAllows) {
    MakeLibrary("Prva", {MakeDictionary("a.vrk3", "A"), MakeDictionary("b.vrk3", "B")});
    MakeLibrary("Druga");
    frame_ = StartFrame();
    QString shown;
    WhenPopup([&](QWidget* popup) {
        for (QAction* action : popup->actions())
            shown += (action->isEnabled() ? "" : "-") + action->text() + "|";
        popup->close();
    });
    const QPoint at = Centre(Library(QStringLiteral("Druga")));
    QTest::mousePress(View()->Tree()->viewport(), Qt::RightButton, {}, at);
    QTest::mouseRelease(View()->Tree()->viewport(), Qt::RightButton, {}, at);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shown.isEmpty(); }, 2000));
    EXPECT_EQ(shown, QStringLiteral("Nova &Knjižnica|&Nova Podknjižnica|&Preimenuj|O&dstrani||"
                                    "Dodaj &Slovar...|-&Odstrani Slovar|"));
    EXPECT_EQ(View()->SelectedLibrary(), Library(QStringLiteral("Prva")));

    const auto commands = [&](std::set<int> disabled) {
        QStringList names;
        for (const int command :
             {id::kDictionaryInfo, id::kNewDictionary, id::kImport, id::kExport, id::kChangeData,
              id::kSecurity, id::kRemapLetters, id::kSetPicture})
            names.append((disabled.count(command) ? "-" : "") +
                         frame_->Commands()->Action(command)->objectName());
        names.sort();
        return names;
    };
    SelectRows({QStringLiteral("A")});
    EXPECT_EQ(PopUp(QStringLiteral("A")), commands({}));
    SelectRows({QStringLiteral("A"), QStringLiteral("B")});
    EXPECT_EQ(PopUp(QStringLiteral("B")),
              commands({id::kDictionaryInfo, id::kExport, id::kChangeData}));
    EXPECT_EQ(View()->SelectedDictionaryCount(), 2);
    EXPECT_TRUE(messages_->Texts().empty());
}

}  // namespace
}  // namespace vrk
