// What the manager's tests share: a private settings store with a temporary
// directory and an install path, dictionaries and libraries made on disk and
// in the store, and the main frame shown offscreen.
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "manager/command_host.h"
#include "manager/main_frame.h"
#include "manager/manager_texts.h"
#include "manager/vrk3dbe_view.h"
#include "settings/settings_keys.h"
#include "store/data_file.h"
#include "ui/file_dialog.h"
#include "ui/test_ui.h"

namespace vrk {

// A file dialog's answer: these files, chosen in `directory` (the folder of
// the first file when empty).
TFileDialogResult FilesChosen(const QStringList& files, const QString& directory = {});
// What the export command asks the file dialog, in `directory`.
TFileDialogRequest ExportRequest(const std::string& directory);

// A stand-in for the view a command runs in: a window nobody sees, the
// selection a test gives it, and what the command asked it to list.
class TFakeHost : public TCommandHost {
  public:
    // Selects the library at `library` ("A\\B" for B below A) and rows read
    // from these dictionaries.
    void Select(const std::vector<std::string>& paths = {}, const std::string& library = "Knj");

    QWidget* Window() override { return &m_window; }
    TSelection Selection() const override;
    std::string& BackupDir() override { return m_strBackupDir; }
    void ListDictionary(const TMemberRow& row, bool alone) override {
        listed.push_back((alone ? "+" : "") + row.path);
    }
    void RemoveSelectedRows() override { ++rowsRemoved; }
    void ListAgain() override {}
    int LibraryCount() const override { return libraries; }
    void InsertLibrary(QTreeWidgetItem*, QTreeWidgetItem* item) override { delete item; }
    void EditLibraryName(QTreeWidgetItem*) override {}
    void RemoveLibraryItem(QTreeWidgetItem*) override { ++librariesRemoved; }

    // Each row listed, by its file, after "+" when it was listed alone.
    std::vector<std::string> listed;
    int libraries = 2;  // the tree's count
    int rowsRemoved = 0, librariesRemoved = 0;

  private:
    QWidget m_window;
    std::string m_strBackupDir;
    std::unique_ptr<QTreeWidgetItem> m_top;  // and the levels below it
    QTreeWidgetItem* m_library = nullptr;
    std::vector<std::unique_ptr<QTreeWidgetItem>> m_rows;
};

class TManagerTest : public TUiTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a dictionary with `entries` words to folder_/file; its path.
    std::string MakeDictionary(const std::string& file, std::string_view name,
                               std::string_view author = "Avtor", int entries = 0);
    // Creates the library at `path` below Groups ("A\B" for B below A), with
    // these members.
    void MakeLibrary(std::string_view path, const std::vector<std::string>& members = {});
    // The key path of a library below Groups, and its member paths in
    // store order.
    static std::string LibraryKey(std::string_view path) {
        return std::string(kGroupsKey) + "\\" + std::string(path);
    }
    std::vector<std::string> Members(std::string_view path) { return ValueNames(LibraryKey(path)); }
    // A dictionary object for `path` with scratch files of its own.
    std::unique_ptr<TDataFile> Open(const std::string& path) const;
    std::int32_t Flags(const std::string& path) const { return Open(path)->GetFlags(); }
    // The header texts: name, author, notes, password.
    std::vector<std::string> Headers(const std::string& path) const;
    // A dictionary protected (flags 7) by `password`.
    std::string Protected(const std::string& file, std::string_view name,
                          std::string_view password);

    // Answers the next password prompt with `typed`, or cancels it (empty).
    static void Password(const QString& typed);
    // Fills the import dialog and confirms it.
    static void ImportDialog(const std::string& source, const std::string& target);
    // The data dialog after an import: the texts, or a cancel.
    static void DataDialog(const QString& name, bool ok = true);

    // A frame (no splash), shown and exposed, with its first library listed.
    std::unique_ptr<CMainFrame> StartFrame();
    CVrk3dbeView* View() const { return frame_->View(); }
    // The tree item of the first library named `name`; null when none.
    QTreeWidgetItem* Library(const QString& name) const;
    void ClickLibrary(const QString& name);
    // The list's names in row order, and the row showing `name`.
    QStringList ListNames() const;
    QTreeWidgetItem* Row(const QString& name) const;
    // Selects rows by clicks (Ctrl adds every row after the first).
    void SelectRows(const QStringList& names);
    // Where a tree or list item is drawn, in its viewport's coordinates.
    static QPoint Centre(QTreeWidgetItem* item) {
        return item->treeWidget()->visualItemRect(item).center();
    }
    // Runs a command, which must be enabled.
    void Run(int command);
    bool Enabled(int command);
    // The text stored under `name` in the manager's settings (a folder a
    // file dialog showed last).
    static std::string Setting(const char* name);

    std::string folder_;  // dictionaries
    std::unique_ptr<CMainFrame> frame_;
    // The commands on a fake view, without a frame.
    std::unique_ptr<TFakeHost> host_;
    std::unique_ptr<TDictionaryCommands> dictionaries_;
    std::unique_ptr<TLibraryCommands> libraries_;
};

}  // namespace vrk
