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

// The history's own rules (which rows are listed, how a stored row moves
// up) are the settings' tests; these check what the dialog shows and stores.
class AlphabetDlgTest : public TUiTest {
  protected:
    // Stores rows "r0".."r3" with separators "|", "/", ";", ":" as slots 0..3.
    void SetUp() override {
        TUiTest::SetUp();
        TRegKey key = UserKey(kAlphabetKey);
        for (int i = 0; i < 4; ++i) {
            ASSERT_EQ(key.SetString("abc" + std::to_string(i), "r" + std::to_string(i)),
                      TRegResult::kOk);
            ASSERT_EQ(key.SetString("sep" + std::to_string(i), std::string(1, "|/;:"[i])),
                      TRegResult::kOk);
        }
    }
    std::string Value(const std::string& name) {
        TRegValue value;
        return UserKey(kAlphabetKey).QueryValue(name, value) == TRegResult::kOk ? value.data
                                                                                : "<none>";
    }
};

// A list item is the slot it shows, with that slot's own separator, also
// where a slot before it cannot be offered; Cancel stores nothing.
TEST_F(AlphabetDlgTest, TheRowChosenIsShownWithItsSeparatorAndStoredFirst) {
    ASSERT_EQ(UserKey(kAlphabetKey).DeleteValue("sep1"), TRegResult::kOk);
    CAlphabetDlg cancelled;
    Child<QComboBox>(&cancelled, "rowCombo")->setEditText(QStringLiteral("nova"));
    Child<QPushButton>(&cancelled, "helpButton")->click();
    Child<QPushButton>(&cancelled, "cancelButton")->click();
    EXPECT_EQ(Value("abc0"), "r0");
    EXPECT_EQ(helpContexts_, std::vector<int>{help::kAlphabet});

    CAlphabetDlg dialog;
    auto* combo = Child<QComboBox>(&dialog, "rowCombo");
    auto* separator = Child<QLineEdit>(&dialog, "separatorEdit");
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), QStringLiteral("r0"));
    EXPECT_EQ(separator->text(), QStringLiteral("|"));
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    EXPECT_EQ(combo->currentText(), QStringLiteral("r2"));
    EXPECT_EQ(separator->text(), QStringLiteral(";"));
    Child<QPushButton>(&dialog, "okButton")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Value("abc0"), "r2");
    EXPECT_EQ(Value("sep0"), ";");
}

TEST_F(AlphabetDlgTest, TypedRowIsStoredInWindows1250AndAnEmptySeparatorKeepsTheBar) {
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

    CAlphabetDlg empty;
    Child<QComboBox>(&empty, "rowCombo")->setEditText(QStringLiteral("Aa|Bb"));
    Child<QLineEdit>(&empty, "separatorEdit")->clear();
    Child<QPushButton>(&empty, "okButton")->click();
    EXPECT_EQ(Value("abc0"), "Aa|Bb");
    EXPECT_EQ(Value("sep0"), "|");
}

}  // namespace
}  // namespace vrk
