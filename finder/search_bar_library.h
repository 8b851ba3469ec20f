// The active library: the library whose dictionaries a search visits, kept
// in SearchHandOver (strActiveLibrary, strLibraryDicts) and remembered as
// "ActiveLib" under "Fndr". CActiveLibraryDlg is the pop-up the user
// chooses it in: every library at every depth, alphabetically, with
// "-- Vse Knjižnice --" (all libraries) first.
#pragma once

#include <QString>
#include <string_view>

#include "finder/search_bar_popup.h"

class QListWidget;

// Makes the first library named `name` (depth first) the active one and
// collects its dictionaries and those of its sub-libraries; the pseudo-name
// of all libraries takes the whole tree. False, changing nothing, when the
// library tree cannot be read or no library has that name.
[[nodiscard]] bool SelectLibrary(std::string_view name);

// Empties the active library and selects the one stored as "ActiveLib".
void RestoreActiveLibrary();

class CActiveLibraryDlg : public CSearchBarPopup {
    Q_OBJECT
  public:
    explicit CActiveLibraryDlg(QWidget* parent);

    QListWidget* List() const { return m_pList; }
    // Fills the list from the library tree and selects the active library.
    void Refill() override;

  signals:
    // The user chose a library, which is now the active one.
    void LibraryChosen();

  private:
    void choose();

    QListWidget* m_pList = nullptr;
};
