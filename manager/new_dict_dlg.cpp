#include "manager/new_dict_dlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>

#include "manager/manager_texts.h"
#include "ui/help.h"
#include "ui/icons.h"
#include "ui/ui_texts.h"

namespace {

// The wizard's picture, drawn to fill its frame whenever the frame changes
// size.
class CWizardPicture : public QLabel {
  public:
    explicit CWizardPicture(QWidget* parent) : QLabel(parent) {
        setObjectName(QStringLiteral("pictureFrame"));
        setProperty("controlId", 1032);
        setFrameShape(QFrame::StyledPanel);
        setFrameShadow(QFrame::Sunken);
        setFixedWidth(120);
        setMinimumHeight(160);
    }

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        setPixmap(vrk::RoleBitmap(vrk::bitmap::kNewDictionary, contentsRect().size()));
    }
};

// The buttons of a page, right of its picture and fields; "Pomoč" opens
// `helpContext`.
QDialogButtonBox* PageButtons(QDialog* page, int helpContext) {
    auto* buttons = new QDialogButtonBox(page);
    QPushButton* help = buttons->addButton(vrk::texts::kHelp, QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("helpButton"));
    QObject::connect(help, &QPushButton::clicked, page,
                     [page, helpContext] { vrk::ShowHelp(helpContext, page); });
    vrk::AddHelpKey(page, helpContext);
    return buttons;
}

void LayOutPage(QDialog* page, QWidget* fields, QDialogButtonBox* buttons) {
    auto* body = new QHBoxLayout;
    body->addWidget(new CWizardPicture(page));
    body->addWidget(fields, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(body, 1);
    layout->addWidget(buttons);
}

}  // namespace

CNewDictPage1Dlg::CNewDictPage1Dlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("newDictPage1"));
    setWindowTitle(texts::kNewDictPage1Title);
    m_pFields = new CHeaderFields(this);
    QDialogButtonBox* buttons = PageButtons(this, vrk::help::kNewDictPage1);
    QPushButton* back = buttons->addButton(texts::kBack, QDialogButtonBox::ActionRole);
    back->setObjectName(QStringLiteral("backButton"));
    back->setEnabled(false);  // the first page
    QPushButton* next = buttons->addButton(texts::kNext, QDialogButtonBox::AcceptRole);
    next->setObjectName(QStringLiteral("nextButton"));
    next->setDefault(true);
    buttons->addButton(vrk::texts::kCancel, QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CNewDictPage1Dlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CNewDictPage1Dlg::reject);
    LayOutPage(this, m_pFields, buttons);
    resize(480, 340);
}

int CNewDictPage1Dlg::exec() {
    m_pFields->Load(m_texts);
    return QDialog::exec();
}

void CNewDictPage1Dlg::accept() {
    m_texts = m_pFields->Store();
    QDialog::accept();
}

CNewDictPage2Dlg::CNewDictPage2Dlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("newDictPage2"));
    setWindowTitle(texts::kNewDictPage2Title);
    m_pControls = new CSecurityControls(this);
    QDialogButtonBox* buttons = PageButtons(this, vrk::help::kNewDictPage2);
    QPushButton* back = buttons->addButton(texts::kBack, QDialogButtonBox::ActionRole);
    back->setObjectName(QStringLiteral("backButton"));
    back->setProperty("controlId", 1024);
    QPushButton* save = buttons->addButton(texts::kSave, QDialogButtonBox::AcceptRole);
    save->setObjectName(QStringLiteral("saveButton"));
    save->setDefault(true);
    QFont bold = save->font();
    bold.setBold(true);
    save->setFont(bold);
    buttons->addButton(vrk::texts::kCancel, QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CNewDictPage2Dlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CNewDictPage2Dlg::reject);
    connect(back, &QPushButton::clicked, this, &CNewDictPage2Dlg::back);
    auto* fields = new QWidget(this);
    auto* column = new QVBoxLayout(fields);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_pControls);
    column->addStretch();
    LayOutPage(this, fields, buttons);
    resize(480, 340);
}

int CNewDictPage2Dlg::exec() {
    m_pControls->Load(m_settings);
    return QDialog::exec();
}

void CNewDictPage2Dlg::accept() {
    m_settings = m_pControls->Store();
    QDialog::accept();
}

void CNewDictPage2Dlg::back() {
    m_settings = m_pControls->Store();
    done(kWizardBack);
}
