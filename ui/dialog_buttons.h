// The closing row of a dialog: "V redu", then "Prekliči" and "Pomoč" where
// the dialog has them, made the same way in every dialog of both programs.
// They carry no letters: Enter presses "V redu" (the default button),
// Escape cancels and F1 opens the dialog's help page.
#pragma once

#include <QDialogButtonBox>
#include <QPushButton>

class QDialog;

namespace vrk {

// The buttons of a row; one the row does not have is null.
struct TDialogButtons {
    QDialogButtonBox* box = nullptr;  // the caller places it
    QPushButton* ok = nullptr;        // okButton: accepts; the default button
    QPushButton* cancel = nullptr;    // cancelButton: rejects
    QPushButton* help = nullptr;      // helpButton: opens the help page
};

// "V redu" alone.
TDialogButtons AddOkButton(QDialog* dialog);
// "V redu" and "Prekliči".
TDialogButtons AddOkCancel(QDialog* dialog);
// "V redu", "Prekliči" and "Pomoč", which opens `context` (ui/help.h); F1
// anywhere in the dialog opens it too.
TDialogButtons AddOkCancelHelp(QDialog* dialog, int context);

}  // namespace vrk
