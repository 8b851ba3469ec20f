// The security settings of a dictionary: whether it may be exported,
// whether its entries may be changed, and whether it is protected by a
// password. CSecurityControls shows them (the second page of the
// new-dictionary wizard and CSecurityDlg, "Varnostne Nastavitve"). Switching
// protection off empties the password and locks its edit, so a dictionary
// left without protection is stored with an empty password.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

class QCheckBox;
class QGroupBox;
class QLineEdit;

// The security flags of a dictionary's header.
inline constexpr std::int32_t kFlagProtected = 1;
inline constexpr std::int32_t kFlagChanges = 2;
inline constexpr std::int32_t kFlagExport = 4;

// The flags for the three settings.
[[nodiscard]] std::int32_t SecurityFlags(bool protect, bool changes, bool exportAllowed);

// The settings as the dialogs hand them in and out.
struct TSecuritySettings {
    bool protect = false;
    bool changes = false;
    bool exportAllowed = false;
    QString password;

    std::int32_t Flags() const { return SecurityFlags(protect, changes, exportAllowed); }
};

class CSecurityControls : public QWidget {
    Q_OBJECT
  public:
    explicit CSecurityControls(QWidget* parent = nullptr);

    // Shows `settings`: the password goes into its edit, which is locked
    // unless protection is on.
    void Load(const TSecuritySettings& settings);
    TSecuritySettings Store() const;
    // False, after saying so, when the password holds characters a
    // dictionary cannot store (stored_text.h).
    [[nodiscard]] bool CheckStorable();

  private:
    void setProtected(bool on);

    QCheckBox* m_pExport = nullptr;
    QCheckBox* m_pChanges = nullptr;
    QCheckBox* m_pProtect = nullptr;
    QGroupBox* m_pGroup = nullptr;
    QLineEdit* m_pPassword = nullptr;
};

// CSecurityDlg: "Varnostne Nastavitve", with "V redu", "Prekliči" and
// "Pomoč". The settings are all off and the password empty until the
// command sets them; "V redu" stores the controls into them.
class CSecurityDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CSecurityDlg(QWidget* parent = nullptr);

    TSecuritySettings m_settings;

    int exec() override;

  private:
    void accept() override;

    CSecurityControls* m_pControls = nullptr;
};
