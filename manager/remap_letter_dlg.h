// CRemapLetterDlg: "Priredi Pisavo", the letter to replace ("Zamenjaj
// črko:") and the one to replace it with ("s črko:"), one character each.
#pragma once

#include <QDialog>

class QLineEdit;

// The byte of a one-letter edit: the first character as Windows-1250, or 0
// when the edit is empty or the character has no Windows-1250 byte (the
// remapping then refuses it rather than replacing some other letter).
[[nodiscard]] char LetterByte(const QString& text);

class CRemapLetterDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CRemapLetterDlg(QWidget* parent = nullptr);

    // Taken by "V redu".
    char m_chFrom = 0;
    char m_chTo = 0;

  private:
    void accept() override;

    QLineEdit* m_pFrom = nullptr;
    QLineEdit* m_pTo = nullptr;
};
