#include "finder/finder_texts.h"

#include <array>

#include "finder/main_frame_ids.h"

namespace vrk::texts {

namespace {

// Rows: identifier, menu text, "status text\ntool tip", key, toolbar icon,
// checkable.
const std::array kCommands = {
    // Search and the search bar.
    TCommand{id::kSearch, "&Išči\tCtrl+I",
             "V slovarjih izbrane knjižnice poišče gesla, ki ustrezajo.\nIšči", nullptr, "search"},
    TCommand{id::kSearchOptions, "&Način Iskanja...",
             "Spremeni nastavitve iskanja gesel.\nNačin Iskanja"},
    TCommand{id::kActiveLibrary, "Aktivna &Knjižnica...",
             "Omogoči, da izberete knjižnico, katere slovarje bo program preiskoval.\n"
             "Aktivna Knjižnica"},

    // "Geslo".
    TCommand{id::kDictionaryInfo, "S&lovar...",
             "Prikaže podatke o slovarju, kateremu pripada geslo.\nSlovar"},
    TCommand{id::kNewEntry, "&Novo...\tCtrl+N", "Ustvari novo geslo.\nNovo Geslo", nullptr,
             "entry-new"},
    TCommand{id::kSaveEntry, "&Shrani\tCtrl+S",
             "Shrani geslo v slovar, v katerem se nahaja.\nShrani", nullptr, "entry-save"},
    TCommand{id::kSaveEntryAs, "Shrani &Kot...",
             "Shrani geslo v slovar, ki ga izberete.\nShrani Kot"},
    TCommand{id::kAddDescription, "Dodaj &Opis", "Geslu doda nov opis.\nDodaj Opis", "Ctrl+D",
             "description-add"},
    TCommand{id::kRemoveDescription, "O&dstrani Opis", "Odstrani trenutni opis.\nOdstrani Opis",
             nullptr, "description-remove"},
    TCommand{id::kDeleteEntry, "I&zbriši", "Izbriše trenutno geslo.\nIzbriši", nullptr,
             "entry-delete"},
    TCommand{id::kExit, "Iz&hod", kExitPrompt},

    // "Urejanje".
    TCommand{id::kUndo, "&Razveljavi\tCtrl+Z", "Razveljavi spremembe trenutnega opisa.\nRazveljavi",
             nullptr, "undo"},
    TCommand{id::kUndoSeveral, "Razveljavi &Več...",
             "Razveljavi več zadnjih ukazov.\nRazveljavi Več", nullptr, "undo-several"},
    TCommand{id::kCut, "&Izreži\tCtrl+X",
             "Izreže označeno besedilo in ga shrani v odložišče.\nIzreži", nullptr, "edit-cut"},
    TCommand{id::kCopy, "&Kopiraj\tCtrl+C", "Kopira označeno besedilo v odložišče.\nKopiraj",
             nullptr, "edit-copy"},
    TCommand{id::kPaste, "&Prilepi\tCtrl+V", "Prilepi vsebino odložišča\nPrilepi", nullptr,
             "edit-paste"},

    // "Pogled".
    TCommand{id::kToolBar, kCommandToolBar, "Prikaže ali skrije orodno vrstico.\nOrodna Vrstica",
             nullptr, nullptr, true},
    TCommand{id::kSearchBar, "&Iskalna Vrstica",
             "Prikaže ali skrije iskalno vrstico.\nIskalna Vrstica", nullptr, nullptr, true},
    TCommand{id::kStatusBar, "Vrstica &Stanja",
             "Prikaže ali skrije vrstico stanja.\nVrstica Stanja", nullptr, nullptr, true},
    TCommand{id::kEntryWindow, "Vpisno Okno", "Prikaže okno za vpisovanje.\nVpisno Okno", nullptr,
             nullptr, true},
    TCommand{id::kDockLeft, "&Levo", "Prikaže vpisno okno na levi strani glavnega okna.", nullptr,
             nullptr, true},
    TCommand{id::kDockRight, "&Desno", "Prikaže vpisno okno na desni strani glevnega okna.",
             nullptr, nullptr, true},
    TCommand{id::kDockTop, "&Zgoraj", "Prikaže vpisno okno pri vrhu glavnega okna.", nullptr,
             nullptr, true},
    TCommand{id::kDockBottom, "&Spodaj", "Prikaže vpisno okno na dnu glavnega okna.", nullptr,
             nullptr, true},
    TCommand{id::kFloat, "L&ebdeče", "Prikaže vpisno okno lebdeče.", nullptr, nullptr, true},

    // "Nastavitve".
    TCommand{id::kAlphabet, kCommandAlphabet,
             "Spremeni način razvrščanja gesel.\nAbecedna Vrstica"},
    TCommand{id::kTempDir, kCommandTempDir,
             "Spremeni imenik, kjer bodo shranjene začasne datoteke\nImenik Začasnih Datotek"},
    TCommand{id::kFonts, "&Pisave...", "Omogoči, da prilagodite pisave v oknih.\nPisave"},

    // "Okno".
    TCommand{id::kNewWindow, "Novo &Okno", "Odpre novo okno z istimi zadetki.\nNovo Okno"},
    TCommand{id::kTile, "&Razporedi Okna", "Razporedi okna tako, da se ne prekrivajo.\nRazporedi"},
    TCommand{id::kArrangeIcons, "Razporedi &Ikone",
             "Razporedi ikone na dnu glavnega okna.\nRazporedi Ikone"},
    TCommand{id::kCloseAll, "&Zapri Vse", "Zapre vsa trenutno odprta okna z zadetki.\nZapri Vse"},

    // "Pomoč".
    TCommand{id::kHelpTopics, kCommandHelpTopics, "Prikaže vsebino pomoči.\nTeme Pomoči", nullptr,
             "help-topics"},
    TCommand{id::kGuide, kCommandGuide, "Prikaže vodnik po programu.\nVodnik"},
    TCommand{id::kAbout, "&O Verbatrakonu III...",
             "Prikaže podatke o programu in njegovi različici.\nO Programu"},
};

}  // namespace

std::span<const TCommand> FrameCommands() {
    return kCommands;
}

QString StatusPart(const QString& prompt) {
    return prompt.section('\n', 0, 0);
}
QString TipPart(const QString& prompt) {
    return prompt.section('\n', 1);
}

}  // namespace vrk::texts
