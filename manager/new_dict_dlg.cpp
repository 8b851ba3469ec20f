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
        setPixmap(vrk::RoleBitmap(vrk::bitmap::kNewDictionary, contentsRect().size(),
                                  devicePixelRatioF()));
    }
};

// The buttons of a page, below its picture and fields, in a wizard's order:
// "< Nazaj" just left of the forward button, then "Prekliči" and "Pomoč"
// (which opens `helpContext`). Only the forward button is ever the default:
// Enter never goes back, whichever button was clicked last.
struct TPageButtons {
    QPushButton* back;
    QPushButton* forward;
    QHBoxLayout* row;
};

TPageButtons PageButtons(QDialog* page, int helpContext, const QString& forwardText,
                         const char* forwardName) {
    const auto button = [page](const QString& text, const char* name) {
        auto* made = new QPushButton(text, page);
        made->setObjectName(QString::fromLatin1(name));
        made->setAutoDefault(false);
        return made;
    };
    TPageButtons buttons{button(vrk::texts::kBack, "backButton"), button(forwardText, forwardName),
                         new QHBoxLayout};
    buttons.forward->setDefault(true);
    QPushButton* cancel = button(vrk::texts::kCancel, "cancelButton");
    QPushButton* help = button(vrk::texts::kHelp, "helpButton");
    QObject::connect(buttons.forward, &QPushButton::clicked, page, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, page, &QDialog::reject);
    QObject::connect(help, &QPushButton::clicked, page,
                     [page, helpContext] { vrk::ShowHelp(helpContext, page); });
    vrk::AddHelpKey(page, helpContext);
    buttons.row->addStretch();
    buttons.row->addWidget(buttons.back);
    buttons.row->addWidget(buttons.forward);
    buttons.row->addSpacing(12);
    buttons.row->addWidget(cancel);
    buttons.row->addWidget(help);
    return buttons;
}

void LayOutPage(QDialog* page, QWidget* fields, QHBoxLayout* buttons) {
    auto* body = new QHBoxLayout;
    body->addWidget(new CWizardPicture(page));
    body->addWidget(fields, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
}

}  // namespace

CNewDictPage1Dlg::CNewDictPage1Dlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("newDictPage1"));
    setWindowTitle(vrk::texts::kNewDictPage1Title);
    m_pFields = new CHeaderFields(this);
    const TPageButtons buttons =
        PageButtons(this, vrk::help::kNewDictPage1, vrk::texts::kNext, "nextButton");
    buttons.back->setEnabled(false);  // the first page
    LayOutPage(this, m_pFields, buttons.row);
    resize(480, 340);
}

int CNewDictPage1Dlg::exec() {
    m_pFields->Load(m_texts);
    return QDialog::exec();
}

void CNewDictPage1Dlg::accept() {
    if (!m_pFields->CheckStorable()) return;
    m_texts = m_pFields->Store();
    QDialog::accept();
}

CNewDictPage2Dlg::CNewDictPage2Dlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("newDictPage2"));
    setWindowTitle(vrk::texts::kNewDictPage2Title);
    m_pControls = new CSecurityControls(this);
    const TPageButtons buttons =
        PageButtons(this, vrk::help::kNewDictPage2, vrk::texts::kSave, "saveButton");
    buttons.back->setProperty("controlId", 1024);
    QFont bold = buttons.forward->font();
    bold.setBold(true);
    buttons.forward->setFont(bold);
    connect(buttons.back, &QPushButton::clicked, this, &CNewDictPage2Dlg::back);
    auto* fields = new QWidget(this);
    auto* column = new QVBoxLayout(fields);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_pControls);
    column->addStretch();
    LayOutPage(this, fields, buttons.row);
    resize(480, 340);
}

int CNewDictPage2Dlg::exec() {
    m_pControls->Load(m_settings);
    return QDialog::exec();
}

void CNewDictPage2Dlg::accept() {
    if (!m_pControls->CheckStorable()) return;
    m_settings = m_pControls->Store();
    QDialog::accept();
}

void CNewDictPage2Dlg::back() {
    m_settings = m_pControls->Store();
    done(kWizardBack);
}
