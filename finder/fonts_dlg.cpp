#include "finder/fonts_dlg.h"

#include <QComboBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "finder/finder_texts.h"
#include "ui/accessible_text.h"
#include "ui/cp1250_text.h"
#include "ui/dialog_buttons.h"
#include "ui/help.h"
#include "ui/ui_texts.h"

CFontsDlg::CFontsDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("fontsDlg");
    setWindowTitle(vrk::texts::kFontsTitle);
    createControls();
    createLayout();
    connectControls();
}

void CFontsDlg::createControls() {
    m_pWindows = new QComboBox(this);
    m_pWindows->setObjectName("fontWindowList");
    m_pWindows->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_pSample = new QLabel(this);
    m_pSample->setObjectName("fontSample");
    m_pSample->setAlignment(Qt::AlignCenter);
    m_pSample->setMinimumSize(260, 70);
    m_pSample->setTextFormat(Qt::PlainText);
    m_pChange = new QPushButton(vrk::texts::kChange, this);
    m_pChange->setObjectName("changeFontButton");
}

void CFontsDlg::createLayout() {
    auto* windowLabel = new QLabel(vrk::texts::kFontsWindow, this);
    windowLabel->setBuddy(m_pWindows);
    auto* windowRow = new QHBoxLayout;
    windowRow->addWidget(windowLabel);
    windowRow->addWidget(m_pWindows, 1);
    auto* group = new QGroupBox(vrk::texts::kFontsGroup, this);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_pSample, 1);
    auto* changeRow = new QHBoxLayout;
    changeRow->addStretch();
    changeRow->addWidget(m_pChange);
    groupLayout->addLayout(changeRow);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(windowRow);
    layout->addWidget(group, 1);
    layout->addWidget(vrk::AddOkCancelHelp(this, vrk::help::kFonts).box);
    vrk::NameFromLabels(this);
}

void CFontsDlg::connectControls() {
    connect(m_pWindows, &QComboBox::currentIndexChanged, this, &CFontsDlg::showSample);
    connect(m_pChange, &QPushButton::clicked, this, &CFontsDlg::changeFont);
}

bool CFontsDlg::AddEntry(const QString& name, vrk::TFontRecord* slot) {
    if (EntryCount() >= kMaxEntries || !slot) return false;
    m_entries.push_back({name, slot, *slot});
    return true;
}

int CFontsDlg::CurrentEntry() const {
    return m_pWindows->currentIndex();
}

QFont CFontsDlg::SampleFont(int entry) const {
    const vrk::TFontRecord& copy = EntryCopy(entry);
    return copy.FaceName().empty() ? font() : vrk::FontFromRecord(copy);
}

void CFontsDlg::showEvent(QShowEvent* event) {
    // The list is filled when the dialog opens, in the order the entries
    // were added, with the first one chosen.
    if (!m_bListFilled) {
        m_bListFilled = true;
        for (const TEntry& entry : m_entries) m_pWindows->addItem(entry.name);
        m_pWindows->setCurrentIndex(m_entries.empty() ? -1 : 0);
    }
    m_pChange->setEnabled(!m_entries.empty());
    showSample();
    QDialog::showEvent(event);
}

// The sample is the face's own name drawn in that face; a face that is not
// installed shows its name in the face Qt falls back to.
void CFontsDlg::showSample() {
    const int entry = CurrentEntry();
    if (entry < 0 || entry >= EntryCount()) {
        m_pSample->clear();
        return;
    }
    const QFont sample = SampleFont(entry);
    const vrk::TFontRecord& copy = EntryCopy(entry);
    m_pSample->setFont(sample);
    m_pSample->setText(copy.FaceName().empty() ? sample.family()
                                               : vrk::FromCp1250(copy.FaceName()));
}

void CFontsDlg::changeFont() {
    const int entry = CurrentEntry();
    if (entry < 0 || entry >= EntryCount()) return;
    // Qt's own dialog, not the desktop's, so that it speaks Slovene as the
    // rest of the program does.
    QFontDialog dialog(SampleFont(entry), this);
    dialog.setObjectName("qtFontDialog");
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    vrk::NameFromLabels(&dialog);
    if (dialog.exec() != QDialog::Accepted) return;
    m_entries[entry].copy = vrk::RecordFromFont(dialog.selectedFont());
    showSample();
}

void CFontsDlg::accept() {
    for (TEntry& entry : m_entries) *entry.slot = entry.copy;
    QDialog::accept();
}
