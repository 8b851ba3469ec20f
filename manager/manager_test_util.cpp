#include "manager/manager_test_util.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <filesystem>

#include "manager/job_thread.h"
#include "settings/library_registry.h"
#include "settings/registry_helpers.h"
#include "settings/temp_dir.h"
#include "store/test_util.h"
#include "ui/commands.h"
#include "ui/cp1250_text.h"

namespace vrk {

TFileDialogResult FilesChosen(const QStringList& files, const QString& directory) {
    TFileDialogResult result;
    result.files = files;
    result.directory = directory;
    if (directory.isEmpty() && !files.isEmpty())
        result.directory = QFileInfo(files.first()).absolutePath();
    return result;
}

TFileDialogRequest ExportRequest(const std::string& directory) {
    TFileDialogRequest request;
    request.save = true;
    request.caption = vrk::texts::kExportTitle;
    request.directory = QString::fromStdString(directory);
    request.filter = vrk::texts::kOlderFormatsFilter;
    return request;
}

void TManagerTest::SetUp() {
    TUiTest::SetUp();
    EnsureManagerKeys();
    folder_ = dir_ + "/slovarji";
    std::filesystem::create_directories(folder_);
    std::filesystem::create_directories(dir_ + "/temp");
    ASSERT_TRUE(TWriteBackupDir(dir_ + "/temp"));
    ASSERT_TRUE(TSetRegistryString(kMachineRootPath, "InstallPath", dir_, kRegCreateKey));
    // Not the first run: no help window unless a test asks for one.
    ASSERT_TRUE(TSetRegistryNumber(kUserRootPath, "Run", 1, kRegCreateKey | kRegOverwrite));
    host_ = std::make_unique<TFakeHost>();
    host_->BackupDir() = dir_ + "/temp";
    dictionaries_ = std::make_unique<TDictionaryCommands>(*host_);
    libraries_ = std::make_unique<TLibraryCommands>(*host_);
}

void TFakeHost::Select(const std::vector<std::string>& paths, const std::string& library) {
    m_rows.clear();
    QTreeWidgetItem* parent = nullptr;
    for (const QString& name : QString::fromStdString(library).split('\\')) {
        QTreeWidgetItem* item = MakeLibraryItem(ToCp1250(name));
        if (parent)
            parent->addChild(item);
        else
            m_top.reset(item);
        parent = item;
    }
    m_library = parent;
    const TScratchSet scratch = TScratchSet::In(m_strBackupDir, kManagerScratch);
    for (const std::string& path : paths)
        m_rows.emplace_back(MakeDictionaryRow(ReadMember(path, scratch)));
}

TSelection TFakeHost::Selection() const {
    TSelection selection;
    selection.library = m_library;
    for (const auto& row : m_rows) selection.rows.push_back(row.get());
    return selection;
}

std::unique_ptr<TDataFile> TManagerTest::Open(const std::string& path) const {
    return std::make_unique<TDataFile>(path, dir_ + "/temp/t1", dir_ + "/temp/t2",
                                       dir_ + "/temp/t3");
}

std::vector<std::string> TManagerTest::Headers(const std::string& path) const {
    auto file = Open(path);
    std::vector<std::string> texts(4);
    EXPECT_TRUE(file->GetName(texts[0]) && file->GetAuthor(texts[1]) && file->GetNotes(texts[2]) &&
                file->GetPassword(texts[3]));
    return texts;
}

std::string TManagerTest::Protected(const std::string& file, std::string_view name,
                                    std::string_view password) {
    const std::string path = MakeDictionary(file, name);
    EXPECT_TRUE(Open(path)->SetInfo(name, "Avtor", "", password, 7));
    return path;
}

void TManagerTest::Password(const QString& typed) {
    WhenDialog("passwordDlg", [=](QWidget* prompt) {
        if (typed.isEmpty()) return Click(prompt, "cancelButton");
        Type(prompt, "passwordEdit", typed);
        Click(prompt, "okButton");
    });
}

void TManagerTest::ImportDialog(const std::string& source, const std::string& target) {
    WhenDialog("importDlg", [=](QWidget* dialog) {
        Type(dialog, "existingEdit", QString::fromStdString(source));
        Type(dialog, "newEdit", QString::fromStdString(target));
        Click(dialog, "okButton");
    });
}

void TManagerTest::DataDialog(const QString& name, bool ok) {
    WhenDialog("dictDataDlg", [=](QWidget* dialog) {
        EXPECT_TRUE(Child<QLineEdit>(dialog, "nameEdit")->text().isEmpty());
        Type(dialog, "nameEdit", name);
        Type(dialog, "authorEdit", QStringLiteral("Uvoznik"));
        Click(dialog, ok ? "okButton" : "cancelButton");
    });
}

void TManagerTest::TearDown() {
    SetJobStepHook({});
    libraries_.reset();
    dictionaries_.reset();
    host_.reset();
    frame_.reset();
    TUiTest::TearDown();
}

std::string TManagerTest::MakeDictionary(const std::string& file, std::string_view name,
                                         std::string_view author, int entries) {
    const std::string path = folder_ + "/" + file;
    std::vector<std::string> records;
    for (int i = 0; i < entries; ++i)
        records.push_back(Record("beseda" + std::to_string(i), {"opis"}));
    WriteDictionary(path, records, name, author, 6);
    return path;
}

void TManagerTest::MakeLibrary(std::string_view path, const std::vector<std::string>& members) {
    (void)UserKey(LibraryKey(path));
    for (const std::string& member : members)
        ASSERT_EQ(AddLibraryDictionary(LibraryKey(path), member), TLibraryResult::kOk);
}

std::unique_ptr<CMainFrame> TManagerTest::StartFrame() {
    auto frame = std::make_unique<CMainFrame>(false);
    frame->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    QApplication::setActiveWindow(frame.get());
    QTest::qWait(20);
    return frame;
}

QTreeWidgetItem* TManagerTest::Library(const QString& name) const {
    const auto found = View()->Tree()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

void TManagerTest::ClickLibrary(const QString& name) {
    QTreeWidgetItem* item = Library(name);
    ASSERT_NE(item, nullptr) << name.toStdString();
    for (QTreeWidgetItem* above = item->parent(); above; above = above->parent())
        above->setExpanded(true);
    QTest::mouseClick(View()->Tree()->viewport(), Qt::LeftButton, {}, Centre(item));
}

QStringList TManagerTest::ListNames() const {
    QStringList names;
    QTreeWidget* list = View()->List();
    for (int i = 0; i < list->topLevelItemCount(); ++i) names << list->topLevelItem(i)->text(0);
    return names;
}

QTreeWidgetItem* TManagerTest::Row(const QString& name) const {
    const auto found = View()->List()->findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

void TManagerTest::SelectRows(const QStringList& names) {
    for (int i = 0; i < names.size(); ++i) {
        QTreeWidgetItem* row = Row(names[i]);
        ASSERT_NE(row, nullptr) << names[i].toStdString();
        QTest::mouseClick(View()->List()->viewport(), Qt::LeftButton,
                          i == 0 ? Qt::NoModifier : Qt::ControlModifier, Centre(row));
    }
}

void TManagerTest::Run(int command) {
    frame_->UpdateCommandStates();
    QAction* action = frame_->Commands()->Action(command);
    ASSERT_TRUE(action->isEnabled()) << command;
    action->trigger();
}

bool TManagerTest::Enabled(int command) {
    frame_->UpdateCommandStates();
    return frame_->Commands()->Action(command)->isEnabled();
}

std::string TManagerTest::Setting(const char* name) {
    std::string text;
    EXPECT_TRUE(TGetRegistryString(kManagerPath, name, text)) << name;
    return text;
}

}  // namespace vrk
