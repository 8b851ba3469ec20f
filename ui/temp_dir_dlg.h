// CTempDirDlg: "Imenik za začasne datoteke", where the user chooses the
// directory for the scratch files of dictionary operations (kept as the
// user's own "BackupDir", see settings/temp_dir.h), and the loop every caller
// uses to get it.
#pragma once

#include <QDialog>
#include <string>

#include "settings/scratch_set.h"

class QLineEdit;
class QPushButton;

namespace vrk {

class CTempDirDlg : public QDialog {
    Q_OBJECT
  public:
    // Shows the user's stored choice, else the directory in use. When no
    // directory can be used it shows the program's folder plus "/Temp" and
    // offers no Cancel, unless `offerCancel` is set.
    explicit CTempDirDlg(QWidget* parent = nullptr, bool offerCancel = false);

    QString Directory() const;

    // Stores the directory and closes with OK, also when it could not be
    // stored (the caller then reads the setting in vain and asks again). A
    // missing directory is created first; when that fails the dialog stays.
    void accept() override;
    // Closing without a choice is only possible where Cancel is offered.
    void reject() override;

  private:
    void createControls();
    void createLayout();
    void connectControls();
    void chooseDirectory();

    bool m_bCancelOffered = true;
    QLineEdit* m_pDirectory = nullptr;
    QPushButton* m_pChange = nullptr;
    QPushButton* m_pCancel = nullptr;
};

// The temporary directory for a dictionary operation (TReadBackupDir) and,
// while none can be used, CTempDirDlg. A directory chosen there is used even
// when it cannot be stored. False when the user cancels; the action is then
// abandoned. Only the first dialog may lack Cancel, so the user is never
// trapped. `dir` holds the path in the file-name encoding, as stored.
[[nodiscard]] bool AskBackupDir(QWidget* parent, std::string& dir);
// The scratch files `owner` names in the directory AskBackupDir gives; false
// when the user cancels. A `knownDir` keeps the directory between calls: one
// it holds is used without looking again, and one looked up is kept there.
[[nodiscard]] bool GetBackupPaths(QWidget* parent, TScratchOwner owner, TScratchSet& paths,
                                  std::string* knownDir = nullptr);

}  // namespace vrk
