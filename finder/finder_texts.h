// The finder's Slovene texts: menus, commands with their status texts and
// tool tips, bar captions and messages. Windows take their texts from here.
#pragma once

#include <QString>
#include <span>

#include "ui/commands.h"
#include "ui/ui_texts.h"

namespace vrk::texts {

// Every command of the main frame, built into actions by one recipe.
std::span<const TCommand> FrameCommands();

// Menus ("Pogled", "Nastavitve" and "Pomoč" are the shared ones of
// ui/ui_texts.h).
inline const QString kMenuEntry = QStringLiteral("&Geslo");
inline const QString kMenuEdit = QStringLiteral("&Urejanje");
inline const QString kMenuEntryWindow = QStringLiteral("&Vpisno Okno");
inline const QString kMenuWindow = QStringLiteral("&Okno");

// Bars and windows.
inline const QString kSearchBarCaption = QStringLiteral("Iskalna Vrstica");
inline const QString kEntryWindowCaption = QStringLiteral("Geslo");
inline const QString kSearchButton = QStringLiteral("Išči");
inline const QString kOptionsButton = QStringLiteral("Nač...");
inline const QString kLibraryButton = QStringLiteral("Knj");
inline const QString kClueTip = QStringLiteral("Znane črke iskanega gesla\nGeslo");
inline const QString kDescTip = QStringLiteral("Besede, ki se pojavljajo v opisu\nOpis");

// The entry window.
inline const QString kEntryEditTip = QStringLiteral("Vpišite opis gesla");
inline const QString kNextDescText = QStringLiteral(">");
inline const QString kNextDescTip = QStringLiteral("Prikaže naslednji opis.\nNaslednji Opis");
inline const QString kPreviousDescText = QStringLiteral("<");
inline const QString kPreviousDescTip = QStringLiteral("Prikaže prejšnji opis.\nPrejšnji Opis");
inline const QString kWordLabel = QStringLiteral("Trenutno Geslo");
inline const QString kCounterFormat = QStringLiteral("Opis %1/%2");
// The counter while the word has unsaved changes.
inline const QString kCounterModifiedFormat = QStringLiteral("Opis %1/%2*");
// The word of a new entry.
inline const QString kUnnamedWord = QStringLiteral("Neimenovano Geslo");

// Search options.
inline const QString kOptionCountLetters = QStringLiteral("Upoštevaj število črk v geslu");
inline const QString kOptionMatchCase = QStringLiteral("Razlikuj velike in male črke v geslu");
inline const QString kOptionExtended = QStringLiteral("Razširjeni vzorci ([čšž], @, #, %)");
inline const QString kOptionAnagram = QStringLiteral("Premetanka (črke v poljubnem vrstnem redu)");

// A malformed pattern, refused before the search starts. %1 is the place
// (from 1) of the character at fault in the known letters.
inline const QString kPatternUnclosedSet =
    QStringLiteral("Vzorec ni pravilen: oklepaj [ na %1. mestu ni zaprt z ].");
inline const QString kPatternEmptySet =
    QStringLiteral("Vzorec ni pravilen: v oklepajih na %1. mestu ni nobene črke.");
inline const QString kPatternUnopenedSet =
    QStringLiteral("Vzorec ni pravilen: zaklepaj ] na %1. mestu nima oklepaja [.");
// %1 the term as typed, %2 where it starts (from 1).
inline const QString kEmptySearchTerm = QStringLiteral(
    "Besede opisa niso pravilne: \"%1\" na %2. mestu nima besedila. Dopišite besedo ali "
    "izraz izbrišite.");
inline const QString kPatternRunWithCount = QStringLiteral(
    "Vzorec ni pravilen: znak % na %1. mestu dovoli geslo poljubne dolžine, vklopljeno pa je "
    "\"Upoštevaj število črk v geslu\". Izklopite eno ali drugo.");

// The fonts dialog ("Pisave") and the names of the seven fonts, in the order
// of their stored values "Font01" ... "Font07".
inline const QString kFontsTitle = QStringLiteral("Pisave");
inline const QString kFontsWindow = QStringLiteral("&Okno:");
inline const QString kFontsGroup = QStringLiteral("Pisava");
inline const QString kFontSlotNames[] = {
    QStringLiteral("Urejanje opisov (Vpisno okno)"),
    QStringLiteral("Najdena gesla"),
    QStringLiteral("Seznam opisov"),
    QStringLiteral("Iskano geslo"),
    QStringLiteral("Iskani opis"),
    QStringLiteral("Seznam knjižnic"),
    QStringLiteral("Način iskanja"),
};

// The status text, or the tool tip, of a "status text\ntool tip" prompt.
QString StatusPart(const QString& prompt);
QString TipPart(const QString& prompt);

// The search run and its worker. %1 is a dictionary's file path.
inline const QString kNothingFound = QStringLiteral("Nobeno geslo ne ustreza kriterijem iskanja.");
inline const QString kTooManyFound =
    QStringLiteral("Najdenih je bilo preveč gesel. Ogledate si lahko prvih %1.");
inline const QString kDictReadError = QStringLiteral(
    "Pri branju slovarja \"%1\" je prišlo do napake.\nŽelite preiskati ostale slovarje?");
inline const QString kDictSearchError = QStringLiteral(
    "Pri iskanju v slovarju \"%1\" je prišlo do napake.\nŽelite preiskati ostale slovarje?");
// Typed letters no dictionary can hold (outside Windows-1250); %1 lists them.
inline const QString kSearchTextUnencodable = QStringLiteral(
    "Iskanje ni mogoče: znakov %1 slovarji ne morejo hraniti (niso v naboru Windows-1250). "
    "Popravite besedilo v iskalni vrstici.");
// The status line, in Windows-1250 like the dictionary name it ends with.
inline constexpr const char* kSearchStatusPrefix = "Iskanje v slovarju \"";

// Result window titles: %1 the known letters as typed, %2 the count, %3
// what was searched for (kTitleSearch for a plain pattern).
inline const QString kTitleOne = QStringLiteral("%3 \"%1\" (%2 zadetek)");
inline const QString kTitleTwo = QStringLiteral("%3 \"%1\" (%2 zadetka)");
inline const QString kTitleFew = QStringLiteral("%3 \"%1\" (%2 zadetki)");
inline const QString kTitleMany = QStringLiteral("%3 \"%1\" (%2 zadetkov)");
inline const QString kTitleSearch = QStringLiteral("Iskanje");
inline const QString kTitleSearchExtended = QStringLiteral("Iskanje z razširjenim vzorcem");
inline const QString kTitleSearchAnagram = QStringLiteral("Iskanje premetanke");
inline const QString kTitleSearchBoth = QStringLiteral("Iskanje premetanke z razširjenim vzorcem");
// A result frame whose title holds this remembers its maximised state.
inline const QString kTitleMarker = QStringLiteral("Iskanje");

// The row commands of a result view, on their keys and in its context menu.
inline constexpr const char* kRowOpen = "&Spremeni...";
inline constexpr const char* kRowMark = "&Označi\tCtrl+M";
inline constexpr const char* kRowRemove = "O&dstrani\tDel";

// Result list headings.
inline const QString kColWord = QStringLiteral("Geslo");
inline const QString kColDescription = QStringLiteral("Opis");
inline const QString kColDictionary = QStringLiteral("Izvorni Slovar");
inline const QString kColDataFile = QStringLiteral("DataFile");
inline const QString kColPriority = QStringLiteral("Priority");
inline const QString kColClueIndex = QStringLiteral("Clue Index");
inline const QString kColMarked = QStringLiteral("Marked");
inline const QString kMarkedNo = QStringLiteral("No");
inline const QString kMarkedYes = QStringLiteral("Yes");

// Description pane, and loading a word into the entry window.
inline const QString kDictOpenError = QStringLiteral("Datoteke s slovarjem ni bilo možno odpreti!");

// Entry commands. %1 and %2 are numbers, words and dictionary paths.
inline const QString kUnsavedChangesLost =
    QStringLiteral("Spremembe trenutnega gesla bodo izgubljene.\nŽelite kljub temu nadaljevati?");
inline const QString kNotSavedYet =
    QStringLiteral("Trenutno geslo še ni shranjeno.\nŽelite kljub temu nadaljevati?");
inline const QString kSaveRefused = QStringLiteral(
    "Vpisovanje gesel v ta slovar je onemogočeno.\nGeslo lahko shranite v drug slovar.");
inline const QString kDescriptionLimit = QStringLiteral("Geslo ima lahko največ 100 opisov.");
inline const QString kInfoReadError = QStringLiteral("Napaka v datoteki!");
// An entry with more descriptions than the entry window holds.
inline const QString kDropDescriptions = QStringLiteral(
    "Geslo ima v slovarju %1 opisov, vpisno okno pa jih hrani le 100.\n"
    "Če ga shranite, bo ostalih %2 opisov izgubljenih.\nŽelite kljub temu shraniti?");
// Characters a dictionary cannot hold were replaced when the word was stored.
inline const QString kCharactersReplaced = QStringLiteral(
    "Nekaterih znakov slovar ne more hraniti, zato so bili shranjeni drugače: kontrolni znaki "
    "kot presledki, znaki zunaj nabora Windows-1250 kot vprašaji.");

// Dictionary changes and undo.
inline const QString kReadEntryError = QStringLiteral("Pri branju datoteke je prišlo do napake.");
inline const QString kStoreEntryError =
    QStringLiteral("Pri shranjevanju gesla je prišlo do napake.");
inline const QString kDeleteEntryError = QStringLiteral("Pri brisanju gesla je prišlo do napake.");
inline const QString kFlagsReadError = QStringLiteral("Napaka pri branju datoteke!");
inline const QString kChangesForbidden =
    QStringLiteral("Spreminjanje tega slovarja je onemogočeno!");
inline const QString kUndoFailed = QStringLiteral("Razveljavitev ni možna (napaka v datoteki)!");

// The steps of the undo history.
inline const QString kUndoNewWord = QStringLiteral("Prikaz novega gesla.");
inline const QString kUndoShowWord = QStringLiteral("Prikaz gesla '%1'.");
inline const QString kUndoAddDescription = QStringLiteral("Dodajanje %1. opisa gesla '%2'.");
inline const QString kUndoRemoveDescription =
    QStringLiteral("Odstranjevanje %1. opisa gesla '%2'.");
inline const QString kUndoEditDescription = QStringLiteral("Popravljanje %1. opisa gesla '%2'.");
inline const QString kUndoDelete = QStringLiteral("Brisanje gesla '%1' iz slovarja '%2'.");
inline const QString kUndoStore = QStringLiteral("Shranjevanje gesla '%1' v slovar '%2'.");

// The save dialog ("Shrani Geslo").
inline const QString kSaveDlgTitle = QStringLiteral("Shrani Geslo");
inline const QString kSaveDlgWord = QStringLiteral("&Geslo:");
inline const QString kSaveDlgDictionary = QStringLiteral("&Slovar:");
inline const QString kNotADictionary =
    QStringLiteral("Izbrana datoteka ni slovar ali pa je poškodovana.");
inline const QString kChangesNotAllowed =
    QStringLiteral("Vpisovanje gesel v ta slovar je onemogočeno.");

// Names and descriptions a screen reader reads for controls without a label
// of their own.
inline const QString kA11yClueName = QStringLiteral("Znane črke gesla");
inline const QString kA11yClueDescription = QStringLiteral(
    "Znane črke iskanega gesla od začetka, zvezdica (*) za neznano črko. Z razširjenimi vzorci "
    "še [čšž] ena od črk v oklepaju, [^aeiou] črka, ki je ni v oklepaju, @ samoglasnik, "
    "# soglasnik in % poljubno število črk; pri premetanki so črke v poljubnem vrstnem redu.");
inline const QString kA11yDescName = QStringLiteral("Besede v opisu");
inline const QString kA11yDescDescription = QStringLiteral(
    "Besede, ki se pojavljajo v opisu gesla, ločene s presledki. Beseda s + mora biti v opisu, "
    "beseda z - ne sme biti; = razlikuje velike in male črke, \"beseda\" išče celo besedo, "
    "'več besed' pa besedilo s presledki.");
inline const QString kA11yEntryEditName = QStringLiteral("Opis gesla");
inline const QString kA11yCounterDescription =
    QStringLiteral("Kateri opis gesla je prikazan in koliko opisov ima geslo.");
inline const QString kA11yOptionsName = QStringLiteral("Način iskanja");
inline const QString kA11yLibraryName = QStringLiteral("Aktivna knjižnica");
inline const QString kA11yFoundName = QStringLiteral("Najdena gesla");
inline const QString kA11yPaneName = QStringLiteral("Opisi gesla");
inline const QString kA11yUndoName = QStringLiteral("Razveljavi več");
inline const QString kA11yUndoDescription =
    QStringLiteral("Ukaz v vrstici se razveljavi skupaj z vsemi novejšimi.");
// A search option as read aloud: its text, then whether it is on (the
// window shows that by an image only).
inline const QString kA11yOptionOn = QStringLiteral("%1: vključeno");
inline const QString kA11yOptionOff = QStringLiteral("%1: izključeno");

}  // namespace vrk::texts
