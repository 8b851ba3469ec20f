#include "manager/import_dlg.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "manager/last_dirs.h"
#include "manager/manager_texts.h"
#include "manager/user_path.h"
#include "store/same_file.h"
#include "ui/cp1250_text.h"
#include "ui/dialog_buttons.h"
#include "ui/file_dialog.h"
#include "ui/help.h"
#include "ui/message_box.h"
#include "ui/ui_texts.h"

CImportDlg::CImportDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("importDlg"));
    setWindowTitle(vrk::texts::kImportTitle);
    // Made in the order of the dialog, which Tab follows.
    m_pExisting = new QLineEdit(this);
    m_pExisting->setObjectName(QStringLiteral("existingEdit"));
    m_pExisting->setProperty("controlId", 1055);
    auto* browseExisting = new QPushButton(vrk::texts::kBrowse, this);
    browseExisting->setObjectName(QStringLiteral("browseExisting"));
    browseExisting->setProperty("controlId", 1054);
    m_pNew = new QLineEdit(this);
    m_pNew->setObjectName(QStringLiteral("newEdit"));
    m_pNew->setProperty("controlId", 1053);
    auto* browseNew = new QPushButton(vrk::texts::kBrowseTarget, this);
    browseNew->setObjectName(QStringLiteral("browseNew"));
    browseNew->setProperty("controlId", 1052);
    browseExisting->setAccessibleDescription(vrk::texts::kA11yBrowseSource);
    browseNew->setAccessibleDescription(vrk::texts::kA11yBrowseTarget);
    connect(browseExisting, &QPushButton::clicked, this, &CImportDlg::browseExisting);
    connect(browseNew, &QPushButton::clicked, this, &CImportDlg::browseNew);

    QDialogButtonBox* buttons = vrk::AddOkCancelHelp(this, vrk::help::kImport).box;

    auto* grid = new QGridLayout;
    auto* existingLabel = new QLabel(vrk::texts::kImportSource, this);
    existingLabel->setBuddy(m_pExisting);
    auto* newLabel = new QLabel(vrk::texts::kImportTarget, this);
    newLabel->setBuddy(m_pNew);
    grid->addWidget(existingLabel, 0, 0, 1, 2);
    grid->addWidget(m_pExisting, 1, 0);
    grid->addWidget(browseExisting, 1, 1);
    grid->addWidget(newLabel, 2, 0, 1, 2);
    grid->addWidget(m_pNew, 3, 0);
    grid->addWidget(browseNew, 3, 1);
    grid->setColumnStretch(0, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    resize(460, sizeHint().height());
}

void CImportDlg::browseExisting() {
    vrk::TFileDialogRequest request;
    request.directory = ReadLastDir("ImportDir");
    request.filter = vrk::texts::kOlderFormatsFilter;
    request.fileName = vrk::texts::kOlderFormatFileName;
    const vrk::TFileDialogResult chosen = vrk::GetOpenFiles(this, request);
    if (chosen.files.isEmpty()) return;
    m_pExisting->setText(AbsoluteUserPath(chosen.files.first()));
    StoreLastDir("ImportDir", FolderOf(m_pExisting->text()));
}

void CImportDlg::browseNew() {
    vrk::TFileDialogRequest request;
    request.directory = ReadLastDir("NewDFDir");
    request.filter = vrk::texts::kDictionaryFilter;
    request.fileName = vrk::texts::kDictionaryFileName;
    request.defaultSuffix = vrk::texts::kDictionarySuffix;
    const vrk::TFileDialogResult chosen = vrk::GetSaveFile(this, request);
    if (chosen.files.isEmpty()) return;
    m_strConfirmedNewFile = DictionaryUserPath(chosen.files.first());
    StoreLastDir("NewDFDir", FolderOf(m_strConfirmedNewFile));
    m_pNew->setText(m_strConfirmedNewFile);
}

void CImportDlg::accept() {
    // Names typed by hand are taken against the working folder, and the new
    // one is a dictionary.
    const QString existing = AbsoluteUserPath(m_pExisting->text());
    const QString created = DictionaryUserPath(m_pNew->text());
    if (existing.isEmpty() || created.isEmpty()) {
        vrk::ShowMessage(this, vrk::texts::kImportNeedsFiles, vrk::TMsgIcon::kNone);
        return;
    }
    // The new dictionary would take the place of the file it is made from.
    if (vrk::IsSameFile(vrk::PathBytes(existing), vrk::PathBytes(created))) {
        vrk::ShowWarning(this, vrk::texts::kImportSameFile);
        m_pNew->setFocus();
        return;
    }
    // A name typed by hand has not been through the save dialog's question.
    const QFileInfo target(created);
    if (created != m_strConfirmedNewFile && target.exists() &&
        !vrk::AskYesNo(this, vrk::texts::kFileReplace.arg(target.fileName()), false)) {
        m_pNew->setFocus();
        return;
    }
    m_strExistingFile = existing;
    m_strNewFile = created;
    QDialog::accept();
}
