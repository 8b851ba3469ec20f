#include "ui/commands.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <memory>

#include "ui/test_ui.h"

namespace vrk {
namespace {

constexpr TCommand kTable[] = {
    {57600, "&Išči\tCtrl+I", "Poišče gesla.\nIšči"},
    {32781, "&Novo...\tCtrl+N", "Ustvari novo geslo.\nNovo Geslo", nullptr, "entry-new"},
    {32792, "Določi &Sliko...", "Označenim slovarjem določi novo sliko."},
    {32793, "Dodaj &Opis", "Geslu doda nov opis.\nDodaj Opis", "Ctrl+D"},
    {32775, "&Iskalna Vrstica", "Prikaže ali skrije iskalno vrstico.\nIskalna Vrstica", nullptr,
     nullptr, true},
};

class CommandsTest : public TUiTest {
  protected:
    std::unique_ptr<QMainWindow> owner_;
    QMainWindow* window_ = nullptr;
    TCommandSet* commands_ = nullptr;
    void SetUp() override {
        TUiTest::SetUp();
        owner_ = std::make_unique<QMainWindow>();
        window_ = owner_.get();
        commands_ = new TCommandSet(window_);
        commands_->Add(kTable);
    }
};

TEST_F(CommandsTest, RecipeTakesTextKeyStatusAndTipFromTheRow) {
    QAction* search = FindCommand(window_, 57600);
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(search->text(), QStringLiteral("&Išči"));
    EXPECT_EQ(search->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
    EXPECT_EQ(search->statusTip(), QStringLiteral("Poišče gesla."));
    EXPECT_EQ(search->toolTip(), QStringLiteral("Išči"));
    EXPECT_FALSE(FindCommand(window_, 32781)->icon().isNull());

    // An explicit key wins; a prompt without a tip gives the menu text as tip.
    EXPECT_EQ(FindCommand(window_, 32793)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
    EXPECT_EQ(FindCommand(window_, 32792)->toolTip(), QStringLiteral("Določi Sliko..."));
    EXPECT_TRUE(FindCommand(window_, 32775)->isCheckable());
}

// Menus and tool bars share one action per command, whose handler runs and
// whose rules decide its state each time a menu opens.
TEST_F(CommandsTest, RulesDecideEnablingAndChecksBeforeMenusOpenAndToolbarsShareTheAction) {
    bool haveDictionary = false;
    bool barShown = true;
    commands_->SetEnabledRule(32792, [&] { return haveDictionary; });
    commands_->SetCheckedRule(32775, [&] { return barShown; });
    QMenu menu;
    commands_->FillMenu(&menu, {57600, kSeparator, 32792, 32775, 4711});
    ASSERT_EQ(menu.actions().size(), 4);
    EXPECT_TRUE(menu.actions()[1]->isSeparator());

    emit menu.aboutToShow();
    EXPECT_FALSE(commands_->Action(32792)->isEnabled());
    EXPECT_TRUE(commands_->Action(32775)->isChecked());
    haveDictionary = true;
    barShown = false;
    emit menu.aboutToShow();
    EXPECT_TRUE(commands_->Action(32792)->isEnabled());
    EXPECT_FALSE(commands_->Action(32775)->isChecked());

    int runs = 0;
    commands_->OnTriggered(32781, [&] { ++runs; });
    QToolBar toolBar;
    commands_->FillToolBar(&toolBar, {32781, kSeparator, 57600});
    ASSERT_EQ(toolBar.actions().size(), 3);
    EXPECT_EQ(toolBar.actions()[0], FindCommand(window_, 32781));
    FindCommand(window_, 32781)->trigger();
    EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace vrk
