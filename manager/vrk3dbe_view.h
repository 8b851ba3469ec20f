// CVrk3dbeView: the manager's one view. The library tree on the left, the
// dictionaries of the selected library on the right, a splitter bar between
// them. It fills both from the settings store and the dictionary files,
// counts the selection for the status bar, and carries the library and
// dictionary commands (creating, renaming and removing libraries, adding and
// removing dictionaries, moving and copying them by drag and drop).
#pragma once

#include <QPoint>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "manager/dictionary_list.h"
#include "manager/member_reader.h"

class QFrame;
class QMenu;
class CDictionaryList;

namespace vrk {
class TCommandSet;
}

// The images of the tree and the list, by index.
enum TViewImage {
    kImageLibrary = 0,        // a library without sub-libraries
    kImageLibraryOpen = 1,    // with sub-libraries, expanded
    kImageDictionary = 2,     // a dictionary
    kImageLibraryClosed = 3,  // with sub-libraries, collapsed
};

// Item data of a tree item: its name as stored (Windows-1250 bytes) and
// its image. The list's columns and item data are in dictionary_list.h.
inline constexpr int kNameBytesRole = Qt::UserRole;
inline constexpr int kImageRole = Qt::UserRole + 1;

// What a dictionary drag is doing (m_nDragMode).
inline constexpr int kNoDrag = 0;
inline constexpr int kLeftDrag = 1;
inline constexpr int kRightDrag = 2;

class CVrk3dbeView : public QWidget {
    Q_OBJECT
  public:
    // `commands` are the frame's; the view's pop-up menus show them.
    explicit CVrk3dbeView(vrk::TCommandSet* commands, QWidget* parent = nullptr);
    ~CVrk3dbeView() override;

    // Applies the stored font, tree width and column widths, reads the
    // temporary directory and fills the tree.
    void InitialUpdate(int treeWidth, const std::array<int, 4>& columns);
    // Selects the first top-level library, which lists its dictionaries.
    void SelectFirstLibrary();

    QTreeWidget* Tree() const { return m_pTree; }
    QTreeWidget* List() const;
    QFrame* SplitterBar() const { return m_pSplitter; }
    // The tree width the user chose (the layout keeps it within the view).
    int TreeWidth() const { return m_nTreeWidth; }
    std::array<int, 4> ColumnWidths() const;

    // --- Filling (vrk3dbe_view_fill.cpp).
    // Adds the libraries below `keyPath` under `parent` (null: top level).
    void FillLibraryTree(QTreeWidgetItem* parent, std::string_view keyPath);
    // Lists the dictionaries of the library at `keyPath`. Members that are
    // gone leave the library, one message each; members that cannot be read
    // now stay, are listed with a mark, and one message says so. `quiet`
    // (while a drag passes over libraries) shows no message and changes no
    // library.
    void FillDictionaryList(std::string_view keyPath, bool quiet = false);
    // Lists the selected library again (nothing when none is selected).
    void Refresh();
    // "Osveži": reads the tree again, for libraries another program made,
    // renamed or removed, keeping the selected library and the open ones
    // where they still exist (else the first library is selected), then
    // lists the selected library again with its selected dictionaries.
    void RefreshAll();
    // The settings key path of a library item: Groups, then each level's
    // name from the top. Null gives Groups itself.
    std::string GetLibraryKeyPath(const QTreeWidgetItem* item) const;
    // The library selected in the tree; null when the tree is empty.
    QTreeWidgetItem* SelectedLibrary() const;
    // The selected dictionaries and the sum of their entry counts.
    int SelectedDictionaryCount() const;
    long long SelectedEntrySum() const;
    // The stored paths of the selected dictionaries, in list order.
    std::vector<std::string> SelectedPaths() const;
    // The selected rows, in list order.
    std::vector<QTreeWidgetItem*> SelectedRows() const;
    // True when one dictionary is selected and its flags allow the export.
    // It opens the dictionary, except while a job runs (then false).
    bool SelectedExportAllowed() const;

    // --- Commands (library_commands.cpp).
    void NewLibrary();
    void NewSubLibrary();
    void RenameLibrary();
    void RemoveLibrary();
    void AddDictionaries();
    void RemoveDictionaries();
    // Creates a library under `parent` (null: top level), selects it and opens
    // its name for editing.
    void CreateLibrary(QTreeWidgetItem* parent);
    // Chooses the font of tree and list and stores it as "Font".
    void ChooseFont();
    // Shows "Imenik za začasne datoteke" and takes the directory it leaves.
    void ChooseTempDir();

