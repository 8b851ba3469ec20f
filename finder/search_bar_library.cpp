#include "finder/search_bar_library.h"

#include <QCollator>
#include <QListWidget>
#include <algorithm>
#include <string>
#include <vector>

#include "finder/finder_texts.h"
#include "settings/library_registry.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "ui/cp1250_text.h"

bool TActiveLibrary::Select(std::string_view name) {
    std::string keyPath;
    if (!vrk::FindLibraryKey(name, keyPath)) return false;
    std::string dictionaries;
    if (!vrk::CollectLibraryDictionaries(keyPath, dictionaries)) return false;
    m_strActiveLibrary = std::string(name);
    m_strLibraryDicts = std::move(dictionaries);
    // Remembered for the next start; the finder's key exists from start-up.
    (void)vrk::TSetRegistryString(vrk::kFinderPath, "ActiveLib", name,
                                  vrk::kRegNeverCreate | vrk::kRegOverwrite);
    return true;
}

void TActiveLibrary::Restore() {
    m_strActiveLibrary.clear();
    m_strLibraryDicts.clear();
    std::string stored;
    if (vrk::TGetRegistryString(vrk::kFinderPath, "ActiveLib", stored)) (void)Select(stored);
}

CActiveLibraryDlg::CActiveLibraryDlg(TActiveLibrary& library, QWidget* parent)
    : CSearchBarPopup(parent), m_library(library) {
    setObjectName(QStringLiteral("activeLibrary"));
    m_pList = new QListWidget(this);
    m_pList->setObjectName(QStringLiteral("activeLibraryList"));
    m_pList->setAccessibleName(vrk::texts::kA11yLibraryName);
    SetControl(m_pList);
    resize(240, 200);
    connect(m_pList, &QListWidget::itemSelectionChanged, this, &CActiveLibraryDlg::choose);
    // Choosing the library already selected reads it again too (the
    // manager may have added or removed dictionaries since), and closes the
    // window.
    connect(m_pList, &QListWidget::itemClicked, this, &CActiveLibraryDlg::choose);
    connect(m_pList, &QListWidget::itemActivated, this, &CActiveLibraryDlg::choose);
}

void CActiveLibraryDlg::Refill() {
    const QSignalBlocker blocker(m_pList);
    std::vector<std::string> names;
    (void)vrk::ListLibraryNames(names);  // a tree that cannot be read lists what was read
    QStringList shown;
    for (const std::string& name : names) shown << vrk::FromCp1250(name);
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(shown.begin(), shown.end(), collator);

    m_pList->clear();
    shown.prepend(vrk::FromCp1250(vrk::kAllLibraries));
    m_pList->addItems(shown);
    const QString active = vrk::FromCp1250(m_library.Name());
    for (int i = 0; i < m_pList->count(); ++i) {
        if (m_pList->item(i)->text() == active) {
            m_pList->setCurrentRow(i);
            break;
        }
    }
}

void CActiveLibraryDlg::choose() {
    const QList<QListWidgetItem*> selected = m_pList->selectedItems();
    if (selected.isEmpty()) return;
    if (m_library.Select(vrk::ToCp1250(selected.first()->text()))) emit LibraryChosen();
    hide();
}
