// The help window: Slovene help pages opened at a context number. F1 and
// every "Pomoč" button call ShowHelp with the context of their window; each
// context is a page and an anchor in the pages of resources/help/.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>
#include <string_view>

class QWidget;

namespace vrk {

// The context numbers both programs use.
namespace help {
inline constexpr int kContents = 0;
inline constexpr int kFirstRun = 1;
inline constexpr int kSaveEntry = 2;
inline constexpr int kAlphabet = 3;
inline constexpr int kTempDir = 4;
inline constexpr int kFonts = 5;
inline constexpr int kNewDictPage1 = 6;
inline constexpr int kNewDictPage2 = 7;
inline constexpr int kImport = 8;
inline constexpr int kExportPanel = 9;
inline constexpr int kDictData = 10;
inline constexpr int kSecurity = 11;
inline constexpr int kRemap = 12;
inline constexpr int kSearchBar = 13;
inline constexpr int kEntryWindow = 14;
inline constexpr int kGuide = 100;
}  // namespace help

// The folder that holds the help pages (the install path). Pages found there
// are preferred; otherwise the copies built into the program are shown. An
// empty folder means the built-in copies.
void SetHelpFolder(const QString& folder);

// The page and anchor of a context; an unknown context gives the contents.
QUrl HelpUrl(int context);

// Opens the help window (one for the process, not modal, raised when it is
// already open) at `context`.
void ShowHelp(int context, QWidget* parent = nullptr);

// Replaces the help window: the hook gets every context that ShowHelp is
// asked for (tests record them). An empty hook restores the window. Returns
// the previous hook.
using THelpHook = std::function<void(int context)>;
THelpHook SetHelpHook(THelpHook hook);

// Opens the first-start page over `parent` at the first start of either
// program, once that start is recorded in the user's settings
// (RecordFirstStart): a store that cannot record it shows no page.
void ShowFirstRunHelp(QWidget* parent);

// Makes the first start's library (CreateFirstLibrary) and says, in a
// message over `parent`, when the user's own dictionary could not be made:
// the start goes on without it.
void CreateFirstLibraryAndSay(std::string_view installPath, QWidget* parent = nullptr);

// Makes F1 anywhere in `window` open `context`.
void AddHelpKey(QWidget* window, int context);

}  // namespace vrk
