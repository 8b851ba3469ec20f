#include "manager/remap_letter_dlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "manager/manager_texts.h"
#include "ui/cp1250_text.h"
#include "ui/help.h"
#include "ui/ui_texts.h"

char LetterByte(const QString& text) {
    if (text.isEmpty()) return 0;
    bool exact = false;
    const std::string byte = vrk::ToCp1250(text.left(1), &exact);
    return exact && byte.size() == 1 ? byte[0] : 0;
}

CRemapLetterDlg::CRemapLetterDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("remapLetterDlg"));
    setWindowTitle(texts::kRemapTitle);
    m_pFrom = new QLineEdit(this);
    m_pFrom->setObjectName(QStringLiteral("fromEdit"));
    m_pFrom->setProperty("controlId", 1051);
    m_pFrom->setMaxLength(1);
    m_pTo = new QLineEdit(this);
    m_pTo->setObjectName(QStringLiteral("toEdit"));
    m_pTo->setProperty("controlId", 1050);
    m_pTo->setMaxLength(1);
    for (QLineEdit* edit : {m_pFrom, m_pTo}) edit->setMaximumWidth(40);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(vrk::texts::kOk, QDialogButtonBox::AcceptRole)
        ->setObjectName(QStringLiteral("okButton"));
    buttons->addButton(vrk::texts::kCancel, QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancelButton"));
    QPushButton* help = buttons->addButton(vrk::texts::kHelp, QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("helpButton"));
    help->setProperty("controlId", 1046);
    connect(buttons, &QDialogButtonBox::accepted, this, &CRemapLetterDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CRemapLetterDlg::reject);
    connect(help, &QPushButton::clicked, this, [this] { vrk::ShowHelp(vrk::help::kRemap, this); });
    vrk::AddHelpKey(this, vrk::help::kRemap);

    auto* form = new QFormLayout;
    form->addRow(texts::kRemapFrom, m_pFrom);
    form->addRow(texts::kRemapTo, m_pTo);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CRemapLetterDlg::accept() {
    m_chFrom = LetterByte(m_pFrom->text());
    m_chTo = LetterByte(m_pTo->text());
    QDialog::accept();
}
