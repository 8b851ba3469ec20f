#include "finder/vrk3_app.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMdiArea>

#include "finder/finder_texts.h"
#include "finder/main_frame.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "ui/help.h"
#include "ui/test_ui.h"

namespace {

class Vrk3AppTest : public vrk::TUiTest {};

TEST_F(Vrk3AppTest, MissingInstallPathEndsStartWithMessage) {
    CVrk3App::InitApplication();
    CVrk3App app;
    EXPECT_FALSE(app.InitInstance(false));
    EXPECT_EQ(app.MainFrame(), nullptr);
    ASSERT_EQ(messages_->Shown().size(), 1u);
    EXPECT_EQ(messages_->Shown()[0].text, vrk::texts::kInstallMissing);
    EXPECT_EQ(messages_->Shown()[0].icon, vrk::TMsgIcon::kError);

    // An empty path is no install path either.
    messages_->Clear();
    ASSERT_TRUE(vrk::TSetRegistryString(vrk::kMachineRootPath, "InstallPath", "",
                                        vrk::kRegCreateKey | vrk::kRegOverwrite));
    CVrk3App again;
    EXPECT_FALSE(again.InitInstance(false));
    EXPECT_EQ(messages_->Texts().size(), 1u);
}

TEST_F(Vrk3AppTest, StartWithEmptyStoreCreatesKeysAndOpensNoResultWindow) {
    CVrk3App::InitApplication();
    EXPECT_EQ(SubKeys(vrk::kUserRootKey), std::vector<std::string>({"Groups", "Fndr", "Alphabet"}));
    ASSERT_TRUE(vrk::TSetRegistryString(vrk::kMachineRootPath, "InstallPath", "/opt/vrk3",
                                        vrk::kRegCreateKey | vrk::kRegOverwrite));
    CVrk3App app;
    ASSERT_TRUE(app.InitInstance(false));
    ASSERT_NE(app.MainFrame(), nullptr);
    EXPECT_TRUE(app.MainFrame()->isVisible());
    EXPECT_TRUE(app.MainFrame()->MdiArea()->subWindowList().isEmpty());
    EXPECT_TRUE(messages_->Texts().empty());
    // No display name for the window system to append to dialog titles.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    QCoreApplication::processEvents();
    EXPECT_EQ(helpContexts_, std::vector<int>({vrk::help::kFirstRun}));
    std::int32_t run = 0;
    EXPECT_TRUE(vrk::TGetRegistryNumber(vrk::kUserRootPath, "Run", run));
    EXPECT_EQ(run, 1);
    app.MainFrame()->close();
}

// A per-user store that cannot be used is named at start with its reason,
// and the first-start help does not open at each start it cannot record.
TEST_F(Vrk3AppTest, UnusableStoreIsReportedWithItsReasonAndNoFirstStartHelp) {
    ASSERT_TRUE(vrk::TSetRegistryString(vrk::kMachineRootPath, "InstallPath", "/opt/vrk3",
                                        vrk::kRegCreateKey | vrk::kRegOverwrite));
    std::string garbage;
    for (int i = 0; i < 300; ++i) garbage += "to ni baza nastavitev ";
    vrk::WriteFileBytes(dir_ + "/user.db", garbage);
    vrk::CloseSettingsStore();
    const QString expected = QStringLiteral(
        "Napaka pri branju knji\u017enice [k8]\n"
        "Datoteka z nastavitvami ni baza nastavitev tega programa.");
    for (int start = 0; start < 2; ++start) {
        CVrk3App::InitApplication();
        CVrk3App app;
        ASSERT_TRUE(app.InitInstance(false));
        QCoreApplication::processEvents();
        app.MainFrame()->close();
        vrk::CloseSettingsStore();  // the next start is a new process
    }
    EXPECT_TRUE(helpContexts_.empty());
    ASSERT_EQ(messages_->Shown().size(), 2u);
    for (const vrk::TMessage& shown : messages_->Shown()) {
        EXPECT_EQ(shown.text, expected);
        EXPECT_EQ(shown.icon, vrk::TMsgIcon::kNone);
    }
    EXPECT_EQ(vrk::ReadFileBytes(dir_ + "/user.db"), garbage);
}

}  // namespace
