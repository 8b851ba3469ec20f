#include "manager/remap_letter_dlg.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "manager/manager_texts.h"
#include "ui/cp1250_text.h"
#include "ui/dialog_buttons.h"
#include "ui/help.h"

char LetterByte(const QString& text) {
    if (text.isEmpty()) return 0;
    bool exact = false;
    const std::string byte = vrk::ToCp1250(text.left(1), &exact);
    return exact && byte.size() == 1 ? byte[0] : 0;
}

CRemapLetterDlg::CRemapLetterDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("remapLetterDlg"));
    setWindowTitle(vrk::texts::kRemapTitle);
    m_pFrom = new QLineEdit(this);
    m_pFrom->setObjectName(QStringLiteral("fromEdit"));
    m_pFrom->setProperty("controlId", 1051);
    m_pFrom->setMaxLength(1);
    m_pTo = new QLineEdit(this);
    m_pTo->setObjectName(QStringLiteral("toEdit"));
    m_pTo->setProperty("controlId", 1050);
    m_pTo->setMaxLength(1);
    for (QLineEdit* edit : {m_pFrom, m_pTo}) edit->setMaximumWidth(40);

    const vrk::TDialogButtons buttons = vrk::AddOkCancelHelp(this, vrk::help::kRemap);
    buttons.help->setProperty("controlId", 1046);

    auto* form = new QFormLayout;
    form->addRow(vrk::texts::kRemapFrom, m_pFrom);
    form->addRow(vrk::texts::kRemapTo, m_pTo);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons.box);
}

void CRemapLetterDlg::accept() {
    m_chFrom = LetterByte(m_pFrom->text());
    m_chTo = LetterByte(m_pTo->text());
    QDialog::accept();
}
