// A dictionary's header data: its name, author and notes. CHeaderFields
// shows them (the first page of the new-dictionary wizard and CDictDataDlg,
// "Podatki o Slovarju", which changes them).
#pragma once

#include <QDialog>
#include <QString>
#include <string>

class QLineEdit;
class QPlainTextEdit;

// The texts as the dialogs hand them in and out.
struct THeaderTexts {
    QString name;
    QString author;
    QString notes;
};

// A header text as the dictionary stores it: Windows-1250, cut to the
// 99 999 bytes a header record holds.
[[nodiscard]] std::string HeaderBytes(const QString& text);

class CHeaderFields : public QWidget {
    Q_OBJECT
  public:
    explicit CHeaderFields(QWidget* parent = nullptr);

    void Load(const THeaderTexts& texts);
    THeaderTexts Store() const;
    // False, after saying so and putting the focus there, when a field holds
    // characters a dictionary cannot store (stored_text.h).
    [[nodiscard]] bool CheckStorable();

  private:
    QLineEdit* m_pName = nullptr;
    QLineEdit* m_pAuthor = nullptr;
    QPlainTextEdit* m_pNotes = nullptr;  // Enter makes a new line
};

// "Podatki o Slovarju" with "V redu", "Prekliči" and "Pomoč".
class CDictDataDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CDictDataDlg(QWidget* parent = nullptr);

    THeaderTexts m_texts;

    int exec() override;

  private:
    void accept() override;

    CHeaderFields* m_pFields = nullptr;
};
