#include "manager/password_dlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "manager/manager_texts.h"
#include "manager/security_dlg.h"
#include "store/data_file.h"
#include "ui/cp1250_text.h"
#include "ui/dialog_buttons.h"
#include "ui/message_box.h"
#include "ui/ui_texts.h"

namespace {

// Both passwords are compared on at most this many bytes.
constexpr std::size_t kPasswordBuffer = 500;

}  // namespace

CPasswordDlg::CPasswordDlg(const QString& name, QWidget* parent)
    : QDialog(parent), m_strName(name) {
    setObjectName(QStringLiteral("passwordDlg"));
    setWindowTitle(vrk::texts::kPasswordTitle);
    m_pText = new QLabel(this);
    m_pText->setObjectName(QStringLiteral("instruction"));
    m_pText->setProperty("controlId", 1036);
    m_pText->setTextFormat(Qt::PlainText);
    m_pPassword = new QLineEdit(this);
    m_pPassword->setObjectName(QStringLiteral("passwordEdit"));
    m_pPassword->setProperty("controlId", 1029);
    m_pPassword->setEchoMode(QLineEdit::Password);
    m_pPassword->setAccessibleName(vrk::texts::kPasswordTitle);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pText);
    layout->addWidget(m_pPassword);
    layout->addWidget(vrk::AddOkCancel(this).box);
}

int CPasswordDlg::exec() {
    m_pText->setText(vrk::texts::kPasswordPrompt.arg(m_strName));
    m_pPassword->setAccessibleDescription(m_pText->text());
    m_pPassword->setText(m_strPassword);
    m_pPassword->selectAll();
    m_pPassword->setFocus();
    return QDialog::exec();
}

void CPasswordDlg::accept() {
    m_strPassword = m_pPassword->text();
    QDialog::accept();
}

TPasswordResult PasswordPrompt(QWidget* parent, vrk::TDataFile& file, const QString& name) {
    CPasswordDlg dialog(name.left(static_cast<int>(kPasswordBuffer) - 1), parent);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted) return TPasswordResult::kGaveUp;
        std::string stored;
        if (!file.GetPassword(stored, kPasswordBuffer)) return TPasswordResult::kUnreadable;
        // A character the file cannot hold never matches, though the "?"
        // standing for it might.
        bool exact = false;
        std::string typed = vrk::ToCp1250(dialog.m_strPassword, &exact);
        if (typed.size() >= kPasswordBuffer) typed.resize(kPasswordBuffer - 1);
        if (exact && typed == stored) return TPasswordResult::kProven;
        vrk::ShowWarning(parent, vrk::texts::kWrongPassword);
    }
}

bool Unlocked(QWidget* parent, vrk::TDataFile& file, std::int32_t flags, const QString& name,
              const QString& refusal, const QString& fileError) {
    if (!(flags & kFlagProtected)) return true;
    switch (PasswordPrompt(parent, file, name)) {
        case TPasswordResult::kProven:
            return true;
        case TPasswordResult::kGaveUp:
            vrk::ShowMessage(parent, refusal.arg(name), vrk::TMsgIcon::kNone);
            return false;
        case TPasswordResult::kUnreadable:
            vrk::ShowError(parent, fileError);
            return false;
    }
    return false;
}
