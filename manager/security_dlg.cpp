#include "manager/security_dlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include "manager/manager_texts.h"
#include "manager/stored_text.h"
#include "ui/dialog_buttons.h"
#include "ui/help.h"

std::int32_t SecurityFlags(bool protect, bool changes, bool exportAllowed) {
    return (protect ? kFlagProtected : 0) | (changes ? kFlagChanges : 0) |
           (exportAllowed ? kFlagExport : 0);
}

CSecurityControls::CSecurityControls(QWidget* parent) : QWidget(parent) {
    m_pExport = new QCheckBox(vrk::texts::kExportAllowed, this);
    m_pExport->setObjectName(QStringLiteral("exportCheck"));
    m_pExport->setProperty("controlId", 1027);
    m_pChanges = new QCheckBox(vrk::texts::kChangesAllowed, this);
    m_pChanges->setObjectName(QStringLiteral("changesCheck"));
    m_pChanges->setProperty("controlId", 1026);
    m_pProtect = new QCheckBox(vrk::texts::kProtect, this);
    m_pProtect->setObjectName(QStringLiteral("protectCheck"));
    m_pProtect->setProperty("controlId", 1028);
    m_pGroup = new QGroupBox(vrk::texts::kPasswordGroup, this);
    m_pGroup->setObjectName(QStringLiteral("passwordGroup"));
    // The password is shown as typed: the user sets it here.
    m_pPassword = new QLineEdit(m_pGroup);
    m_pPassword->setObjectName(QStringLiteral("passwordEdit"));
    m_pPassword->setProperty("controlId", 1029);

    auto* group = new QVBoxLayout(m_pGroup);
    group->addWidget(m_pPassword);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pExport);
    layout->addWidget(m_pChanges);
    layout->addWidget(m_pProtect);
    layout->addWidget(m_pGroup);
    // Only a click of the user changes the password: loading does not.
    connect(m_pProtect, &QCheckBox::clicked, this, [this](bool on) {
        if (!on) m_pPassword->clear();
        setProtected(on);
        if (on) m_pPassword->setFocus();
    });
}

void CSecurityControls::setProtected(bool on) {
    m_pGroup->setEnabled(on);
    m_pPassword->setEnabled(on);
    m_pPassword->setReadOnly(!on);
}

void CSecurityControls::Load(const TSecuritySettings& settings) {
    m_pPassword->setText(settings.password);
    m_pExport->setChecked(settings.exportAllowed);
    m_pChanges->setChecked(settings.changes);
    m_pProtect->setChecked(settings.protect);
    setProtected(settings.protect);
}

bool CSecurityControls::CheckStorable() {
    if (::CheckStorable(window(), m_pPassword->text())) return true;
    m_pPassword->setFocus();
    return false;
}

TSecuritySettings CSecurityControls::Store() const {
    TSecuritySettings settings;
    settings.protect = m_pProtect->isChecked();
    settings.changes = m_pChanges->isChecked();
    settings.exportAllowed = m_pExport->isChecked();
    settings.password = m_pPassword->text();
    return settings;
}

CSecurityDlg::CSecurityDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("securityDlg"));
    setWindowTitle(vrk::texts::kSecurityTitle);
    m_pControls = new CSecurityControls(this);
    QDialogButtonBox* buttons = vrk::AddOkCancelHelp(this, vrk::help::kSecurity).box;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pControls);
    layout->addWidget(buttons);
}

int CSecurityDlg::exec() {
    m_pControls->Load(m_settings);
    return QDialog::exec();
}

void CSecurityDlg::accept() {
    if (!m_pControls->CheckStorable()) return;
    m_settings = m_pControls->Store();
    QDialog::accept();
}
