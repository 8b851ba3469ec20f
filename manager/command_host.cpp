#include "manager/command_host.h"

#include "settings/settings_keys.h"
#include "ui/cp1250_text.h"
#include "ui/icons.h"
#include "ui/temp_dir_dlg.h"

void SetLibraryImage(QTreeWidgetItem* item, TViewImage image) {
    static const int kNumbers[] = {vrk::icon::kLibrary, vrk::icon::kLibraryOpen,
                                   vrk::icon::kDictionary, vrk::icon::kLibraryClosed};
    if (!item) return;
    item->setData(0, kImageRole, static_cast<int>(image));
    item->setIcon(0, vrk::RoleIcon(kNumbers[image]));
}

QTreeWidgetItem* MakeLibraryItem(const std::string& name) {
    auto* item = new QTreeWidgetItem;
    item->setText(0, vrk::FromCp1250(name));
    item->setData(0, kNameBytesRole, QByteArray::fromStdString(name));
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    SetLibraryImage(item, kImageLibrary);
    return item;
}

std::string LibraryKeyPath(const QTreeWidgetItem* item) {
    std::vector<const QTreeWidgetItem*> levels;
    for (; item; item = item->parent()) levels.push_back(item);
    std::string path(vrk::kGroupsKey);
    for (auto it = levels.rbegin(); it != levels.rend(); ++it) {
        path += '\\';
        path += (*it)->data(0, kNameBytesRole).toByteArray().toStdString();
    }
    return path;
}

bool TCommandHost::ScratchFiles(vrk::TScratchSet& paths) {
    return vrk::GetBackupPaths(Window(), vrk::kManagerScratch, paths, &BackupDir());
}
