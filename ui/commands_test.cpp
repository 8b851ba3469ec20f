#include "ui/commands.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>

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

class CommandsTest : public TUiTest {};

TEST_F(CommandsTest, ARowBecomesOneActionWhoseRulesDecideItsStateWhenAMenuOpens) {
    QMainWindow window;
    auto* commands = new TCommandSet(&window);
    commands->Add(kTable);
    QAction* search = FindCommand(&window, 57600);
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(search->text(), QStringLiteral("&Išči"));
    EXPECT_EQ(search->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
    EXPECT_EQ(search->statusTip(), QStringLiteral("Poišče gesla."));
    EXPECT_EQ(search->toolTip(), QStringLiteral("Išči"));
    EXPECT_FALSE(FindCommand(&window, 32781)->icon().isNull());
    // An explicit key wins; a prompt without a tip gives the menu text as tip.
    EXPECT_EQ(FindCommand(&window, 32793)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
    EXPECT_EQ(FindCommand(&window, 32792)->toolTip(), QStringLiteral("Določi Sliko..."));

    bool haveDictionary = false;
    bool barShown = true;
    commands->SetEnabledRule(32792, [&] { return haveDictionary; });
    commands->SetCheckedRule(32775, [&] { return barShown; });
    QMenu menu;
    commands->FillMenu(&menu, {57600, kSeparator, 32792, 32775, 4711});
    ASSERT_EQ(menu.actions().size(), 4);
    EXPECT_TRUE(menu.actions()[1]->isSeparator());
    emit menu.aboutToShow();
    EXPECT_FALSE(commands->Action(32792)->isEnabled());
    EXPECT_TRUE(commands->Action(32775)->isChecked());
    haveDictionary = true;
    barShown = false;
    emit menu.aboutToShow();
    EXPECT_TRUE(commands->Action(32792)->isEnabled());
    EXPECT_FALSE(commands->Action(32775)->isChecked());

    int runs = 0;
    commands->OnTriggered(32781, [&] { ++runs; });
    QToolBar toolBar;
    commands->FillToolBar(&toolBar, {32781, kSeparator, 57600});
    ASSERT_EQ(toolBar.actions().size(), 3);
    EXPECT_EQ(toolBar.actions()[0], FindCommand(&window, 32781));
    toolBar.actions()[0]->trigger();
    EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace vrk
