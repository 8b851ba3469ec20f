// Commands built from tables: each row gives the identifier, the menu text
// (with "&" before the mnemonic and, after a tab, the key shown), the prompt
// ("status text\ntool tip"), an optional key and an optional toolbar icon.
// TCommandSet turns the rows into QActions by one recipe, so that menus,
// toolbars, status-bar texts and enabling rules come from one place.
//
// Each action's objectName is "command<id>" and its property "commandId" the
// identifier; tests find actions with FindCommand.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <initializer_list>
#include <map>
#include <span>

class QAction;
class QMenu;
class QToolBar;
class QWidget;

namespace vrk {

struct TCommand {
    int id = 0;
    const char* text = "";           // UTF-8 menu text, e.g. "&Išči\tCtrl+I"
    const char* prompt = "";         // "status text\ntool tip"; either part may be missing
    const char* shortcut = nullptr;  // portable key text; null: the key after the tab
    const char* icon = nullptr;      // toolbar icon name (icons.h); null: none
    bool checkable = false;
};

// The parts of a command's texts, as the recipe uses them.
struct TCommandTexts {
    QString menuText;   // before the tab
    QString keyText;    // after the tab
    QString statusTip;  // prompt before "\n"
    QString toolTip;    // prompt after "\n"; else the menu text without "&"
};
TCommandTexts SplitCommandTexts(const TCommand& command);

// The identifier of a menu or toolbar separator in FillMenu / FillToolBar.
inline constexpr int kSeparator = 0;

class TCommandSet : public QObject {
    Q_OBJECT
  public:
    // The actions are children of `owner` and added to it, so that their keys
    // work wherever the owner's window has the focus.
    explicit TCommandSet(QWidget* owner);

    // Builds one action per row. A row whose identifier exists replaces
    // nothing and is skipped.
    void Add(std::span<const TCommand> table);
    // The action of an identifier; null when there is none.
    QAction* Action(int id) const;

    // What the command does when triggered.
    void OnTriggered(int id, std::function<void()> handler);
    template <class T>
    void Connect(int id, T* receiver, void (T::*slot)()) {
        OnTriggered(id, [receiver, slot] { (receiver->*slot)(); });
    }
    // When the command is enabled (always, without a rule) and checked.
    void SetEnabledRule(int id, std::function<bool()> rule);
    void SetCheckedRule(int id, std::function<bool()> rule);
    // Applies every rule; the window calls it whenever its state may have
    // changed (menus call it before they open).
    void UpdateStates();

    // Appends the actions of `ids` in order; kSeparator adds a separator.
    // Unknown identifiers are skipped. Menus filled here run UpdateStates
    // before they open.
    void FillMenu(QMenu* menu, std::initializer_list<int> ids);
    void FillToolBar(QToolBar* toolBar, std::initializer_list<int> ids);

  private:
    QWidget* m_pOwner;
    std::map<int, QAction*> m_actions;
    std::map<int, std::function<bool()>> m_enabledRules;
    std::map<int, std::function<bool()>> m_checkedRules;
};

// The action of `id` among the actions of `root` and its children.
QAction* FindCommand(const QObject* root, int id);

}  // namespace vrk
