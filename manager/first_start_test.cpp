// A new user's first start of the manager: the installed Slovene words are
// a library of their own, listed at once.
#include <QTest>
#include <QTreeWidget>
#include <filesystem>

#include "manager/manager_test_util.h"
#include "manager/vrk3dbe_app.h"
#include "settings/first_library.h"
#include "settings/settings_keys.h"
#include "store/data_file.h"

namespace vrk {
namespace {

class ManagerFirstStart : public TManagerTest {};

TEST_F(ManagerFirstStart, ListsTheLibraryOfTheInstalledWords) {
    // The install folder is the test folder (TManagerTest); "Run" is unset
    // as before any start.
    ASSERT_EQ(UserKey(kUserRootKey).DeleteValue("Run"), TRegResult::kOk);
    const std::string words = InstalledWordListPath(dir_);
    std::filesystem::create_directories(std::filesystem::path(words).parent_path());
    ASSERT_TRUE(CreateEmpty(words));
    TDataFile dictionary(words, dir_ + "/temp/t1", dir_ + "/temp/t2", dir_ + "/temp/t3");
    ASSERT_TRUE(dictionary.SetInfo("Slovenske besede", "Avtorji", "", "", kFlagExportAllowed));

    CVrk3dbeApp::InitApplication();
    CVrk3dbeApp app;
    ASSERT_TRUE(app.InitInstance(false));
    CMainFrame* frame = app.MainFrame();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    QTreeWidget* list = frame->View()->List();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->topLevelItemCount() > 0; }, 2000));
    ASSERT_EQ(frame->View()->Tree()->topLevelItemCount(), 1);
    EXPECT_EQ(frame->View()->Tree()->topLevelItem(0)->text(0), QStringLiteral("Slovenske besede"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->topLevelItemCount() == 2; }, 2000));
    QStringList names;
    for (int i = 0; i < list->topLevelItemCount(); ++i) names << list->topLevelItem(i)->text(0);
    names.sort();
    EXPECT_EQ(names, QStringList({"Moje besede", "Slovenske besede"}));
    EXPECT_EQ(Members("Slovenske besede"),
              std::vector<std::string>({UserDataFolder() + "/moje-besede.vrk3", words}));
    frame->close();
}

}  // namespace
}  // namespace vrk
