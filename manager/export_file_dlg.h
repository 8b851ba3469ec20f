// CExportFileDlg: the export's save dialog ("Izvozi") with the separator
// panel below the file-type choice. The panel follows the chosen filter
// entry: for the older dictionary formats it asks for the character that
// divides the descriptions of one word (";" by default), for CSV for the one
// between fields ("," by default). The format itself is decided by the
// chosen file's extension alone.
#pragma once

#include <QString>

#include "ui/file_dialog.h"

class QLabel;
class QLineEdit;

// The panel's label and default separator for a filter entry's text; false
// when the entry is of no known kind (the panel then stays as it is).
[[nodiscard]] bool SeparatorDefaults(const QString& filterText, QString& label, QChar& separator);

// Why a separator text cannot be used.
enum class TSeparatorCheck { kOk, kMissing, kInvalid };
// The separator byte of `text`: its one character as Windows-1250. An empty
// text would give the byte 0 and a line break would break the lines, which
// no older-format file can hold; characters without a Windows-1250 byte
// cannot be written either.
[[nodiscard]] TSeparatorCheck CheckSeparator(const QString& text, char& separator);

// What the user chose.
struct TExportChoice {
    QString path;
    QString directory;  // the folder the dialog showed
    char separator = ';';
};

class CExportFileDlg : public vrk::CFileDialog {
    Q_OBJECT
  public:
    CExportFileDlg(QWidget* parent, const vrk::TFileDialogRequest& request);

    // Shows the chooser (or asks the file-dialog hook) until the user picks
    // a file with a usable separator or cancels; false when cancelled.
    [[nodiscard]] static bool Choose(QWidget* parent, const vrk::TFileDialogRequest& request,
                                     TExportChoice& choice);

    // The separator taken when the dialog closed.
    char m_chSeparator = ';';

  protected:
    bool CanAccept(const QString& file) override;

  private:
    void createPanel();
    void updateForFilter(const QString& filterText);

    QLabel* m_pLabel = nullptr;
    QLineEdit* m_pSeparator = nullptr;
};
