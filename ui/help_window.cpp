#include "ui/help_window.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/icons.h"
#include "ui/ui_texts.h"

namespace vrk {

CHelpWindow::CHelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("helpWindow");
    setWindowTitle(texts::kHelpTitle);
    createControls();
    createLayout();
    connectControls();
    resize(640, 480);
}

void CHelpWindow::createControls() {
    auto makeButton = [this](const char* name, const QString& text, const QString& iconName) {
        auto* button = new QToolButton(this);
        button->setObjectName(name);
        button->setText(text);
        button->setIcon(ToolbarIcon(iconName));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setAutoRaise(true);
        return button;
    };
    m_pBack = makeButton("helpBack", texts::kHelpBack, "help-back");
    m_pForward = makeButton("helpForward", texts::kHelpForward, "help-forward");
    m_pContents = makeButton("helpContents", texts::kHelpContents, "help-contents");
    m_pBack->setEnabled(false);
    m_pForward->setEnabled(false);
    m_pBrowser = new QTextBrowser(this);
    m_pBrowser->setObjectName("helpBrowser");
    m_pBrowser->setOpenExternalLinks(true);
}

void CHelpWindow::createLayout() {
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_pBack);
    buttons->addWidget(m_pForward);
    buttons->addWidget(m_pContents);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(buttons);
    layout->addWidget(m_pBrowser);
}

void CHelpWindow::connectControls() {
    connect(m_pBack, &QToolButton::clicked, m_pBrowser, &QTextBrowser::backward);
    connect(m_pForward, &QToolButton::clicked, m_pBrowser, &QTextBrowser::forward);
    connect(m_pContents, &QToolButton::clicked, m_pBrowser, &QTextBrowser::home);
    connect(m_pBrowser, &QTextBrowser::backwardAvailable, m_pBack, &QToolButton::setEnabled);
    connect(m_pBrowser, &QTextBrowser::forwardAvailable, m_pForward, &QToolButton::setEnabled);
    connect(m_pBrowser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = m_pBrowser->documentTitle();
        setWindowTitle(title.isEmpty() ? texts::kHelpTitle
                                       : texts::kHelpTitle + QStringLiteral(" – ") + title);
    });
}

void CHelpWindow::keyPressEvent(QKeyEvent* event) {
    // Escape closes the help as it closes a dialog, so a reader who came by
    // F1 goes back by one key.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CHelpWindow::Open(const QUrl& url) {
    if (m_pBrowser->source().isEmpty()) {
        // The first page opened becomes "home"; make that the contents.
        QUrl contents = url;
        contents.setPath(url.path().section('/', 0, -2) + QStringLiteral("/index.html"));
        contents.setFragment({});
        m_pBrowser->setSource(contents);
        m_pBrowser->clearHistory();
    }
    m_pBrowser->setSource(url);
}

}  // namespace vrk
