// Dragging dictionaries from the list onto libraries, with mouse events as a
// person makes them: press in the list, move over the tree, let go.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <filesystem>

#include "manager/manager_ids.h"
#include "manager/manager_test_util.h"
#include "manager/manager_texts.h"
#include "settings/library_registry.h"
#include "settings/settings_keys.h"

namespace vrk {
namespace {

class DictionaryDrag : public TManagerTest {
  protected:
    void SetUp() override {
        TManagerTest::SetUp();
        a_ = MakeDictionary("a.vrk3", "A");
        b_ = MakeDictionary("b.vrk3", "B");
        c_ = MakeDictionary("c.vrk3", "C");
        MakeLibrary("Izvor", {a_, b_, c_});
        MakeLibrary("Cilj");
        MakeLibrary("Zbirka");
        frame_ = StartFrame();
        ASSERT_EQ(ListNames(), QStringList({"A", "B", "C"}));
    }

    // A point of the tree item `library` (or, for an empty name, below the
    // last item) in the list's viewport, where the list's mouse events are.
    QPoint OverLibrary(const QString& library) {
        QTreeWidget* tree = View()->Tree();
        const QPoint inTree = library.isEmpty() ? QPoint(10, tree->viewport()->height() - 5)
                                                : Centre(Library(library));
        return View()->List()->viewport()->mapFromGlobal(tree->viewport()->mapToGlobal(inTree));
    }

    // Presses `button` on the first selected row and moves it farther than
    // the start distance, so that the drag begins.
    void StartDrag(Qt::MouseButton button) {
        QWidget* list = View()->List()->viewport();
        const QPoint from = Centre(View()->List()->selectedItems().first());
        QTest::mousePress(list, button, {}, from);
        const int step = QApplication::startDragDistance() + 4;
        QTest::mouseMove(list, from + QPoint(step, 0));
        QTest::mouseMove(list, from + QPoint(2 * step, 0));
        ASSERT_NE(View()->DragMode(), kNoDrag);
    }
    void MoveTo(const QString& library) {
        QTest::mouseMove(View()->List()->viewport(), OverLibrary(library));
    }
    void Release(Qt::MouseButton button, const QString& library,
                 Qt::KeyboardModifiers modifiers = {}) {
        const QPoint at = OverLibrary(library);
        QTest::mouseMove(View()->List()->viewport(), at);
        QTest::mouseRelease(View()->List()->viewport(), button, modifiers, at);
        QTest::qWait(10);
    }

    std::string a_, b_, c_;
};

TEST_F(DictionaryDrag, TheLeftButtonMovesShiftCopiesAndOverNoOtherLibraryNothingChanges) {
    struct TCase {
        QStringList rows;
        QString target;
        Qt::KeyboardModifiers modifiers;
        std::vector<std::string> source, cilj;
    };
    const TCase cases[] = {
        {{"A", "B"}, QString(), {}, {a_, b_, c_}, {}},
        // Not even the order of the members changes.
        {{"A"}, QStringLiteral("Izvor"), {}, {a_, b_, c_}, {}},
        {{"A", "B"}, QStringLiteral("Cilj"), {}, {c_}, {a_, b_}},
        {{"C"}, QStringLiteral("Cilj"), Qt::ShiftModifier, {c_}, {a_, b_, c_}},
    };
    for (const TCase& drag : cases) {
        SCOPED_TRACE(drag.rows.join(' ').toStdString() + " > " + drag.target.toStdString());
        ClickLibrary(QStringLiteral("Izvor"));
        SelectRows(drag.rows);
        StartDrag(Qt::LeftButton);
        MoveTo(QStringLiteral("Cilj"));
        Release(Qt::LeftButton, drag.target, drag.modifiers);
        EXPECT_EQ(View()->DragMode(), kNoDrag);
        EXPECT_EQ(Members("Izvor"), drag.source);
        EXPECT_EQ(Members("Cilj"), drag.cilj);
    }
    EXPECT_EQ(ListNames(), QStringList({"A", "B", "C"}));
    EXPECT_TRUE(messages_->Texts().empty());
}

// The right button asks: "Kopiraj" leaves the source library as it was,
// "Premakni" moves like the left button.
TEST_F(DictionaryDrag, RightButtonAsksWhetherToCopyOrMove) {
    for (const QString choice : {texts::kDropCopy, texts::kDropMove}) {
        SCOPED_TRACE(choice.toStdString());
        ClickLibrary(QStringLiteral("Izvor"));
        SelectRows({choice == texts::kDropCopy ? "A" : "B"});
        StartDrag(Qt::RightButton);
        WhenPopup([&](QWidget* popup) {
            auto* menu = qobject_cast<QMenu*>(popup);
            ASSERT_NE(menu, nullptr);
            for (QAction* action : menu->actions())
                if (action->text() == choice)
                    QTest::mouseClick(menu, Qt::LeftButton, {},
                                      menu->actionGeometry(action).center());
        });
        Release(Qt::RightButton, QStringLiteral("Cilj"));
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return Members("Cilj").size() == 2; }, 2000));
    EXPECT_EQ(Members("Cilj"), (std::vector<std::string>{a_, b_}));
    EXPECT_EQ(Members("Izvor"), (std::vector<std::string>{a_, c_}));
}

// A library the drag passes over is listed quietly: a member whose file is
// gone shows no message and stays in its library; selected afterwards, the
// library reports and drops it as usual.
TEST_F(DictionaryDrag, PassingOverALibraryNeitherSpeaksNorDropsAMissingMember) {
    const std::string gone = MakeDictionary("d.vrk3", "D");
    ASSERT_EQ(AddLibraryDictionary(LibraryKey("Cilj"), gone), TLibraryResult::kOk);
    ASSERT_TRUE(std::filesystem::remove(gone));
    SelectRows({"A"});
    StartDrag(Qt::LeftButton);
    MoveTo(QStringLiteral("Cilj"));
    EXPECT_EQ(View()->SelectedLibrary(), Library(QStringLiteral("Cilj")));
    EXPECT_EQ(View()->List()->topLevelItemCount(), 1);
    MoveTo(QStringLiteral("Zbirka"));
    Release(Qt::LeftButton, QString());
    EXPECT_TRUE(messages_->Texts().empty());
    EXPECT_EQ(Members("Cilj"), std::vector<std::string>{gone});

    ClickLibrary(QStringLiteral("Cilj"));
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kDamagedMember});
    EXPECT_TRUE(Members("Cilj").empty());
}

TEST_F(DictionaryDrag, AMoveThatCannotAddKeepsTheDictionariesWhereTheyWere) {
    SelectRows({"A", "B"});
    StartDrag(Qt::LeftButton);
    MoveTo(QStringLiteral("Cilj"));
    // Another program removes the target library meanwhile.
    ASSERT_EQ(RemoveLibrary("Cilj"), TLibraryResult::kOk);
    Release(Qt::LeftButton, QStringLiteral("Cilj"));
    EXPECT_EQ(messages_->Texts(), std::vector<QString>{texts::kRegistryUnknownError});
    EXPECT_EQ(Members("Izvor"), (std::vector<std::string>{a_, b_, c_}));
}

}  // namespace
}  // namespace vrk
