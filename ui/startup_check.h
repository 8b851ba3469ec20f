// A start-up check for installations and CI: with the environment variable
// VRK3_STARTUP_CHECK set (and not empty), the program ends on its own once
// its main window has been up for a moment (exit status 0), or as soon as a
// modal window stands in the way, a message or a dialog (status 3, its title
// and text on stderr), or when no main window comes up within 30 s (status
// 4). Without the variable nothing changes.
#pragma once

namespace vrk {

// Arms the check when the variable is set; InitUi calls it.
void ArmStartupCheck();

}  // namespace vrk
