// CSaveEntryDlg: "Shrani Geslo", where Save as chooses the dictionary a word
// is stored into, and may rename the word. The tree lists the libraries with
// the dictionaries that accept changes (others cannot be chosen); the
// library chosen last ("LastLib") opens expanded. "Poišči..." adds a
// dictionary from a file of the user's choice at the end of the tree.
#pragma once

#include <QDialog>
#include <QString>
#include <string>

#include "settings/scratch_set.h"

class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vrk {
struct TLibraryNode;
}

class CSaveEntryDlg : public QDialog {
    Q_OBJECT
  public:
    // The tree's item kinds, which are also their pictures.
    enum ItemKind { kDictionaryItem = 0, kLibraryItem, kLibraryClosed, kLibraryOpen };
    static constexpr int kKindRole = Qt::UserRole;
    static constexpr int kPathRole = Qt::UserRole + 1;

    CSaveEntryDlg(const QString& word, QWidget* parent = nullptr);

    // After "V redu": the word as typed and the chosen dictionary's path.
    QString Word() const { return m_strWord; }
    QString DataFile() const { return m_strDataFile; }

    QLineEdit* WordEdit() const { return m_pWord; }
    QTreeWidget* Tree() const { return m_pTree; }
    QPushButton* OkButton() const { return m_pOk; }

    // "Poišči...": a dictionary file chosen by the user.
    void Browse();
    // "V redu": only with a dictionary selected.
    void accept() override;

  private:
    void createControls();
    void createLayout();
    void connectControls();
    void fillTree();
    // Fills `parent` (the top level when null) from `node`; returns the
    // library item to open first: the one named by "LastLib", else the
    // first one remembered below.
    QTreeWidgetItem* fillLibrary(const vrk::TLibraryNode& node, QTreeWidgetItem* parent,
                                 const std::string& lastLibrary);
    // Whether the file at `path` is a dictionary that accepts changes.
    enum class TCheck { kAccepts, kNotADictionary, kRefusesChanges };
    TCheck checkDictionary(const QString& path, std::string& name) const;
    // A dictionary item for `path` when the dictionary can be read and
    // accepts changes; null otherwise.
    QTreeWidgetItem* dictionaryItem(const QString& path) const;
    QTreeWidgetItem* makeDictionaryItem(const QString& path, const std::string& name) const;
    void setKind(QTreeWidgetItem* item, ItemKind kind) const;
    void onSelectionChanged();

    bool m_bHavePaths = false;
    vrk::TScratchSet m_scratch;
    QString m_strWord;
    QString m_strDataFile;
    QLineEdit* m_pWord = nullptr;
    QTreeWidget* m_pTree = nullptr;
    QPushButton* m_pBrowse = nullptr;
    QPushButton* m_pOk = nullptr;
};
