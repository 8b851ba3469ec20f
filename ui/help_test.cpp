#include "ui/help.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QApplication>
#include <QLineEdit>

#include "ui/help_window.h"
#include "ui/test_ui.h"

namespace vrk {
namespace {

class HelpTest : public TUiTest {
protected:
    void TearDown() override {
        SetHelpFolder({});
        TUiTest::TearDown();
    }
};

TEST_F(HelpTest, UnknownContextOpensTheContents) {
    const QUrl url = HelpUrl(4711);
    EXPECT_EQ(url.scheme(), QStringLiteral("qrc"));
    EXPECT_TRUE(url.path().endsWith(QStringLiteral("/index.html")));
    EXPECT_EQ(url.fragment(), QStringLiteral("kontekst-0"));
}

TEST_F(HelpTest, PagesInTheHelpFolderArePreferred) {
    QTemporaryDir folder;
    QFile page(folder.filePath(QStringLiteral("index.html")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body><a name=\"kontekst-0\"></a>x</body></html>");
    page.close();
    SetHelpFolder(folder.path());
    EXPECT_EQ(HelpUrl(help::kContents).toLocalFile(), page.fileName());
    SetHelpFolder(QStringLiteral("/no/such/folder"));
    EXPECT_EQ(HelpUrl(help::kContents).scheme(), QStringLiteral("qrc"));
}

TEST_F(HelpTest, F1OpensTheContextOfTheWindow) {
    QWidget window;
    window.setObjectName("dialog");
    AddHelpKey(&window, help::kAlphabet);
    auto* field = new QLineEdit(&window);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    field->setFocus();
    QTest::keyClick(field, Qt::Key_F1);
    EXPECT_EQ(helpContexts_, std::vector<int>{help::kAlphabet});
}

TEST_F(HelpTest, WindowOpensAtThePage) {
    SetHelpHook({});
    ShowHelp(help::kContents);
    auto* window = qobject_cast<CHelpWindow*>(QApplication::activeWindow());
    CHelpWindow* found = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* help = qobject_cast<CHelpWindow*>(widget)) found = help;
    ASSERT_NE(found, nullptr);
    (void)window;
    auto* browser = Child<QTextBrowser>(found, "helpBrowser");
    EXPECT_TRUE(found->isVisible());
    EXPECT_TRUE(browser->source().path().endsWith(QStringLiteral("index.html")));
    EXPECT_FALSE(browser->toPlainText().isEmpty());
    found->close();
}

}  // namespace
}  // namespace vrk
