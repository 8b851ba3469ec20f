// CImportDlg: "Uvozi Slovar", the older-format file to import ("Obstoječi
// slovar:") and the new dictionary to make from it ("Novi slovar:"), each
// typed or chosen with a file dialog.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

class CImportDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CImportDlg(QWidget* parent = nullptr);

    // Taken by "V redu", which closes the dialog only when both are given,
    // they are not one file, and an existing new file may be replaced.
    QString m_strExistingFile;
    QString m_strNewFile;

  private:
    void browseExisting();
    void browseNew();
    void accept() override;

    QLineEdit* m_pExisting = nullptr;
    QLineEdit* m_pNew = nullptr;
    // The new file whose replacement the save dialog has confirmed.
    QString m_strConfirmedNewFile;
};
