// The finder's Search command ("Išči"): a new search document runs its
// search; when it finds something, its result window opens in the main
// frame's window area.
#pragma once

class CMainFrame;
class QMdiSubWindow;

// Returns the new result window, or nullptr when no window opened (both
// texts empty, nothing found, or the user cancelled).
QMdiSubWindow* RunSearchCommand(CMainFrame* frame);
