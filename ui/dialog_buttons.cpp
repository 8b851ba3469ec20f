#include "ui/dialog_buttons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

#include "ui/help.h"
#include "ui/ui_texts.h"

namespace vrk {

TDialogButtons AddOkButton(QDialog* dialog) {
    TDialogButtons row;
    row.box = new QDialogButtonBox(dialog);
    row.ok = row.box->addButton(texts::kOk, QDialogButtonBox::AcceptRole);
    row.ok->setObjectName(QStringLiteral("okButton"));
    row.ok->setDefault(true);
    QObject::connect(row.box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    return row;
}

TDialogButtons AddOkCancel(QDialog* dialog) {
    TDialogButtons row = AddOkButton(dialog);
    row.cancel = row.box->addButton(texts::kCancel, QDialogButtonBox::RejectRole);
    row.cancel->setObjectName(QStringLiteral("cancelButton"));
    QObject::connect(row.box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return row;
}

TDialogButtons AddOkCancelHelp(QDialog* dialog, int context) {
    TDialogButtons row = AddOkCancel(dialog);
    row.help = row.box->addButton(texts::kHelp, QDialogButtonBox::HelpRole);
    row.help->setObjectName(QStringLiteral("helpButton"));
    QObject::connect(row.help, &QPushButton::clicked, dialog,
                     [dialog, context] { ShowHelp(context, dialog); });
    AddHelpKey(dialog, context);
    return row;
}

}  // namespace vrk
