// CPasswordDlg ("Geslo") and the password prompt that the manager shows
// before it changes anything in a protected dictionary (its data, its
// security settings, its picture).
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

class QLabel;
class QLineEdit;

namespace vrk {
class TDataFile;
}

class CPasswordDlg : public QDialog {
    Q_OBJECT
  public:
    // `name`: the dictionary's name as the list shows it.
    explicit CPasswordDlg(const QString& name, QWidget* parent = nullptr);

    QString m_strName;
    // The typed password: shown in the edit when the dialog opens, taken
    // from it by "V redu".
    QString m_strPassword;

    int exec() override;

  private:
    void accept() override;

    QLabel* m_pText = nullptr;
    QLineEdit* m_pPassword = nullptr;
};

enum class TPasswordResult {
    kProven,      // the user typed the dictionary's password
    kGaveUp,      // "Prekliči"
    kUnreadable,  // the dictionary's password cannot be read
};

// Asks for the password of `file` until the user types it exactly (case
// matters; there is no limit on attempts) or gives up. Each wrong attempt
// shows "Vpisali ste napačno geslo!" and asks again, starting from what was
// typed. The stored password is read again for every attempt.
[[nodiscard]] TPasswordResult PasswordPrompt(QWidget* parent, vrk::TDataFile& file,
                                             const QString& name);
// True when `file`, whose flags are `flags`, may be changed: it is not
// protected, or the user proves its password. Giving up shows `refusal`
// with `name` (no icon); a password that cannot be read shows `fileError`.
[[nodiscard]] bool Unlocked(QWidget* parent, vrk::TDataFile& file, std::int32_t flags,
                            const QString& name, const QString& refusal, const QString& fileError);
