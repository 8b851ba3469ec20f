#include "manager/export_file_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "manager/manager_texts.h"
#include "ui/cp1250_text.h"
#include "ui/help.h"
#include "ui/message_box.h"
#include "ui/ui_texts.h"

namespace {

// Shows why a separator cannot be used; true when it can.
bool SeparatorUsable(QWidget* parent, const QString& text, char& separator) {
    switch (CheckSeparator(text, separator)) {
        case TSeparatorCheck::kOk:
            return true;
        case TSeparatorCheck::kMissing:
            vrk::ShowWarning(parent, vrk::texts::kSeparatorMissing);
            return false;
        case TSeparatorCheck::kInvalid:
            vrk::ShowWarning(parent, vrk::texts::kSeparatorInvalid);
            return false;
    }
    return false;
}

}  // namespace

bool SeparatorDefaults(const QString& filterText, QString& label, QChar& separator) {
    if (filterText.contains(QStringLiteral("Verbatrakon I"))) {
        label = vrk::texts::kDescriptionSeparator;
        separator = ';';
        return true;
    }
    if (filterText.contains(QStringLiteral("csv"))) {
        label = vrk::texts::kFieldSeparator;
        separator = ',';
        return true;
    }
    return false;
}

TSeparatorCheck CheckSeparator(const QString& text, char& separator) {
    if (text.isEmpty()) return TSeparatorCheck::kMissing;
    bool exact = false;
    const std::string bytes = vrk::ToCp1250(text.left(1), &exact);
    const auto byte = static_cast<unsigned char>(bytes.empty() ? 0 : bytes[0]);
    // A tab is a fine separator; other control characters are no text.
    if (!exact || bytes.size() != 1 || (byte < 0x20 && byte != '\t'))
        return TSeparatorCheck::kInvalid;
    separator = bytes[0];
    return TSeparatorCheck::kOk;
}

CExportFileDlg::CExportFileDlg(QWidget* parent, const vrk::TFileDialogRequest& request)
    : vrk::CFileDialog(parent, request) {
    setObjectName(QStringLiteral("exportFileDlg"));
    setLabelText(QFileDialog::Accept, vrk::texts::kExportButton);
    setLabelText(QFileDialog::Reject, vrk::texts::kCancel);
    createPanel();
    m_pSeparator->setText(QStringLiteral(";"));
    updateForFilter(selectedNameFilter());
    connect(this, &QFileDialog::filterSelected, this, &CExportFileDlg::updateForFilter);
    vrk::AddHelpKey(this, vrk::help::kExportPanel);
}

void CExportFileDlg::createPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("separatorPanel"));
    m_pLabel = new QLabel(panel);
    m_pLabel->setObjectName(QStringLiteral("separatorLabel"));
    m_pLabel->setProperty("controlId", 1040);
    m_pSeparator = new QLineEdit(panel);
    m_pSeparator->setObjectName(QStringLiteral("separatorEdit"));
    m_pSeparator->setProperty("controlId", 1038);
    m_pSeparator->setMaxLength(1);
    m_pSeparator->setFixedWidth(m_pSeparator->fontMetrics().horizontalAdvance('M') * 3);
    m_pLabel->setBuddy(m_pSeparator);
    auto* help = new QPushButton(vrk::texts::kHelp, panel);
    help->setObjectName(QStringLiteral("panelHelpButton"));
    help->setAutoDefault(false);
    connect(help, &QPushButton::clicked, this,
            [this] { vrk::ShowHelp(vrk::help::kExportPanel, this); });
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_pLabel);
    row->addWidget(m_pSeparator);
    row->addStretch();
    row->addWidget(help);
    AddPanel(panel);
}

void CExportFileDlg::updateForFilter(const QString& filterText) {
    QString label;
    QChar separator;
    if (!SeparatorDefaults(filterText, label, separator)) return;
    m_pLabel->setText(label);
    m_pSeparator->setText(separator);
    m_pLabel->setEnabled(true);
    m_pSeparator->setEnabled(true);
}

bool CExportFileDlg::CanAccept(const QString&) {
    if (SeparatorUsable(this, m_pSeparator->text(), m_chSeparator)) return true;
    m_pSeparator->setFocus();
    m_pSeparator->selectAll();
    return false;
}

bool CExportFileDlg::Choose(QWidget* parent, const vrk::TFileDialogRequest& request,
                            TExportChoice& choice) {
    vrk::TFileDialogRequest save = request;
    save.save = true;
    save.multiple = false;
    // A test answers for the user; a separator it cannot use asks again, as
    // the dialog stays open for the user.
    while (auto hooked = vrk::HookedFileDialog(save)) {
        if (hooked->files.isEmpty()) return false;
        QString label;
        QChar fallback = ';';
        const QString filter = hooked->selectedFilter.isEmpty()
                                   ? save.filter.section(QStringLiteral(";;"), 0, 0)
                                   : hooked->selectedFilter;
        (void)SeparatorDefaults(filter, label, fallback);
        if (!SeparatorUsable(parent, hooked->panelText.value_or(QString(fallback)),
                             choice.separator))
            continue;
        choice.path = hooked->files.first();
        choice.directory = hooked->directory;
        return true;
    }
    CExportFileDlg dialog(parent, save);
    if (dialog.exec() != QDialog::Accepted) return false;
    const vrk::TFileDialogResult result = dialog.Result();
    if (result.files.isEmpty()) return false;
    choice.path = result.files.first();
    choice.directory = result.directory;
    choice.separator = dialog.m_chSeparator;
    return true;
}
