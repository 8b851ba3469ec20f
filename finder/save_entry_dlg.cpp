#include "finder/save_entry_dlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "finder/finder_texts.h"
#include "settings/library_registry.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "settings/temp_dir.h"
#include "store/data_file.h"
#include "ui/accessible_text.h"
#include "ui/cp1250_text.h"
#include "ui/dialog_buttons.h"
#include "ui/failure_text.h"
#include "ui/file_dialog.h"
#include "ui/help.h"
#include "ui/icons.h"
#include "ui/message_box.h"
#include "ui/temp_dir_dlg.h"
#include "ui/ui_texts.h"

namespace {

// The picture of each item kind: a dictionary, a library without
// sub-items, a collapsed and an expanded library with sub-items.
int KindIcon(CSaveEntryDlg::ItemKind kind) {
    switch (kind) {
        case CSaveEntryDlg::kDictionaryItem:
            return vrk::icon::kDictionary;
        case CSaveEntryDlg::kLibraryItem:
            return vrk::icon::kLibrary;
        case CSaveEntryDlg::kLibraryClosed:
            return vrk::icon::kLibraryClosed;
        case CSaveEntryDlg::kLibraryOpen:
            return vrk::icon::kLibraryOpen;
    }
    return vrk::icon::kLibrary;
}

}  // namespace

CSaveEntryDlg::CSaveEntryDlg(const QString& word, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("saveEntryDlg"));
    setWindowTitle(vrk::texts::kSaveDlgTitle);
    createControls();
    createLayout();
    connectControls();
    m_pWord->setText(word);
    // The word opens selected, so that typing replaces it.
    m_pWord->selectAll();
    // Without a temporary directory the dictionaries cannot be looked at:
    // the tree stays empty.
    if (vrk::GetBackupPaths(this, vrk::kFinderScratch, m_scratch)) {
        m_bHavePaths = true;
        fillTree();
    }
}

void CSaveEntryDlg::createControls() {
    m_pWord = new QLineEdit(this);
    m_pWord->setObjectName(QStringLiteral("wordEdit"));
    m_pTree = new QTreeWidget(this);
    m_pTree->setObjectName(QStringLiteral("dictionaryTree"));
    m_pTree->setHeaderHidden(true);
    m_pTree->setRootIsDecorated(true);
    m_pTree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pBrowse = new QPushButton(vrk::texts::kBrowse, this);
    m_pBrowse->setObjectName(QStringLiteral("browseButton"));
    m_pBrowse->setAutoDefault(false);
}

void CSaveEntryDlg::createLayout() {
    auto* wordLabel = new QLabel(vrk::texts::kSaveDlgWord, this);
    wordLabel->setBuddy(m_pWord);
    auto* treeLabel = new QLabel(vrk::texts::kSaveDlgDictionary, this);
    treeLabel->setBuddy(m_pTree);
    // Only "V redu" answers Enter, whichever button has the focus; it waits
    // for a dictionary to be selected.
    const vrk::TDialogButtons buttons = vrk::AddOkCancelHelp(this, vrk::help::kSaveEntry);
    buttons.box->addButton(m_pBrowse, QDialogButtonBox::ActionRole);
    buttons.cancel->setAutoDefault(false);
    buttons.help->setAutoDefault(false);
    m_pOk = buttons.ok;
    m_pOk->setEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(wordLabel);
    layout->addWidget(m_pWord);
    layout->addSpacing(6);
    layout->addWidget(treeLabel);
    layout->addWidget(m_pTree, 1);
    layout->addSpacing(6);
    layout->addWidget(buttons.box);
    resize(380, 420);
    vrk::NameFromLabels(this);
}

void CSaveEntryDlg::connectControls() {
    connect(m_pTree, &QTreeWidget::itemSelectionChanged, this, &CSaveEntryDlg::onSelectionChanged);
    connect(m_pTree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (item && item->data(0, kKindRole).toInt() == kDictionaryItem) accept();
    });
    connect(m_pTree, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { setKind(item, kLibraryOpen); });
    connect(m_pTree, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* item) { setKind(item, kLibraryClosed); });
    connect(m_pBrowse, &QPushButton::clicked, this, &CSaveEntryDlg::Browse);
}

void CSaveEntryDlg::setKind(QTreeWidgetItem* item, ItemKind kind) const {
    // Only libraries with sub-items change between open and closed.
    if ((kind == kLibraryOpen || kind == kLibraryClosed) && item->childCount() == 0) return;
    item->setData(0, kKindRole, kind);
    item->setIcon(0, vrk::RoleIcon(KindIcon(kind)));
}

void CSaveEntryDlg::fillTree() {
    std::string lastLibrary;
    if (!vrk::TGetRegistryString(vrk::kFinderPath, "LastLib", lastLibrary)) lastLibrary.clear();
    vrk::TLibraryNode groups;
    const vrk::TRegResult result = vrk::ReadLibraryTree(groups);
    if (result != vrk::TRegResult::kOk && result != vrk::TRegResult::kNotFound)
        vrk::ShowMessage(this, vrk::LibraryReadError(result), vrk::TMsgIcon::kNone);
    QTreeWidgetItem* remembered = fillLibrary(groups, nullptr, lastLibrary);
    if (remembered) {
        m_pTree->setCurrentItem(remembered);
        remembered->setExpanded(true);
        m_pTree->scrollToItem(remembered);
    }
}

