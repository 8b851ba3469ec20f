// The manager's Slovene texts: menus, commands with their status texts and
// tool tips, status panes and messages. Windows take their texts from here.
#pragma once

#include <QString>
#include <span>

#include "ui/commands.h"
#include "ui/ui_texts.h"

namespace vrk::texts {

// Every command of the manager, built into actions by one recipe. Commands
// whose work comes later stand here too, so menus and the toolbar are
// complete; the frame keeps them disabled until a handler is connected.
std::span<const TCommand> ManagerCommands();

// Main menus ("Pogled", "Nastavitve", "Pomoč" and the toolbar's caption
// are the shared ones of ui/ui_texts.h).
inline const QString kMenuLibrary = QStringLiteral("&Knjižnica");
inline const QString kMenuDictionary = QStringLiteral("&Slovar");
inline const QString kMenuChange = QStringLiteral("&Spremeni");

// Pop-up menus: the library tree's, the list's and the one after a
// right-button drag. The tree's pop-up names two dictionary commands its own way.
inline const QString kPopupAddDictionary = QStringLiteral("Dodaj &Slovar...\tCtrl+S");
inline const QString kPopupRemoveDictionary = QStringLiteral("&Odstrani Slovar");
// The menu after a right-button drag (rows of the command table).
inline constexpr const char* kDropCopy = "&Kopiraj";
inline constexpr const char* kDropMove = "&Premakni";

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

// Messages.
inline const QString kNameExists = QStringLiteral("Knjižnica s tem imenom že obstaja.");
// A typed text with characters the settings store and the dictionaries
// cannot hold (%1: each of them, UnstorableCharacters), and a library name
// with a backslash, which separates the levels of the library tree.
inline const QString kTextNotStorable = QStringLiteral(
    "Besedilo vsebuje znake, ki jih ni mogoče shraniti: %1\nKnjižnice in slovarji hranijo "
    "besedila v kodni tabeli Windows-1250 (srednjeevropska latinica), ki teh znakov nima. "
    "Zamenjajte ali izbrišite jih.");
inline const QString kBackslashInName = QStringLiteral(
    "Ime knjižnice ne sme vsebovati poševnice nazaj (\\): v nastavitvah loči knjižnico od "
    "njenih podknjižnic.");
inline const QString kCannotRemoveAll = QStringLiteral("Vseh knjižnic ni mogoče odstraniti.");
inline const QString kLibraryNotEmpty =
    QStringLiteral("Knjižnica ni prazna. Želite kljub temu nadaljevati?");
inline const QString kCannotRemoveLibrary = QStringLiteral("Knjižnice ni možno odstraniti.");
inline const QString kAlreadyMember = QStringLiteral("Knjižnica že vsebuje ta slovar.");
inline const QString kChosenNotADictionary =
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

// Dialog buttons of the manager's own dialogs ("V redu", "Prekliči" and
// "Pomoč" are the shared ones of ui/ui_texts.h).
inline const QString kNext = QStringLiteral("&Naprej >");
inline const QString kBack = QStringLiteral("< Na&zaj");
inline const QString kSave = QStringLiteral("Shrani");

// The header fields (new-dictionary wizard, page 1; dictionary data).
inline const QString kNameLabel = QStringLiteral("&Ime slovarja:");
inline const QString kAuthorLabel = QStringLiteral("&Avtor:");
inline const QString kNotesLabel = QStringLiteral("&Opombe:");
// The security settings (wizard, page 2; security settings dialog).
inline const QString kExportAllowed = QStringLiteral("Omogoči &izvažanje slovarja");
inline const QString kChangesAllowed = QStringLiteral("Omogoči &spremembe");
inline const QString kProtect = QStringLiteral("Zaščiti z &geslom");
inline const QString kPasswordGroup = QStringLiteral("Geslo");

// Dialog captions.
inline const QString kNewDictPage1Title = QStringLiteral("Nov Slovar (1/2)");
inline const QString kNewDictPage2Title = QStringLiteral("Nov Slovar (2/2)");
inline const QString kDictDataTitle = QStringLiteral("Podatki o Slovarju");
inline const QString kPasswordTitle = QStringLiteral("Geslo");
inline const QString kSecurityTitle = QStringLiteral("Varnostne Nastavitve");
inline const QString kRemapTitle = QStringLiteral("Priredi Pisavo");
inline const QString kImportTitle = QStringLiteral("Uvozi Slovar");
inline const QString kExportTitle = QStringLiteral("Izvozi");

// The password prompt: the instruction, with the name in quotes.
inline const QString kPasswordPrompt =
    QStringLiteral("Prosim, vpišite geslo za sledeči slovar:\n\"%1\"");
// Letter remapping.
inline const QString kRemapFrom = QStringLiteral("&Zamenjaj črko:");
inline const QString kRemapTo = QStringLiteral("&s črko:");
// The import dialog.
inline const QString kImportSource = QStringLiteral("&Obstoječi slovar:");
inline const QString kImportTarget = QStringLiteral("&Novi slovar:");
inline const QString kBrowseTarget = QStringLiteral("Po&išči");
// The export chooser's separator panel and buttons.
inline const QString kExportButton = QStringLiteral("Izvozi");
inline const QString kDescriptionSeparator = QStringLiteral("Opise istega gesla loči z:");
inline const QString kFieldSeparator = QStringLiteral("Za ločilo med polji uporabi:");

// File dialogs: filters and the initial file names (the dictionaries' are
// the shared ones of ui/ui_texts.h).
inline const QString kDictionarySuffix = QStringLiteral("vrk3");
// The older formats; a first-generation file may have any name.
inline const QString kOlderFormatsFilter = QStringLiteral(
    "Verbatrakon II Slovarji (*.vrk);;Verbatrakon I Slovarji (*);;Oblikovano Besedilo (*.csv)");
inline const QString kOlderFormatFileName = QStringLiteral("*.vrk");
inline const QString kPictureFilter =
    QStringLiteral("Slike v BMP formatu (*.bmp);;Vse Datoteke (*)");
inline const QString kPictureFileName = QStringLiteral("*.bmp");

// The texts of the progress window for each job.
inline const QString kJobImportSecondGen =
    QStringLiteral("Uvoz slovarja iz formata Verbatrakon II...");
inline const QString kJobImportCsv = QStringLiteral("Uvoz slovarja iz formata CSV...");
inline const QString kJobImportFirstGen =
    QStringLiteral("Uvoz slovarja iz formata Verbatrakon I...");
inline const QString kJobExportSecondGen =
    QStringLiteral("Izvoz slovarja v format Verbatrakon II...");
inline const QString kJobExportCsv = QStringLiteral("Izvoz slovarja v format CSV...");
inline const QString kJobExportFirstGen =
    QStringLiteral("Izvoz slovarja v format Verbatrakon I...");
inline const QString kJobRemap = QStringLiteral("Prirejanje pisave...\n%1");
// What a failed job says.
inline const QString kImportFailed = QStringLiteral("Pri uvozu slovarja je prišlo do napake.");
inline const QString kExportFailed = QStringLiteral("Pri izvozu slovarja je prišlo do napake.");
inline const QString kRemapFailed = QStringLiteral("Pri prirejanju slovarja je prišlo do napake.");
// What an import or export changed in the texts it carried (shown only
// when it changed something): %1 bytes 0x02 made spaces, %2 lines cut;
// %1 line breaks written as spaces.
inline const QString kImportChangedTexts = QStringLiteral(
    "Uvoz je spremenil nekatera besedila.\nZnaki 0x02, zamenjani s presledkom: "
    "%1\nVrstice, skrajšane na 99 999 znakov: %2");
inline const QString kExportChangedTexts = QStringLiteral(
    "Izvoz je spremenil nekatera besedila.\nPrelomi vrstic, zapisani kot "
    "presledek: %1");

// Messages of the dictionary commands.
inline const QString kCreateFailed = QStringLiteral("Datoteke ni bilo možno ustvariti.");
inline const QString kInfoWriteFailed = QStringLiteral("Napaka pri vpisovanju podatkov v slovar.");
inline const QString kFileError = QStringLiteral("Napaka v datoteki.");
inline const QString kDataRefused =
    QStringLiteral("Podatkov o slovarju \"%1\" ne morete spremeniti.");
inline const QString kDataNotChanged = QStringLiteral(
    "Podatkov ni mogoče spremeniti. Datoteka je poškodovana ali pa označena samo za branje.");
inline const QString kWrongPassword = QStringLiteral("Vpisali ste napačno geslo!");
inline const QString kSecurityRefused =
    QStringLiteral("Varnostnih nastavitev slovarja \"%1\" ne morete spremeniti.");
inline const QString kSecurityNotChanged = QStringLiteral(
    "Varnostnih nastavitev slovarja ni mogoče spremeniti. Datoteka je poškodovana "
    "ali pa označena samo za branje.");
// With several dictionaries selected (the program has always said it so).
inline const QString kSecurityNotChangedMany = QStringLiteral(
    "Varnistnih nastavitev ni mogoče spremeniti. Datoteka je poškodovana ali pa "
    "označena samo za branje.");
inline const QString kCannotOpenFile = QStringLiteral("Datoteke ni možno odpreti.");
inline const QString kDamagedDictionary =
    QStringLiteral("Datoteka s slovarjem \"%1\" je poškodovana.");
inline const QString kPictureRefused =
    QStringLiteral("Slovarju \"%1\" ne morete določiti nove slike.");
inline const QString kPictureFailed =
    QStringLiteral("Slovarju \"%1\" ni bilo možno določiti nove slike.");
inline const QString kImportNeedsFiles =
    QStringLiteral("Vnesti morate izvorno in ciljno datoteko.");
inline const QString kImportInfoFailed =
    QStringLiteral("Uvoz datoteke je bil neuspešen (napaka pri osnovnih podatkih).");
inline const QString kExportDisabled = QStringLiteral("Izvoz tega slovarja je onemogočen.");
// Refusals that keep files from being destroyed.
inline const QString kImportSameFile = QStringLiteral(
    "Novi slovar ne more biti datoteka, iz katere uvažate. Izberite drugo ime novega slovarja.");
inline const QString kExportSameFile = QStringLiteral(
    "Slovarja ni mogoče izvoziti v njegovo lastno datoteko. Izberite drugo ime datoteke.");
// A protected dictionary that a command would replace or remap, and one
// that allows no changes.
inline const QString kReplaceRefused = QStringLiteral("Slovarja \"%1\" ne morete nadomestiti.");
inline const QString kRemapRefused = QStringLiteral("Pisave slovarja \"%1\" ne morete prirediti.");
inline const QString kDictionaryKeepsAsItIs =
    QStringLiteral("Slovar \"%1\" ne dovoljuje sprememb, zato ostane, kakršen je.");
// An export whose target is a dictionary: the file name, and its library.
inline const QString kExportOverDictionary = QStringLiteral(
    "Datoteka \"%1\" je slovar Verbatrakon III. Izvoz bi ga nadomestil z datoteko drugega "
    "formata in slovar bi bil izgubljen.\nAli ga želite kljub temu nadomestiti?");
inline const QString kExportOverMember = QStringLiteral(
    "Datoteka \"%1\" je slovar Verbatrakon III v knjižnici \"%2\". Izvoz bi ga nadomestil z "
    "datoteko drugega formata, slovar bi bil izgubljen in knjižnica bi ga izgubila.\nAli ga "
    "želite kljub temu nadomestiti?");
inline const QString kSeparatorMissing =
    QStringLiteral("Vpišite ločilo: znak, ki bo v izvoženi datoteki ločil opise oz. polja.");
inline const QString kSeparatorInvalid =
    QStringLiteral("Tega znaka ni mogoče uporabiti kot ločilo. Izberite drug znak.");

// The status-pane texts for n selected dictionaries and s entries in them
// (a leading space, the number right-aligned, the form that n or s itself
// asks for).
QString DictionaryCountText(int n);
QString EntryCountText(long long s);

// Names and descriptions a screen reader reads for controls without a label
// of their own.
inline const QString kA11yLibraryTree = QStringLiteral("Knjižnice");
inline const QString kA11yDictionaryList = QStringLiteral("Slovarji v knjižnici");
inline const QString kA11yDictionaryPane = QStringLiteral("Število označenih slovarjev");
inline const QString kA11yEntryPane = QStringLiteral("Skupno število gesel v označenih slovarjih");
inline const QString kA11yBrowseSource = QStringLiteral("Poišči datoteko obstoječega slovarja.");
inline const QString kA11yBrowseTarget = QStringLiteral("Izberi datoteko novega slovarja.");
inline const QString kA11yLibraryNameEdit = QStringLiteral("Ime knjižnice");

}  // namespace vrk::texts
