#include "ui/commands.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QWidget>

#include "ui/icons.h"

namespace vrk {

TCommandTexts SplitCommandTexts(const TCommand& command) {
    TCommandTexts texts;
    const QString text = QString::fromUtf8(command.text ? command.text : "");
    texts.menuText = text.section('\t', 0, 0);
    texts.keyText = text.section('\t', 1);
    const QString prompt = QString::fromUtf8(command.prompt ? command.prompt : "");
    texts.statusTip = prompt.section('\n', 0, 0);
    texts.toolTip = prompt.section('\n', 1);
    if (texts.toolTip.isEmpty()) {
        // "&&" is a real ampersand; a single "&" only marks the mnemonic.
        texts.toolTip = texts.menuText;
        texts.toolTip.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
        texts.toolTip.remove('&');
        texts.toolTip.replace(QChar(1), QChar('&'));
    }
    return texts;
}

TCommandSet::TCommandSet(QWidget* owner) : QObject(owner), m_pOwner(owner) {}

void TCommandSet::Add(std::span<const TCommand> table) {
    for (const TCommand& command : table) {
        if (m_actions.count(command.id)) continue;
        const TCommandTexts texts = SplitCommandTexts(command);
        auto* action = new QAction(texts.menuText, m_pOwner);
        action->setObjectName(QStringLiteral("command%1").arg(command.id));
        action->setProperty("commandId", command.id);
        const QString key = command.shortcut ? QString::fromUtf8(command.shortcut) : texts.keyText;
        if (!key.isEmpty()) action->setShortcut(QKeySequence(key, QKeySequence::PortableText));
        action->setStatusTip(texts.statusTip);
        action->setToolTip(texts.toolTip);
        if (command.icon) action->setIcon(ToolbarIcon(QString::fromUtf8(command.icon)));
        action->setCheckable(command.checkable);
        m_pOwner->addAction(action);
        m_actions[command.id] = action;
    }
}

QAction* TCommandSet::Action(int id) const {
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void TCommandSet::OnTriggered(int id, std::function<void()> handler) {
    if (QAction* action = Action(id))
        connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
}

void TCommandSet::SetEnabledRule(int id, std::function<bool()> rule) {
    m_enabledRules[id] = std::move(rule);
}

void TCommandSet::SetCheckedRule(int id, std::function<bool()> rule) {
    m_checkedRules[id] = std::move(rule);
}

void TCommandSet::UpdateStates() {
    for (const auto& [id, rule] : m_enabledRules)
        if (QAction* action = Action(id)) action->setEnabled(rule());
    for (const auto& [id, rule] : m_checkedRules)
        if (QAction* action = Action(id)) action->setChecked(rule());
}

void TCommandSet::FillMenu(QMenu* menu, std::initializer_list<int> ids) {
    for (int id : ids) {
        if (id == kSeparator) {
            menu->addSeparator();
        } else if (QAction* action = Action(id)) {
            menu->addAction(action);
        }
    }
    connect(menu, &QMenu::aboutToShow, this, &TCommandSet::UpdateStates, Qt::UniqueConnection);
}

void TCommandSet::FillToolBar(QToolBar* toolBar, std::initializer_list<int> ids) {
    for (int id : ids) {
        if (id == kSeparator) {
            toolBar->addSeparator();
        } else if (QAction* action = Action(id)) {
            toolBar->addAction(action);
        }
    }
}

QAction* FindCommand(const QObject* root, int id) {
    if (!root) return nullptr;
    return root->findChild<QAction*>(QStringLiteral("command%1").arg(id));
}

}  // namespace vrk
