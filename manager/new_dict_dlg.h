// The two pages of the new-dictionary wizard: "Nov Slovar (1/2)" takes the
// name, author and notes, "Nov Slovar (2/2)" the security settings. Each page
// shows its members when it opens and takes its controls into them when it
// closes forwards (page 2 also when it goes back), so going back and forth
// keeps what was typed.
#pragma once

#include <QDialog>

#include "manager/dict_data_dlg.h"
#include "manager/security_dlg.h"

class QLabel;

// The result of page 2's "< Nazaj".
inline constexpr int kWizardBack = 2;

class CNewDictPage1Dlg : public QDialog {
    Q_OBJECT
  public:
    explicit CNewDictPage1Dlg(QWidget* parent = nullptr);

    THeaderTexts m_texts;

    int exec() override;

  private:
    void accept() override;

    CHeaderFields* m_pFields = nullptr;
};

class CNewDictPage2Dlg : public QDialog {
    Q_OBJECT
  public:
    explicit CNewDictPage2Dlg(QWidget* parent = nullptr);

    // Export and changes allowed, no protection, no password.
    TSecuritySettings m_settings{false, true, true, {}};

    int exec() override;

  private:
    void accept() override;
    void back();

    CSecurityControls* m_pControls = nullptr;
};
