#include "manager/dict_data_dlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "manager/manager_texts.h"
#include "manager/stored_text.h"
#include "store/format.h"
#include "ui/cp1250_text.h"
#include "ui/dialog_buttons.h"
#include "ui/help.h"

std::string HeaderBytes(const QString& text) {
    std::string bytes = vrk::ToCp1250(text);
    if (bytes.size() > vrk::kMaxRecordText) bytes.resize(vrk::kMaxRecordText);
    return bytes;
}

CHeaderFields::CHeaderFields(QWidget* parent) : QWidget(parent) {
    m_pName = new QLineEdit(this);
    m_pName->setObjectName(QStringLiteral("nameEdit"));
    m_pName->setProperty("controlId", 1020);
    m_pAuthor = new QLineEdit(this);
    m_pAuthor->setObjectName(QStringLiteral("authorEdit"));
    m_pAuthor->setProperty("controlId", 1021);
    m_pNotes = new QPlainTextEdit(this);
    m_pNotes->setObjectName(QStringLiteral("notesEdit"));
    m_pNotes->setProperty("controlId", 1022);
    m_pNotes->setTabChangesFocus(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto labelled = [&](const QString& text, QWidget* field) {
        auto* label = new QLabel(text, this);
        label->setBuddy(field);
        layout->addWidget(label);
        layout->addWidget(field);
    };
    labelled(vrk::texts::kNameLabel, m_pName);
    labelled(vrk::texts::kAuthorLabel, m_pAuthor);
    labelled(vrk::texts::kNotesLabel, m_pNotes);
}

void CHeaderFields::Load(const THeaderTexts& texts) {
    m_pName->setText(texts.name);
    m_pAuthor->setText(texts.author);
    m_pNotes->setPlainText(texts.notes);
}

bool CHeaderFields::CheckStorable() {
    const std::pair<QWidget*, QString> fields[] = {{m_pName, m_pName->text()},
                                                   {m_pAuthor, m_pAuthor->text()},
                                                   {m_pNotes, m_pNotes->toPlainText()}};
    for (const auto& [field, text] : fields) {
        if (!::CheckStorable(window(), text)) {
            field->setFocus();
            return false;
        }
    }
    return true;
}

THeaderTexts CHeaderFields::Store() const {
    return {m_pName->text(), m_pAuthor->text(), m_pNotes->toPlainText()};
}

CDictDataDlg::CDictDataDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dictDataDlg"));
    setWindowTitle(vrk::texts::kDictDataTitle);
    m_pFields = new CHeaderFields(this);
    QDialogButtonBox* buttons = vrk::AddOkCancelHelp(this, vrk::help::kDictData).box;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pFields);
    layout->addWidget(buttons);
    resize(380, 320);
}

int CDictDataDlg::exec() {
    m_pFields->Load(m_texts);
    return QDialog::exec();
}

void CDictDataDlg::accept() {
    if (!m_pFields->CheckStorable()) return;
    m_texts = m_pFields->Store();
    QDialog::accept();
}
