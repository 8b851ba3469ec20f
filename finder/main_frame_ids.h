// The finder's command and control identifiers. The numbers are the ones
// the help contexts and the other versions know the commands by.
#pragma once

namespace id {

// Search and the search bar.
inline constexpr int kSearch = 57600;
inline constexpr int kSearchOptions = 32792;
inline constexpr int kActiveLibrary = 32783;
inline constexpr int kClue = 32772;  // ID_CLUE
inline constexpr int kDesc = 1009;   // ID_DESC

// "Geslo".
inline constexpr int kDictionaryInfo = 32789;
inline constexpr int kNewEntry = 32781;
inline constexpr int kSaveEntry = 32779;
inline constexpr int kSaveEntryAs = 32780;
inline constexpr int kAddDescription = 32793;
inline constexpr int kRemoveDescription = 32794;
inline constexpr int kDeleteEntry = 32790;
inline constexpr int kExit = 57665;

// "Urejanje".
inline constexpr int kUndo = 32784;
inline constexpr int kUndoSeveral = 32785;
inline constexpr int kCut = 32796;
inline constexpr int kCopy = 32797;
inline constexpr int kPaste = 32798;

// "Pogled".
inline constexpr int kToolBar = 59392;
inline constexpr int kSearchBar = 32775;
inline constexpr int kStatusBar = 59393;
inline constexpr int kEntryWindow = 32774;  // no menu item
inline constexpr int kDockLeft = 32817;
inline constexpr int kDockRight = 32814;
inline constexpr int kDockTop = 32815;
inline constexpr int kDockBottom = 32816;
inline constexpr int kFloat = 32818;

// "Nastavitve".
inline constexpr int kAlphabet = 32786;
inline constexpr int kTempDir = 32787;
inline constexpr int kFonts = 32788;

// "Okno", shown while a result window is open.
inline constexpr int kNewWindow = 57648;
inline constexpr int kTile = 57651;
inline constexpr int kArrangeIcons = 57649;
inline constexpr int kCloseAll = 32791;

// "Pomoč".
inline constexpr int kHelpTopics = 32805;
inline constexpr int kGuide = 32822;
inline constexpr int kAbout = 57664;

// The entry window's controls.
inline constexpr int kEntryEdit = 1013;
inline constexpr int kNextDesc = 1046;
inline constexpr int kPreviousDesc = 1047;

}  // namespace id
