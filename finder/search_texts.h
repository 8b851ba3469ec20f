// The Slovene texts of the search run, its progress window and the result
// windows.
#pragma once

#include <QString>

namespace vrk::texts {

// The search run and its worker. %1 is a dictionary's file path.
inline const QString kNothingFound = QStringLiteral("Nobeno geslo ne ustreza kriterijem iskanja.");
inline const QString kTooManyFound =
    QStringLiteral("Najdenih je bilo preveč gesel. Ogledate si lahko prvih %1.");
inline const QString kDictReadError = QStringLiteral(
    "Pri branju slovarja \"%1\" je prišlo do napake.\nŽelite preiskati ostale slovarje?");
inline const QString kDictSearchError = QStringLiteral(
    "Pri iskanju v slovarju \"%1\" je prišlo do napake.\nŽelite preiskati ostale slovarje?");
// The status line, in Windows-1250 like the dictionary name it ends with.
inline constexpr const char* kSearchStatusPrefix = "Iskanje v slovarju \"";

// Result window titles: %1 the known letters as typed, %2 the count.
inline const QString kTitleOne = QStringLiteral("Iskanje \"%1\" (%2 zadetek)");
inline const QString kTitleTwo = QStringLiteral("Iskanje \"%1\" (%2 zadetka)");
inline const QString kTitleFew = QStringLiteral("Iskanje \"%1\" (%2 zadetki)");
inline const QString kTitleMany = QStringLiteral("Iskanje \"%1\" (%2 zadetkov)");
// A result frame whose title holds this remembers its maximised state.
inline const QString kTitleMarker = QStringLiteral("Iskanje");

// Progress window.
inline const QString kProgressCancel = QStringLiteral("Prekliči");

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

// Description pane.
inline const QString kDictOpenError = QStringLiteral("Datoteke s slovarjem ni bilo možno odpreti!");

}  // namespace vrk::texts
