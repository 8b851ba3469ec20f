// TCommandHost: what the manager's library and dictionary commands need of
// the view they run in. The view implements it; a test can give a command a
// fake of it and a few free-standing tree items instead of a whole window.
// Also the item data of a library item, which commands and view share.
#pragma once

#include <QTreeWidgetItem>
#include <string>
#include <vector>

#include "manager/member_reader.h"

namespace vrk {
struct TScratchSet;
}

class QWidget;

// The images of the tree and the list, by index.
enum TViewImage {
    kImageLibrary = 0,        // a library without sub-libraries
    kImageLibraryOpen = 1,    // with sub-libraries, expanded
    kImageDictionary = 2,     // a dictionary
    kImageLibraryClosed = 3,  // with sub-libraries, collapsed
};

// Item data of a tree item: its name as stored (Windows-1250 bytes) and
// its image. The list's columns and item data are in dictionary_list.h.
inline constexpr int kNameBytesRole = Qt::UserRole;
inline constexpr int kImageRole = Qt::UserRole + 1;

// Gives a library item its image.
void SetLibraryImage(QTreeWidgetItem* item, TViewImage image);
// A new library item showing `name` (stored bytes), editable.
QTreeWidgetItem* MakeLibraryItem(const std::string& name);
// The settings key path of a library item: Groups, then each level's name
// from the top. Null gives Groups itself.
std::string LibraryKeyPath(const QTreeWidgetItem* item);

// What a command acts on.
struct TSelection {
    QTreeWidgetItem* library = nullptr;  // the selected library; null when none
    std::vector<QTreeWidgetItem*> rows;  // the selected dictionaries, in list order
};

class TCommandHost {
  public:
    virtual ~TCommandHost() = default;
    // The window the commands' dialogs and messages belong to.
    virtual QWidget* Window() = 0;
    virtual TSelection Selection() const = 0;
    // The scratch folder known so far (empty while none is); choosing one
    // on the way changes it.
    virtual std::string& BackupDir() = 0;
    // The manager's scratch files, asking for the scratch folder when none
    // is known yet; false when it is not given.
    bool ScratchFiles(vrk::TScratchSet& paths);
    // Lists a dictionary in the selected library; a row of the same file
    // goes first. `alone`: only it is selected and shown, else it is
    // selected beside the others.
    virtual void ListDictionary(const TMemberRow& row, bool alone) = 0;
    // Takes the selected rows out of the list.
    virtual void RemoveSelectedRows() = 0;
    // Lists the selected library again, with its messages.
    virtual void ListAgain() = 0;
    // How many libraries the tree shows, at every level.
    virtual int LibraryCount() const = 0;
    // Puts a new library item under `parent` (null: top level), selects it
    // and opens its name for editing.
    virtual void InsertLibrary(QTreeWidgetItem* parent, QTreeWidgetItem* item) = 0;
    // Opens a library's name for editing.
    virtual void EditLibraryName(QTreeWidgetItem* item) = 0;
    // Takes a removed library out of the tree; another one stays selected.
    virtual void RemoveLibraryItem(QTreeWidgetItem* item) = 0;
};
