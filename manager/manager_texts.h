// The manager's Slovene texts: menus, commands with their status texts and
// tool tips, status panes and messages. Windows take their texts from here.
#pragma once

#include <QString>
#include <span>

#include "ui/commands.h"

namespace texts {

// Every command of the manager, built into actions by one recipe. Commands
// whose work comes later stand here too, so menus and the toolbar are
// complete; the frame keeps them disabled until a handler is connected.
std::span<const vrk::TCommand> ManagerCommands();

// Main menus.
inline const QString kMenuLibrary = QStringLiteral("&Knjižnica");
inline const QString kMenuDictionary = QStringLiteral("&Slovar");
inline const QString kMenuChange = QStringLiteral("&Spremeni");
inline const QString kMenuView = QStringLiteral("&Pogled");
inline const QString kMenuSettings = QStringLiteral("&Nastavitve");
inline const QString kMenuHelp = QStringLiteral("Po&moč");
inline const QString kToolBarCaption = QStringLiteral("Orodna Vrstica");

// Pop-up menus: the library tree's, the list's and the one after a
// right-button drag. The tree's pop-up names two dictionary commands its own way.
inline const QString kPopupAddDictionary = QStringLiteral("Dodaj &Slovar...\tCtrl+S");
inline const QString kPopupRemoveDictionary = QStringLiteral("&Odstrani Slovar");
inline const QString kDropCopy = QStringLiteral("Kopiraj");
inline const QString kDropMove = QStringLiteral("Premakni");

// List columns.
inline const QString kColumnName = QStringLiteral("Slovar");
inline const QString kColumnCount = QStringLiteral("Št. Gesel");
inline const QString kColumnAuthor = QStringLiteral("Avtor");
inline const QString kColumnFile = QStringLiteral("Datoteka");
// A member that cannot be read now (busy, no permission, folder out of
// reach): its name column, and the tool tip saying why.
inline const QString kUnavailableName = QStringLiteral("(ni dosegljiv)");
inline const QString kUnavailableBusy = QStringLiteral("Slovar uporablja drug program.");
inline const QString kUnavailablePermission =
    QStringLiteral("Ni dovoljenja za branje datoteke ali njene mape.");
inline const QString kUnavailableFolder = QStringLiteral("Mapa s slovarjem ni dosegljiva.");
inline const QString kUnavailableOther = QStringLiteral("Datoteke trenutno ni mogoče prebrati.");

// Status panes with nothing selected.
inline const QString kPaneDictionaries = QStringLiteral("Št. Slovarjev");
inline const QString kPaneEntries = QStringLiteral("Št. Gesel");

// The add-dictionary file dialog.
inline const QString kAddDialogFilter =
    QStringLiteral("Verbatrakon III Slovarji (*.vrk3);;Vse Datoteke (*)");
inline const QString kAddDialogFileName = QStringLiteral("*.vrk3");

// Messages.
inline const QString kInstallMissing =
    QStringLiteral("Prišlo je do težave v registru. Preverite, če je program nameščen pravilno.");
inline const QString kRegistryError = QStringLiteral("Prišlo je do neznane napake v registru.");
inline const QString kNameExists = QStringLiteral("Knjižnica s tem imenom že obstaja.");
inline const QString kCannotRemoveAll = QStringLiteral("Vseh knjižnic ni mogoče odstraniti.");
inline const QString kLibraryNotEmpty =
    QStringLiteral("Knjižnica ni prazna. Želite kljub temu nadaljevati?");
inline const QString kCannotRemoveLibrary = QStringLiteral("Knjižnice ni možno odstraniti.");
inline const QString kAlreadyMember = QStringLiteral("Knjižnica že vsebuje ta slovar.");
inline const QString kNotADictionary =
    QStringLiteral("Izbrana datoteka ni Slovar v formatu VRK3 oz. je poškodovana.");
inline const QString kDamagedMember = QStringLiteral(
    "Ena izmed datotek s slovarjem v tej knjižnici je poškodovana,\nzato bo odstranjena iz "
    "knjižnice.");
inline const QString kUnavailableMembers = QStringLiteral(
    "Nekaterih slovarjev v tej knjižnici trenutno ni mogoče prebrati (uporablja jih drug "
    "program, ni dovoljenja ali njihova mapa ni dosegljiva).\nV knjižnici ostanejo; v seznamu "
    "so označeni kot nedosegljivi.");
inline const QString kUnavailableChosen = QStringLiteral(
    "Izbrane datoteke trenutno ni mogoče prebrati (uporablja jo drug program, ni dovoljenja ali "
    "njena mapa ni dosegljiva).");

// The status-pane texts for n selected dictionaries and s entries in them
// (a leading space, the number right-aligned, the form that n or s itself
// asks for).
QString DictionaryCountText(int n);
QString EntryCountText(long long s);

}  // namespace texts
