#include "manager/manager_texts.h"

#include <array>

#include "manager/manager_ids.h"

namespace vrk::texts {

namespace {

// Rows: identifier, menu text, "status text\ntool tip", key, toolbar icon,
// checkable.
const std::array kCommands = {
    // "Knjižnica".
    TCommand{id::kNewLibrary, "Nova &Knjižnica\tCtrl+K", "Ustvari novo knjižnico.\nNova Knjižnica",
             nullptr, "library-new"},
    TCommand{id::kNewSubLibrary, "&Nova Podknjižnica",
             "Ustvari podknjižnico trenutno označene knjižnice.\nNova Podknjižnica"},
    TCommand{id::kRenameLibrary, "&Preimenuj", "Preimenuje knjižnico.\nPreimenuj"},
    TCommand{id::kRemoveLibrary, "O&dstrani", "Odstrani trenutno označeno knjižnico.\nOdstrani"},
    TCommand{id::kExit, "&Izhod", kExitPrompt},

    // "Slovar".
    TCommand{id::kDictionaryInfo, "&Info...",
             "Prikaže informacije o trenutno označenem slovarju.\nInfo", nullptr,
             "dictionary-info"},
    TCommand{id::kNewDictionary, "&Nov...\tCtrl+N", "Ustvari nov slovar.\nNov Slovar", nullptr,
             "dictionary-new"},
    TCommand{id::kAddDictionary, "&Dodaj ...\tCtrl+S", "Doda slovar v knjižnico.\nDodaj Slovar",
             nullptr, "dictionary-add"},
    TCommand{id::kRemoveDictionary, "&Odstrani", "Odstrani slovar iz knjižnice.\nOdstrani Slovar"},
    TCommand{id::kImport, "&Uvozi...\tCtrl+U",
             "Uvozi slovar iz datoteke drugačnega formata.\nUvozi", nullptr, "import"},
    TCommand{id::kExport, "I&zvozi...\tCtrl+I",
             "Izvozi označeni slovar v datoteko drugačnega formata.\nIzvozi", nullptr, "export"},
    TCommand{id::kChangeData, "&Podatke o Slovarju...",
             "Spremeni osnovne podatke o označenem slovarju.\nSpremeni Podatke o Slovarju", nullptr,
             "dictionary-data"},
    TCommand{id::kSecurity, "&Varnostne Nastavitve...",
             "Spremeni varnostne nastavitve označenih slovarjev.\nSpremeni Varnostne Nastavitve",
             nullptr, "dictionary-security"},
    TCommand{id::kRemapLetters, "P&riredi Pisavo...",
             "Omogoči, da črke v označenih slovarjih priredite pisavi, ki jo uporabljate."},
    TCommand{id::kSetPicture, "Določi &Sliko...", "Označenim slovarjem določi novo sliko."},

    // "Pogled".
    TCommand{id::kToolBar, kCommandToolBar, "Prikaže ali skrije orodno vrstico.", nullptr, nullptr,
             true},
    TCommand{id::kStatusBar, "&Vrstica Stanja", "Prikaže ali skrije vrstico stanja.", nullptr,
             nullptr, true},
    TCommand{id::kRefresh, "O&sveži", "Osveži seznam slovarjev v trenutni knjižnici,\nOsveži"},

    // "Nastavitve".
    TCommand{id::kAlphabet, kCommandAlphabet,
             "Določi način razvrščanja gesel pri izvozu slovarjev."},
    TCommand{id::kFont, "&Pisava...",
             "Zamenja pisavo, uporabljeno v spisku knjižnic in slovarjev.\nPisava"},
    TCommand{id::kTempDir, kCommandTempDir, "Določi nov imenik za začasne datoteke."},

    // "Pomoč".
    TCommand{id::kHelpTopics, kCommandHelpTopics, "Prikaže teme pomoči.\nPomoč", nullptr,
             "help-topics"},
    TCommand{id::kGuide, kCommandGuide,
             "Zažene vodnik, ki vam bo pomagal spoznati osnove programa."},
    TCommand{id::kAbout, "&O Programu...", "Prikaže informacije o programu.\nO Programu"},

    // After a right-button drag.
    TCommand{id::kDropCopy, kDropCopy, ""},
    TCommand{id::kDropMove, kDropMove, ""},
};

}  // namespace

std::span<const TCommand> ManagerCommands() {
    return kCommands;
}

QString DictionaryCountText(int n) {
    // One and two read with the number a place further right than "%4d".
    if (n == 1) return QStringLiteral("     1 slovar");
    if (n == 2) return QStringLiteral("     2 slovarja");
    const char* form = n == 1 ? "slovar" : n == 2 ? "slovarja" : n <= 4 ? "slovarji" : "slovarjev";
    return QStringLiteral(" %1 %2").arg(n, 4).arg(QLatin1String(form));
}

QString EntryCountText(long long s) {
    const char* form = s == 1 ? "geslo" : s == 2 ? "gesli" : s == 3 || s == 4 ? "gesla" : "gesel";
    return QStringLiteral(" %1 %2").arg(s, 7).arg(QLatin1String(form));
}

}  // namespace vrk::texts
