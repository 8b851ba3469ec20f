// The finder's Slovene texts: menus, commands with their status texts and
// tool tips, bar captions and messages. Windows take their texts from here.
#pragma once

#include <QString>
#include <span>

#include "ui/commands.h"

namespace texts {

// Every command of the main frame, built into actions by one recipe.
std::span<const vrk::TCommand> FrameCommands();

// Menus.
inline const QString kMenuEntry = QStringLiteral("&Geslo");
inline const QString kMenuEdit = QStringLiteral("&Urejanje");
inline const QString kMenuView = QStringLiteral("&Pogled");
inline const QString kMenuEntryWindow = QStringLiteral("Vpisno Okno");
inline const QString kMenuSettings = QStringLiteral("&Nastavitve");
inline const QString kMenuWindow = QStringLiteral("&Okno");
inline const QString kMenuHelp = QStringLiteral("Po&moč");

// Bars and windows.
inline const QString kToolBarCaption = QStringLiteral("Orodna Vrstica");
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

// Search options.
inline const QString kOptionCountLetters = QStringLiteral("Upoštevaj število črk v geslu");
inline const QString kOptionMatchCase = QStringLiteral("Razlikuj velike in male črke v geslu");

// Messages.
inline const QString kInstallMissing =
    QStringLiteral("Prišlo je do težave v registru. Preverite, če je program nameščen pravilno.");
inline const QString kRegistryUnknownError =
    QStringLiteral("Prišlo je do neznane napake v registru.");

// The status text, or the tool tip, of a "status text\ntool tip" prompt.
QString StatusPart(const QString& prompt);
QString TipPart(const QString& prompt);

}  // namespace texts
