// CAlphabetDlg: "Razvrščanje", where the user edits the current alphabet row
// and its separator, choosing from the rows used before. "V redu" stores the
// row as the current one and keeps the history (settings/alphabet_rows.h);
// nothing that runs changes: every reader takes the row when it next starts.
#pragma once

#include <QDialog>

#include "settings/alphabet_rows.h"

class QComboBox;
class QLineEdit;

namespace vrk {

class CAlphabetDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAlphabetDlg(QWidget* parent = nullptr);

    void accept() override;

  private:
    void createControls();
    void createLayout();
    void connectControls();
    void loadSlots();
    void showSeparatorOf(int listIndex);

    TAlphabetSlots m_slots;
    QComboBox* m_pRow = nullptr;
    QLineEdit* m_pSeparator = nullptr;
};

}  // namespace vrk
