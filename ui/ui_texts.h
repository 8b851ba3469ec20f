// The Slovene texts of the shared windows (help window, temporary-directory
// dialog, directory chooser, alphabet dialog, information dialog, about
// boxes), the texts both programs show in their own windows, and why an
// operation failed. Each program keeps its own table for its own windows.
#pragma once

#include <QString>

namespace vrk::texts {

// Buttons shared by the dialogs.
inline const QString kOk = QStringLiteral("V redu");
inline const QString kCancel = QStringLiteral("Prekliči");
inline const QString kHelp = QStringLiteral("Pomoč");
// The answers of a question box.
inline const QString kYes = QStringLiteral("Da");
inline const QString kNo = QStringLiteral("Ne");
// A button that opens a file dialog, and one that opens a chooser for the
// value beside it (the temporary directory, a font).
inline const QString kBrowse = QStringLiteral("&Poišči...");
inline const QString kChange = QStringLiteral("&Spremeni...");

// The menus and the toolbar both main windows have.
inline const QString kMenuView = QStringLiteral("&Pogled");
inline const QString kMenuSettings = QStringLiteral("&Nastavitve");
inline const QString kMenuHelp = QStringLiteral("Po&moč");
inline const QString kToolBarCaption = QStringLiteral("Orodna Vrstica");

// What the command tables of both programs write alike (UTF-8, as TCommand
// takes them): menu texts, and the exit command's prompt.
inline constexpr const char* kCommandToolBar = "&Orodna Vrstica";
inline constexpr const char* kCommandAlphabet = "&Abecedna Vrstica...";
inline constexpr const char* kCommandTempDir = "&Imenik Začasnih Datotek...";
inline constexpr const char* kCommandHelpTopics = "&Teme Pomoči";
inline constexpr const char* kCommandGuide = "&Vodnik Po Verbatrakonu III...";
inline constexpr const char* kExitPrompt = "Konča delo s programom.\nIzhod";

// Either program's start, and a settings store that fails later.
inline const QString kInstallMissing =
    QStringLiteral("Prišlo je do težave v registru. Preverite, če je program nameščen pravilno.");
inline const QString kRegistryUnknownError =
    QStringLiteral("Prišlo je do neznane napake v registru.");

// Dictionary files in the file dialogs: the filter and the initial file name.
inline const QString kDictionaryFilter =
    QStringLiteral("Verbatrakon III Slovarji (*.vrk3);;Vse Datoteke (*)");
inline const QString kDictionaryFileName = QStringLiteral("*.vrk3");

// File dialogs.
inline const QString kFileLookIn = QStringLiteral("Išči v:");
inline const QString kFileName = QStringLiteral("Ime datoteke:");
inline const QString kFileType = QStringLiteral("Vrsta datoteke:");
inline const QString kFileOpen = QStringLiteral("Odpri");
inline const QString kFileSave = QStringLiteral("Shrani");
inline const QString kFileMissing =
    QStringLiteral("Datoteke \"%1\" ni mogoče najti.\nPreverite, ali ste ime vpisali pravilno.");
inline const QString kFileReplace =
    QStringLiteral("Datoteka \"%1\" že obstaja.\nJo želite zamenjati?");

// Help window.
inline const QString kHelpTitle = QStringLiteral("Pomoč");
inline const QString kHelpBack = QStringLiteral("Nazaj");
inline const QString kHelpForward = QStringLiteral("Naprej");
inline const QString kHelpContents = QStringLiteral("Vsebina");

// Temporary-directory dialog.
// The library tree could not be read from the settings store; %1 is the
// store's result code. The reason may follow on a second line.
inline const QString kLibraryReadError = QStringLiteral("Napaka pri branju knjižnice [k%1]");

inline const QString kTempDirTitle = QStringLiteral("Imenik za začasne datoteke");
inline const QString kTempDirText = QStringLiteral(
    "Izberite imenik, v katerem bodo shranjene začasne datoteke, ki so potrebne pri obdelavi "
    "slovarjev.");
inline const QString kTempDirDefaultFolder = QStringLiteral("/Temp");
inline const QString kTempDirNotStored =
    QStringLiteral("Imenika za začasne datoteke ni bilo mogoče shraniti v nastavitve.");
// A folder the scratch files cannot use: %1 the folder, %2 the reason.
inline const QString kTempDirUnusable =
    QStringLiteral("Imenika \"%1\" ni mogoče uporabiti za začasne datoteke: %2");
inline const QString kTempDirNotAFolder = QStringLiteral("ni imenik.");
inline const QString kTempDirTooLong =
    QStringLiteral("pot je predolga (imeti sme največ 259 bajtov).");
inline const QString kTempDirNotWritable = QStringLiteral("vanj ne morete pisati.");
inline const QString kTempDirSharedNoSticky = QStringLiteral(
    "vanj smejo pisati tudi drugi uporabniki, ni pa zaščiten pred brisanjem tujih datotek "
    "(nima bita sticky).");
inline const QString kTempDirPrivateUnusable = QStringLiteral(
    "v njem ni mogoče ustvariti vašega zasebnega podimenika (vrk3- in vaše uporabniško ime).");
// The texts the temporary-directory dialog gives the directory chooser.
inline const QString kChooserTitle = QStringLiteral("Izberi Imenik");
inline const QString kChooserDirectories = QStringLiteral("&Imeniki:");
inline const QString kChooserShowHidden = QStringLiteral("Prikaži &skrite imenike");
inline const QString kChooserDrives = QStringLiteral("Po&goni:");
inline const QString kChooserDriveMissing = QStringLiteral("Izbrani pogon ni dosegljiv!");
inline const QString kChooserCreate = QStringLiteral("Izbrani imenik ne obstaja. Ga ustvarim?");
inline const QString kChooserCannotCreate = QStringLiteral("Imenika ni mogoče ustvariti");

// Directory chooser defaults, for callers that set no texts of their own.
inline const QString kDirDefaultTitle = QStringLiteral("Choose Directory");
inline const QString kDirDefaultDirectories = QStringLiteral("&Directories:");
inline const QString kDirDefaultDrives = QStringLiteral("D&rives:");
inline const QString kDirDefaultOk = QStringLiteral("OK");
inline const QString kDirDefaultCancel = QStringLiteral("Cancel");
inline const QString kDirDefaultDriveMissing = QStringLiteral("The drive is not accessible!");
inline const QString kDirDefaultCreate = QStringLiteral("The directory doesn't exist! Create?");
inline const QString kDirDefaultCannotCreate = QStringLiteral("Cannot create directory!");
inline const QString kDirDefaultShowHidden = QStringLiteral("Show &hidden directories");
inline const QString kDirPathLabel = QStringLiteral("&Pot:");
inline const QString kRootFileSystem = QStringLiteral("Korenski datotečni sistem");

// Alphabet dialog.
inline const QString kAlphabetTitle = QStringLiteral("Razvrščanje");
inline const QString kAlphabetRow = QStringLiteral("&Abecedna Vrstica:");
inline const QString kAlphabetSeparator = QStringLiteral("&Ločni znak:");

// Dictionary information dialog.
inline const QString kInfoTitle = QStringLiteral("Info");
inline const QString kInfoAuthor = QStringLiteral("Avtor: ");
inline const QString kInfoNotes = QStringLiteral("Opombe:");
inline const QString kPictureFile = QStringLiteral("dfi.qtf");

// The first start, when the user's own dictionary could not be made (%1:
// its file).
inline const QString kOwnDictionaryNotMade = QStringLiteral(
    "Vašega slovarja „Moje besede“ ni bilo mogoče ustvariti (%1). Knjižnica „Slovenske "
    "besede“ je narejena brez njega; svoj slovar lahko ustvarite pozneje v Zasnovarju.");

// Why a dictionary operation failed (FailureReason, one per TFailure), the
// line below a message.
inline const QString kFailureNotFound = QStringLiteral("Datoteke ni (več) na tem mestu.");
inline const QString kFailureBusy =
    QStringLiteral("Datoteko ravno uporablja drug program. Poskusite znova čez nekaj trenutkov.");
inline const QString kFailureNoPermission =
    QStringLiteral("Za to datoteko ali njeno mapo nimate dovoljenja.");
inline const QString kFailureNotRegularFile = QStringLiteral("To ni navadna datoteka.");
inline const QString kFailureDamaged = QStringLiteral("Datoteka ni slovar ali pa je poškodovana.");
inline const QString kFailureRecordTooLong =
    QStringLiteral("Zapis je predolg: geslo z vsemi opisi ima lahko največ 99 999 znakov.");
inline const QString kFailureDiskFull = QStringLiteral("Na disku ni dovolj prostora.");
inline const QString kFailureIoError =
    QStringLiteral("Pri branju ali pisanju datoteke je prišlo do napake sistema.");
inline const QString kFailureStopped = QStringLiteral("Postopek je bil prekinjen.");
inline const QString kFailureEntryChanged = QStringLiteral(
    "Geslo se je v slovarju medtem spremenilo, morda ga je spremenil drug program. Poiščite ga "
    "znova.");
inline const QString kFailureInvalidArgument =
    QStringLiteral("Zahteva ni veljavna (na primer geslo, ki ga v slovarju ni več).");
inline const QString kFailureExists = QStringLiteral("Datoteka že obstaja.");
inline const QString kFailureHardLinked =
    QStringLiteral("Datoteka ima več imen (trdih povezav), zato je program ne spremeni.");
inline const QString kFailureSameFile = QStringLiteral("Ciljna datoteka je slovar sam.");
inline const QString kFailureFolderNotWritable = QStringLiteral(
    "V mapo slovarja ni mogoče pisati. Slovar se spremeni tako, da se nova datoteka zapiše "
    "poleg njega, zato mora biti mapa zapisljiva.");
inline const QString kFailureUnknown = QStringLiteral("Prišlo je do neznane napake.");
// Why the settings store failed (StoreFailureReason, one per TStoreFailure).
inline const QString kStoreNoHome =
    QStringLiteral("Domača mapa uporabnika ni znana, zato nastavitev ni kam shraniti.");
inline const QString kStoreNotDatabase =
    QStringLiteral("Datoteka z nastavitvami ni baza nastavitev tega programa.");
inline const QString kStoreDamaged = QStringLiteral("Datoteka z nastavitvami je poškodovana.");
inline const QString kStoreOtherVersion =
    QStringLiteral("Datoteko z nastavitvami je zapisala druga različica programa.");
inline const QString kStoreNoPermission =
    QStringLiteral("Za datoteko z nastavitvami ali njeno mapo nimate dovoljenja.");
inline const QString kStoreDiskFull = QStringLiteral("Na disku ni dovolj prostora za nastavitve.");
inline const QString kStoreBusy = QStringLiteral(
    "Datoteko z nastavitvami ravno uporablja drug program. Poskusite znova čez nekaj trenutkov.");
inline const QString kStoreIoError =
    QStringLiteral("Pri branju ali pisanju nastavitev je prišlo do napake sistema.");

// About boxes and splash windows.
inline const QString kAboutTitle = QStringLiteral("O Programu...");
inline const QString kAboutVersion = QStringLiteral("Verzija 1.1 WS");
inline const QString kFinderName = QStringLiteral("Verbatrakon III");
inline const QString kManagerName = QStringLiteral("Verbatrakon III - Zasnovar");

}  // namespace vrk::texts
