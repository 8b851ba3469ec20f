// Result windows as a user meets them in the window area: how much of the
// list a stored pane height leaves.
#include <QListWidget>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "finder/search_test_util.h"
#include "finder/vrk3mpg_view.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"

namespace vrk {
namespace {

class TResultWindowsTest : public TSearchTest {
  protected:
    // A search over one dictionary of `count` words.
    std::shared_ptr<CVrk3mpgDoc> SearchWords(int count) {
        std::vector<std::string> entries;
        for (int i = 0; i < count; ++i) entries.push_back(Entry("beseda" + std::to_string(i)));
        SetLibrary({MakeDictionary("w.vrk3", "Besede", entries)});
        return Search(QStringLiteral("b*"));
    }
};

// A pane height kept from a large window leaves a normal one a list of a
// few rows; a height that fits is taken as it was stored.
TEST_F(TResultWindowsTest, AStoredPaneHeightLeavesTheListAFewRows) {
    auto doc = SearchWords(20);
    ASSERT_NE(doc, nullptr);
    for (const int stored : {2000, 100}) {
        ASSERT_TRUE(
            TSetRegistryNumber(kFinderPath, "ChildL", stored, kRegCreateKey | kRegOverwrite));
        QWidget window;
        auto* view = new CVrk3mpgView(doc);
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(view);
        window.resize(420, 320);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        const int row = view->List()->sizeHintForRow(0);
        if (stored == 2000) {
            EXPECT_GE(view->List()->viewport()->height(), 4 * row);
        } else {
            EXPECT_EQ(view->Pane()->height(), 100);
        }
    }
}

}  // namespace
}  // namespace vrk
