// The active library: the library whose dictionaries a search visits,
// remembered as "ActiveLib" under "Fndr". TActiveLibrary holds it for the
// main frame; CActiveLibraryDlg is the pop-up the user chooses it in: every
// library at every depth, alphabetically, with "-- Vse Knjižnice --" (all
// libraries) first.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "finder/search_bar_popup.h"

class QListWidget;

class TActiveLibrary {
  public:
    // Makes the first library named `name` (depth first) the active one and
    // collects its dictionaries and those of its sub-libraries; the pseudo-
    // name of all libraries takes the whole tree. False, changing nothing,
    // when the library tree cannot be read or no library has that name.
    [[nodiscard]] bool Select(std::string_view name);
    // Empties the active library and selects the one stored as "ActiveLib".
    void Restore();

    // The library's name (Windows-1250); empty when none is active.
    const std::string& Name() const { return m_strActiveLibrary; }
    // Its dictionary paths, each followed by '"'.
    const std::string& Dictionaries() const { return m_strLibraryDicts; }

  private:
    std::string m_strActiveLibrary;
    std::string m_strLibraryDicts;
};

class CActiveLibraryDlg : public CSearchBarPopup {
    Q_OBJECT
  public:
    // Chooses into `library`, which must outlive the window.
    CActiveLibraryDlg(TActiveLibrary& library, QWidget* parent);

    QListWidget* List() const { return m_pList; }
    // Fills the list from the library tree and selects the active library.
    void Refill() override;

  signals:
    // The user chose a library, which is now the active one.
    void LibraryChosen();

  private:
    void choose();

    TActiveLibrary& m_library;
    QListWidget* m_pList = nullptr;
};
