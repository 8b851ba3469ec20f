#include "search_command.h"

#include "search_hand_over.h"

TSearchHandOver SearchHandOver;

// Until the search run is built, every search ends as "nothing found".
QMdiSubWindow* RunSearchCommand(CMainFrame*) { return nullptr; }