QTreeWidgetItem* CSaveEntryDlg::fillLibrary(const vrk::TLibraryNode& node, QTreeWidgetItem* parent,
                                            const std::string& lastLibrary) {
    QTreeWidgetItem* remembered = nullptr;
    auto add = [this, parent](QTreeWidgetItem* item) {
        if (parent)
            parent->addChild(item);
        else
            m_pTree->addTopLevelItem(item);
    };
    for (const vrk::TLibraryNode& library : node.children) {
        auto* item = new QTreeWidgetItem({vrk::FromCp1250(library.name)});
        setKind(item, kLibraryItem);
        add(item);
        QTreeWidgetItem* below = fillLibrary(library, item, lastLibrary);
        if (!remembered) remembered = below;
        if (library.name == lastLibrary) remembered = item;
    }
    for (const std::string& member : node.dictionaries)
        if (QTreeWidgetItem* item = dictionaryItem(vrk::PathText(member))) add(item);
    if (parent && parent->childCount() > 0) setKind(parent, kLibraryClosed);
    return remembered;
}

CSaveEntryDlg::TCheck CSaveEntryDlg::checkDictionary(const QString& path, std::string& name) const {
    if (!m_bHavePaths) return TCheck::kNotADictionary;
    vrk::TDataFile file = m_scratch.Open(vrk::PathBytes(path));
    if (!file.GetName(name, vrk::kMaxRegistryString)) return TCheck::kNotADictionary;
    const std::int32_t flags = file.GetFlags();
    if (flags < 0 || (flags & vrk::kFlagChangesAllowed) == 0) return TCheck::kRefusesChanges;
    return TCheck::kAccepts;
}

QTreeWidgetItem* CSaveEntryDlg::dictionaryItem(const QString& path) const {
    std::string name;
    if (checkDictionary(path, name) != TCheck::kAccepts) return nullptr;
    return makeDictionaryItem(path, name);
}

QTreeWidgetItem* CSaveEntryDlg::makeDictionaryItem(const QString& path,
                                                   const std::string& name) const {
    auto* item = new QTreeWidgetItem({vrk::FromCp1250(name)});
    item->setData(0, kPathRole, path);
    item->setToolTip(0, path);
    setKind(item, kDictionaryItem);
    return item;
}

void CSaveEntryDlg::onSelectionChanged() {
    const QList<QTreeWidgetItem*> selected = m_pTree->selectedItems();
    m_pOk->setEnabled(selected.size() == 1 &&
                      selected.first()->data(0, kKindRole).toInt() == kDictionaryItem);
}

void CSaveEntryDlg::Browse() {
    vrk::TFileDialogRequest request;
    std::string saveDir;
    if (vrk::TGetRegistryString(vrk::kFinderPath, "SaveDir", saveDir, vrk::kBackupDirBuffer))
        request.directory = vrk::PathText(saveDir);
    request.filter = vrk::texts::kDictionaryFilter;
    request.fileName = vrk::texts::kDictionaryFileName;
    const vrk::TFileDialogResult chosen = vrk::GetOpenFiles(this, request);
    if (chosen.files.isEmpty()) return;
    if (!chosen.directory.isEmpty())
        (void)vrk::TSetRegistryString(vrk::kFinderPath, "SaveDir", vrk::PathBytes(chosen.directory),
                                      vrk::kRegCreateKey | vrk::kRegOverwrite);
    const QString path = chosen.files.first();
    std::string name;
    switch (checkDictionary(path, name)) {
        case TCheck::kNotADictionary:
            vrk::ShowError(this, vrk::texts::kNotADictionary);
            return;
        case TCheck::kRefusesChanges:
            vrk::ShowWarning(this, vrk::texts::kChangesNotAllowed);
            return;
        case TCheck::kAccepts:
            break;
    }
    QTreeWidgetItem* item = makeDictionaryItem(path, name);
    m_pTree->addTopLevelItem(item);
    m_pTree->setCurrentItem(item);
    m_pTree->scrollToItem(item);
}

void CSaveEntryDlg::accept() {
    const QList<QTreeWidgetItem*> selected = m_pTree->selectedItems();
    if (selected.size() != 1 || selected.first()->data(0, kKindRole).toInt() != kDictionaryItem)
        return;
    const QTreeWidgetItem* item = selected.first();
    m_strDataFile = item->data(0, kPathRole).toString();
    m_strWord = m_pWord->text();
    // The library the dictionary was chosen in opens first next time.
    if (const QTreeWidgetItem* library = item->parent())
        (void)vrk::TSetRegistryString(vrk::kFinderPath, "LastLib", vrk::ToCp1250(library->text(0)),
                                      vrk::kRegCreateKey | vrk::kRegOverwrite);
    QDialog::accept();
}