    // --- Dictionary data (dictionary_commands.cpp).
    // The two-page wizard: creates an empty dictionary with its data and
    // security settings, registers it in the selected library and lists it.
    void NewDictionary();
    // "Info": the selected dictionary's name, author, notes and picture.
    void DictionaryInfo();
    // "Podatki o Slovarju": changes the selected dictionary's name, author
    // and notes, after its password when it is protected.
    void ChangeDictionaryData();

    // --- Security, picture, letters (dictionary_settings.cpp).
    // "Varnostne Nastavitve" for one or several selected dictionaries; each
    // protected one asks for its own password first.
    void SecuritySettings();
    // Stores a picture file in every selected dictionary.
    void SetPicture();
    // Replaces one letter by another in every selected dictionary, one job
    // each.
    void RemapLetters();

    // --- Older formats (format_commands.cpp).
    // Makes a new dictionary from an older-format file, registers and lists
    // it. The new dictionary is made beside the chosen file and takes its
    // place only when the import and its data are complete.
    void Import();
    // Writes the selected dictionary to an older-format file.
    void Export();

    // --- Drag and drop (dictionary_drag.cpp).
    int DragMode() const { return m_nDragMode; }
    // Adds the dragged dictionaries to the selected library and, when
    // moving, then removes them from the one they came from.
    void DropDictionaries(bool move);

  signals:
    // The selection of tree or list changed: commands and panes are updated.
    void SelectionChanged();
    // The user changed a column width.
    void LayoutChanged();
    // The user let go of the splitter bar: the tree width changed.
    void SplitterMoved();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createControls();
    void connectControls();
    void layoutControls();
    bool onSplitter(int x) const;
    void setImage(QTreeWidgetItem* item, TViewImage image) const;
    void onTreeSelectionChanged();
    void renameCommitted(QTreeWidgetItem* item, const QString& text);
    bool libraryHoldsAnything(const std::string& keyPath) const;
    // Lists a dictionary the manager made and selects only it; a row of the
    // same file goes first.
    void listNewDictionary(const TMemberRow& row);
    // Makes a dictionary the manager made a member of `library` (a member
    // already stays one); false after the settings-store message.
    bool registerNewDictionary(QTreeWidgetItem* library, const std::string& path);
    // Before a command replaces the file at `path`: a protected dictionary
    // there asks for its password. False, after saying why, when it is not
    // given or the file there cannot be read now.
    bool replaceUnlocked(const std::string& path, const vrk::TScratchSet& backups);
    // The name of a library holding the dictionary at `path`; empty when
    // none does.
    QString libraryHolding(const std::string& path) const;
    void securityForOne(QTreeWidgetItem* row, const vrk::TScratchSet& backups);
    void securityForMany(const std::vector<QTreeWidgetItem*>& rows,
                         const vrk::TScratchSet& backups);
    // Pop-up menus (library_commands.cpp).
    bool treeMouseEvent(QMouseEvent* event);
    void showLibraryMenu(const QPoint& globalPos);
    void showDictionaryMenu(const QPoint& globalPos);
    // Dictionary drags (dictionary_drag.cpp).
    bool listMouseEvent(QMouseEvent* event);
    void BeginDictionaryDrag(int mode);
    void dragMove(const QPoint& globalPos);
    void dragRelease(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                     const QPoint& globalPos);
    // Ends the drag; with `refresh`, the selected library is listed again.
    void endDrag(bool refresh = true);
    void onHoverTimer();
    QTreeWidgetItem* libraryAt(const QPoint& globalPos) const;

    vrk::TCommandSet* m_pCommands;
    QTreeWidget* m_pTree = nullptr;
    QFrame* m_pSplitter = nullptr;
    CDictionaryList* m_pList = nullptr;
    std::string m_strBackupDir;  // empty while none is known
    int m_nTreeWidth = 150;
    bool m_bSplitterDrag = false;
    bool m_bQuietFill = false;  // the list is refilled by a passing drag

    // The dictionary drag.
    int m_nDragMode = kNoDrag;
    Qt::MouseButton m_pressButton = Qt::NoButton;  // the button last pressed in the list
    QTreeWidgetItem* m_hDragOverItem = nullptr;
    std::string m_strDragSourceKey;
    std::string m_strDragFiles;  // paths, each followed by '"'
    QTimer m_hoverTimer;
};
