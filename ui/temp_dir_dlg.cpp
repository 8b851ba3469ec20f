#include "ui/temp_dir_dlg.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/temp_dir.h"
#include "ui/cp1250_text.h"
#include "ui/dialog_buttons.h"
#include "ui/directory_dlg.h"
#include "ui/help.h"
#include "ui/message_box.h"
#include "ui/ui_texts.h"

namespace vrk {

namespace {

QString ProblemText(TScratchProblem problem) {
    switch (problem) {
        case TScratchProblem::kTooLong:
            return texts::kTempDirTooLong;
        case TScratchProblem::kNotWritable:
            return texts::kTempDirNotWritable;
        case TScratchProblem::kSharedWithoutStickyBit:
            return texts::kTempDirSharedNoSticky;
        case TScratchProblem::kPrivateFolderUnusable:
            return texts::kTempDirPrivateUnusable;
        case TScratchProblem::kNone:
        case TScratchProblem::kNotAFolder:
            break;
    }
    return texts::kTempDirNotAFolder;
}

}  // namespace

CTempDirDlg::CTempDirDlg(QWidget* parent, bool offerCancel) : QDialog(parent) {
    setObjectName("tempDirDlg");
    setWindowTitle(texts::kTempDirTitle);
    createControls();
    createLayout();
    connectControls();
    // The folder in use, which a stored choice that cannot serve is not.
    std::string shown;
    if (TReadBackupDir(shown)) {
        m_pDirectory->setText(PathText(shown));
    } else {
        m_pDirectory->setText(QCoreApplication::applicationDirPath() +
                              texts::kTempDirDefaultFolder);
        m_bCancelOffered = offerCancel;
    }
    m_pCancel->setVisible(m_bCancelOffered);
    m_pCancel->setEnabled(m_bCancelOffered);
}

void CTempDirDlg::createControls() {
    m_pDirectory = new QLineEdit(this);
    m_pDirectory->setObjectName("directoryEdit");
    m_pDirectory->setReadOnly(true);
    m_pDirectory->setAccessibleName(texts::kTempDirTitle);
    m_pDirectory->setAccessibleDescription(texts::kTempDirText);
    m_pChange = new QPushButton(texts::kChange, this);
    m_pChange->setObjectName("changeButton");
}

void CTempDirDlg::createLayout() {
    auto* text = new QLabel(texts::kTempDirText, this);
    text->setObjectName("promptLabel");
    text->setWordWrap(true);
    auto* row = new QHBoxLayout;
    row->addWidget(m_pDirectory, 1);
    row->addWidget(m_pChange);
    const TDialogButtons buttons = AddOkCancelHelp(this, help::kTempDir);
    m_pCancel = buttons.cancel;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addSpacing(6);
    layout->addLayout(row);
    layout->addSpacing(10);
    layout->addWidget(buttons.box);
    resize(460, sizeHint().height());
}

void CTempDirDlg::connectControls() {
    connect(m_pChange, &QPushButton::clicked, this, &CTempDirDlg::chooseDirectory);
}

QString CTempDirDlg::Directory() const {
    return m_pDirectory->text();
}
void CTempDirDlg::chooseDirectory() {
    CTDirectoryDlg chooser(m_pDirectory->text(),
                           CTDirectoryDlg::kEditablePath | CTDirectoryDlg::kCreateMissing, this);
    chooser.SetTexts(texts::kChooserTitle, texts::kChooserDirectories, texts::kChooserDrives,
                     texts::kOk, texts::kCancel);
    chooser.SetShowHiddenText(texts::kChooserShowHidden);
    chooser.SetMessages(texts::kChooserDriveMissing, texts::kChooserCreate,
                        texts::kChooserCannotCreate);
    if (chooser.exec() == QDialog::Accepted) m_pDirectory->setText(chooser.GetPath());
}

void CTempDirDlg::accept() {
    const QString directory = m_pDirectory->text();
    // The scratch files go straight into this directory, so it must exist;
    // the suggested one below the program's folder usually does not yet.
    if (!CTDirectoryDlg::DirectoryExists(directory) &&
        !CTDirectoryDlg::CreateDirectory(directory)) {
        ShowMessage(this, texts::kChooserCannotCreate, TMsgIcon::kError);
        return;
    }
    // Checked by the rule the scratch files follow: a folder that cannot
    // serve is not stored (the programs would pass it over without a word).
    const std::string encoded = PathBytes(directory);
    if (const TScratchProblem problem = TCheckScratchFolder(encoded);
        problem != TScratchProblem::kNone) {
        ShowMessage(this, texts::kTempDirUnusable.arg(directory, ProblemText(problem)),
                    TMsgIcon::kError);
        return;
    }
    if (!TWriteBackupDir(encoded)) ShowMessage(this, texts::kTempDirNotStored, TMsgIcon::kError);
    QDialog::accept();
}

void CTempDirDlg::reject() {
    if (m_bCancelOffered) QDialog::reject();
}

bool AskBackupDir(QWidget* parent, std::string& dir) {
    for (bool first = true; !TReadBackupDir(dir); first = false) {
        CTempDirDlg dialog(parent, !first);
        if (dialog.exec() != QDialog::Accepted) return false;
        if (TScratchFolderIn(PathBytes(dialog.Directory()), dir)) return true;
    }
    return true;
}

bool GetBackupPaths(QWidget* parent, TScratchOwner owner, TScratchSet& paths,
                    std::string* knownDir) {
    std::string dir = knownDir ? *knownDir : std::string();
    if (dir.empty() && !AskBackupDir(parent, dir)) {
        paths = {};
        return false;
    }
    if (knownDir) *knownDir = dir;
    paths = TScratchSet::In(dir, owner);
    return true;
}

}  // namespace vrk
