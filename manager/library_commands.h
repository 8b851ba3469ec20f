// TLibraryCommands: creating, renaming and removing libraries, adding
// dictionaries to the selected library and removing them from it. The
// settings store is changed here; the host shows the change in its tree
// and list.
#pragma once

#include <QString>

#include "manager/command_host.h"

class TLibraryCommands {
  public:
    explicit TLibraryCommands(TCommandHost& host) : m_host(host) {}

    // A library beside the selected one (top level when none is selected).
    void NewLibrary();
    // A library under the selected one.
    void NewSubLibrary();
    // Opens the selected library's name for editing.
    void RenameLibrary();
    // Stores the name typed for `item`; a refused name leaves the old one.
    void RenameCommitted(QTreeWidgetItem* item, const QString& text);
    // Removes the selected library, after a question when it holds
    // anything; the last one stays.
    void RemoveLibrary();
    // Makes the chosen dictionary files members of the selected library.
    void AddDictionaries();
    // Takes the selected dictionaries out of the selected library.
    void RemoveDictionaries();
    // Creates a library under `parent` (null: top level), selects it and
    // opens its name for editing.
    void CreateLibrary(QTreeWidgetItem* parent);

  private:
    TCommandHost& m_host;
};
