// CSearchOptionsDlg: the search options pop-up, a tree of four switches
// ("CountLetters", "MatchCase", "ExtendedPattern", "Anagram" under "Fndr")
// with an off or on picture each. A click on the picture column (the first
// 17 pixels) toggles the switch under the mouse; a click on the text does
// not.
#pragma once

#include <QIcon>
#include <string_view>

#include "finder/search_bar_popup.h"
#include "store/pattern.h"

class QTreeWidget;
class QTreeWidgetItem;

// The values of the two switches that choose how the known letters are
// read. Programs that know only the first two switches ignore them.
inline constexpr std::string_view kExtendedPatternValue = "ExtendedPattern";
inline constexpr std::string_view kAnagramValue = "Anagram";

// The stored switch; missing or not a number counts as off.
[[nodiscard]] bool ReadSearchOption(std::string_view name);
// How the known letters are read, from the two switches above.
[[nodiscard]] vrk::TPatternSyntax ReadPatternSyntax();
// Turns the stored switch over. False when it cannot be written (it then
// keeps its old value).
[[nodiscard]] bool ToggleSearchOption(std::string_view name);

class CSearchOptionsDlg : public CSearchBarPopup {
    Q_OBJECT
  public:
    static constexpr int kImageColumnWidth = 17;

    explicit CSearchOptionsDlg(QWidget* parent);

    QTreeWidget* Tree() const { return m_pTree; }
    // Whether an item shows its "on" picture.
    [[nodiscard]] bool ShowsOn(int item) const;
    // Toggles the switch of `item` (0 letter count, 1 case, 2 extended
    // patterns, 3 anagram) and shows its new picture; a store failure shows
    // the registry message.
    void Toggle(int item);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void Refill() override;
    void OnFocusLost() override;

  private:
    void showValue(int item, bool on);

    QTreeWidget* m_pTree = nullptr;
    QIcon m_offIcon;
    QIcon m_onIcon;
};
