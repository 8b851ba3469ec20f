#include "ui/alphabet_dlg.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "settings/reg_key.h"
#include "settings/settings_keys.h"
#include "ui/help.h"
#include "ui/test_ui.h"

namespace vrk {
namespace {

class AlphabetDlgTest : public TUiTest {
  protected:
    // Stores rows "r0".."r9" with separators "|", "/", ... as slots 0..9.
    void StoreHistory(int count) {
        TRegKey key = UserKey(kAlphabetKey);
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(key.SetString("abc" + std::to_string(i), "r" + std::to_string(i)),
                      TRegResult::kOk);
            ASSERT_EQ(key.SetString("sep" + std::to_string(i), std::string(1, "|/;:-+*#=~"[i])),
                      TRegResult::kOk);
        }
    }
    std::string Value(const std::string& name) {
        TRegKey key = UserKey(kAlphabetKey);
        TRegValue value;
        return key.QueryValue(name, value) == TRegResult::kOk ? value.data : "<none>";
    }
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (int i = 0; i < 10; ++i) rows.push_back(Value("abc" + std::to_string(i)));
        return rows;
    }
};

TEST_F(AlphabetDlgTest, OpensWithTheReadableRowsAndTheFirstSeparator) {
    StoreHistory(4);
    TRegKey key = UserKey(kAlphabetKey);
    ASSERT_EQ(key.DeleteValue("sep1"), TRegResult::kOk);  // slot 1 cannot be offered
    CAlphabetDlg dialog;
    auto* combo = Child<QComboBox>(&dialog, "rowCombo");
    auto* separator = Child<QLineEdit>(&dialog, "separatorEdit");
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), QStringLiteral("r0"));
    EXPECT_EQ(separator->text(), QStringLiteral("|"));
    // List item 1 is slot 2: its own separator, not slot 1's.
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    EXPECT_EQ(combo->currentText(), QStringLiteral("r2"));
    EXPECT_EQ(separator->text(), QStringLiteral(";"));
}

// The current row changes nothing; an older one moves to the front and the
// rest keep their places.
TEST_F(AlphabetDlgTest, ChosenOlderRowMovesToTheFront) {
    StoreHistory(10);
    const auto before = Rows();
    CAlphabetDlg same;
    Child<QPushButton>(&same, "okButton")->click();
    EXPECT_EQ(same.result(), QDialog::Accepted);
    EXPECT_EQ(Rows(), before);

    CAlphabetDlg dialog;
    auto* combo = Child<QComboBox>(&dialog, "rowCombo");
    combo->setCurrentIndex(3);
    emit combo->activated(3);
    Child<QPushButton>(&dialog, "okButton")->click();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"r3", "r0", "r1", "r2", "r4", "r5", "r6", "r7",
                                                "r8", "r9"}));
    EXPECT_EQ(Value("sep0"), ":");
    EXPECT_EQ(Value("sep1"), "|");
}

TEST_F(AlphabetDlgTest, TypedRowIsStoredInWindows1250AndAnEmptySeparatorKeepsTheBar) {
    StoreHistory(2);
    CAlphabetDlg dialog;
    auto* combo = Child<QComboBox>(&dialog, "rowCombo");
    combo->clearEditText();
    TypeText(combo->lineEdit(), QStringLiteral("AaBbCcČč"));
    auto* separator = Child<QLineEdit>(&dialog, "separatorEdit");
    separator->clear();
    QTest::keyClicks(separator, QStringLiteral("/x"));  // one character only
    Child<QPushButton>(&dialog, "okButton")->click();
    EXPECT_EQ(Value("abc0"), "AaBbCc\xC8\xE8");
    EXPECT_EQ(Value("sep0"), "/");
    EXPECT_EQ(Value("abc1"), "r0");
    EXPECT_EQ(Value("abc2"), "r1");

    // An empty separator keeps the bar.
    CAlphabetDlg empty;
    Child<QComboBox>(&empty, "rowCombo")->setEditText(QStringLiteral("Aa|Bb"));
    Child<QLineEdit>(&empty, "separatorEdit")->clear();
    Child<QPushButton>(&empty, "okButton")->click();
    EXPECT_EQ(Value("abc0"), "Aa|Bb");
    EXPECT_EQ(Value("sep0"), "|");
}

TEST_F(AlphabetDlgTest, CancelStoresNothingAndHelpOpensItsContext) {
    StoreHistory(3);
    const auto before = Rows();
    CAlphabetDlg dialog;
    Child<QComboBox>(&dialog, "rowCombo")->setEditText(QStringLiteral("nova"));
    Child<QPushButton>(&dialog, "helpButton")->click();
    Child<QPushButton>(&dialog, "cancelButton")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(Rows(), before);
    EXPECT_EQ(helpContexts_, std::vector<int>{help::kAlphabet});
}

}  // namespace
}  // namespace vrk
