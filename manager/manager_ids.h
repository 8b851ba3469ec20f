// The manager's command, status-pane and control identifiers. The numbers
// are the ones the help contexts and the other versions know them by.
#pragma once

namespace id {

// "Knjižnica".
inline constexpr int kNewLibrary = 32771;
inline constexpr int kNewSubLibrary = 32776;
inline constexpr int kRenameLibrary = 32803;
inline constexpr int kRemoveLibrary = 32772;
inline constexpr int kExit = 57665;

// "Slovar".
inline constexpr int kDictionaryInfo = 32779;
inline constexpr int kNewDictionary = 32777;
inline constexpr int kAddDictionary = 32775;
inline constexpr int kRemoveDictionary = 32778;
inline constexpr int kImport = 32780;
inline constexpr int kExport = 32781;
// "Spremeni".
inline constexpr int kChangeData = 32783;
inline constexpr int kSecurity = 32784;
inline constexpr int kRemapLetters = 32785;
inline constexpr int kSetPicture = 32786;

// "Pogled".
inline constexpr int kToolBar = 59392;
inline constexpr int kStatusBar = 59393;
inline constexpr int kRefresh = 32787;

// "Nastavitve".
inline constexpr int kAlphabet = 32793;
inline constexpr int kFont = 32802;
inline constexpr int kTempDir = 32792;

// "Pomoč".
inline constexpr int kHelpTopics = 32804;
inline constexpr int kGuide = 32812;
inline constexpr int kAbout = 57664;

// The menu after a right-button drag of dictionaries.
inline constexpr int kDropCopy = 32799;
inline constexpr int kDropMove = 32800;

// Status-bar panes.
inline constexpr int kCountDataFiles = 32790;
inline constexpr int kCountClues = 32791;

// The view's controls.
inline constexpr int kDictionaryList = 1003;
inline constexpr int kLibraryTree = 1004;
inline constexpr int kSplitter = 1006;

}  // namespace id
