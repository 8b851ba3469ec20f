// Start-up of the shared user-interface layer. Each program calls InitUi once
// after creating its QApplication; tests do the same.
#pragma once

namespace vrk {

// Registers the built-in icons and help pages, maps the font faces that
// stored fonts name ("Arial CE", "Times New Roman", "Courier New") to faces
// this system has, puts Qt's own windows and buttons into Slovene
// (qt_translation.h), makes the settings helpers ask their questions through
// ShowMessage, and arms the start-up check when VRK3_STARTUP_CHECK asks for
// it (startup_check.h). Safe to call more than once.
void InitUi();

// Registers the built-in resources only; the icon and help functions call it
// themselves.
void EnsureUiResources();

}  // namespace vrk
