#include "ui/alphabet_dlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/accessible_text.h"
#include "ui/cp1250_text.h"
#include "ui/dialog_buttons.h"
#include "ui/help.h"
#include "ui/ui_texts.h"

namespace vrk {

CAlphabetDlg::CAlphabetDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("alphabetDlg");
    setWindowTitle(texts::kAlphabetTitle);
    createControls();
    createLayout();
    loadSlots();
    connectControls();
}

void CAlphabetDlg::createControls() {
    m_pRow = new QComboBox(this);
    m_pRow->setObjectName("rowCombo");
    m_pRow->setEditable(true);
    m_pRow->setInsertPolicy(QComboBox::NoInsert);
    m_pRow->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_pRow->setMinimumContentsLength(40);
    m_pRow->lineEdit()->setMaxLength(static_cast<int>(kAlphabetRowBuffer) - 1);
    m_pSeparator = new QLineEdit(this);
    m_pSeparator->setObjectName("separatorEdit");
    m_pSeparator->setMaxLength(1);
    m_pSeparator->setMaximumWidth(m_pSeparator->fontMetrics().horizontalAdvance('M') * 4);
    m_pSeparator->setAlignment(Qt::AlignCenter);
}

void CAlphabetDlg::createLayout() {
    auto* rowLabel = new QLabel(texts::kAlphabetRow, this);
    rowLabel->setBuddy(m_pRow);
    auto* separatorLabel = new QLabel(texts::kAlphabetSeparator, this);
    separatorLabel->setBuddy(m_pSeparator);
    auto* fields = new QFormLayout;
    fields->setRowWrapPolicy(QFormLayout::WrapAllRows);
    fields->addRow(rowLabel, m_pRow);
    auto* separatorRow = new QFormLayout;
    separatorRow->addRow(separatorLabel, m_pSeparator);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(separatorRow);
    layout->addSpacing(10);
    layout->addWidget(AddOkCancelHelp(this, help::kAlphabet).box);
    NameFromLabels(this);
}

void CAlphabetDlg::connectControls() {
    connect(m_pRow, &QComboBox::activated, this, &CAlphabetDlg::showSeparatorOf);
}

void CAlphabetDlg::loadSlots() {
    m_slots = ReadAlphabetSlots();
    // Each list item remembers its slot: a slot that could not be read is
    // left out, so list positions and slot numbers may differ.
    for (int i = 0; i < kAlphabetSlots; ++i)
        if (m_slots[i].listed) m_pRow->addItem(FromCp1250(m_slots[i].row.text), i);
    m_pRow->setCurrentIndex(m_pRow->count() > 0 ? 0 : -1);
    if (m_pRow->count() > 0) {
        showSeparatorOf(0);
        m_pRow->lineEdit()->setCursorPosition(0);
    } else {
        m_pSeparator->setText(FromCp1250(std::string(1, m_slots[0].row.separator)));
    }
}

void CAlphabetDlg::showSeparatorOf(int listIndex) {
    const int slot = m_pRow->itemData(listIndex).toInt();
    if (slot < 0 || slot >= kAlphabetSlots) return;
    m_pSeparator->setText(FromCp1250(std::string(1, m_slots[slot].row.separator)));
}

void CAlphabetDlg::accept() {
    TAlphabetRow row;
    row.text = ToCp1250(m_pRow->currentText());
    const std::string separator = ToCp1250(m_pSeparator->text());
    // An empty separator would join every letter into one group; keep "|".
    row.separator = separator.empty() || separator[0] == '\0' ? '|' : separator[0];
    StoreAlphabetRow(m_slots, std::move(row));
    QDialog::accept();
}

}  // namespace vrk
