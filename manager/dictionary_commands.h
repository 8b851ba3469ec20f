// TDictionaryCommands: the commands on the selected dictionaries and the
// ones that make a dictionary. Each acts on the host's selection, shows its
// dialogs and messages over the host's window and tells the host what to
// list. Split by subject: dictionary_commands.cpp (the new-dictionary
// wizard, the information window, the data dialog), dictionary_settings.cpp
// (security settings, picture, letter remapping), format_commands.cpp
// (import and export).
#pragma once

#include <string>
#include <vector>

#include "manager/command_host.h"

namespace vrk {
class TScratchSet;
}

class TDictionaryCommands {
  public:
    explicit TDictionaryCommands(TCommandHost& host) : m_host(host) {}

    // The two-page wizard: creates an empty dictionary with its data and
    // security settings, registers it in the selected library and lists it.
    void NewDictionary();
    // "Info": the selected dictionary's name, author, notes and picture.
    void DictionaryInfo();
    // "Podatki o Slovarju": changes the selected dictionary's name, author
    // and notes, after its password when it is protected.
    void ChangeDictionaryData();
    // "Varnostne Nastavitve" for one or several selected dictionaries; each
    // protected one asks for its own password first.
    void SecuritySettings();
    // Stores a picture file in every selected dictionary.
    void SetPicture();
    // Replaces one letter by another in every selected dictionary, one job
    // each.
    void RemapLetters();
    // Makes a new dictionary from an older-format file, registers and lists
    // it. The new dictionary is made beside the chosen file and takes its
    // place only when the import and its data are complete.
    void Import();
    // Writes the selected dictionary to an older-format file.
    void Export();

  private:
    // Makes a dictionary the manager made a member of `library` (a member
    // already stays one); false after the settings-store message.
    bool registerNewDictionary(QTreeWidgetItem* library, const std::string& path);
    // Before a command replaces the file at `path`: a protected dictionary
    // there asks for its password. False, after saying why, when it is not
    // given or the file there cannot be read now.
    bool replaceUnlocked(const std::string& path, const vrk::TScratchSet& backups);
    void securityForOne(QTreeWidgetItem* row, const vrk::TScratchSet& backups);
    void securityForMany(const std::vector<QTreeWidgetItem*>& rows,
                         const vrk::TScratchSet& backups);

    TCommandHost& m_host;
};
