// CVrk3dbeView: the manager's one view. The library tree on the left, the
// dictionaries of the selected library on the right, a splitter bar between
// them. It fills both from the settings store and the dictionary files,
// moves and copies dictionaries by drag and drop, opens the pop-up menus,
// and owns and hosts the library and dictionary commands (command_host.h).
#pragma once

#include <QPoint>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "manager/command_host.h"
#include "manager/dictionary_commands.h"
#include "manager/dictionary_list.h"
#include "manager/library_commands.h"

class QFrame;

namespace vrk {
class TCommandSet;
}

// What a dictionary drag is doing (m_nDragMode).
inline constexpr int kNoDrag = 0, kLeftDrag = 1, kRightDrag = 2;

class CVrk3dbeView : public QWidget, private TCommandHost {
    Q_OBJECT
  public:
    // `commands` are the frame's; the view's pop-up menus show them.
    explicit CVrk3dbeView(vrk::TCommandSet* commands, QWidget* parent = nullptr);
    // Applies the stored font, tree width and column widths, reads the
    // temporary directory and fills the tree.
    void InitialUpdate(int treeWidth, const std::array<int, 4>& columns);
    // Selects the first top-level library, which lists its dictionaries.
    void SelectFirstLibrary();

    QTreeWidget* Tree() const { return m_pTree; }
    QTreeWidget* List() const { return m_pList; }
    QFrame* SplitterBar() const { return m_pSplitter; }
    // The tree width the user chose (the layout keeps it within the view).
    int TreeWidth() const { return m_nTreeWidth; }
    std::array<int, 4> ColumnWidths() const;

    // --- Filling and the selection (vrk3dbe_view_fill.cpp).
    // Adds the libraries below `keyPath` under `parent` (null: top level).
    void FillLibraryTree(QTreeWidgetItem* parent, std::string_view keyPath);
    // Lists the dictionaries of the library at `keyPath`. Members that are
    // gone leave it, a message each; unreadable ones stay, marked, with one
    // message. `quiet` (a drag passing over) shows none and changes nothing.
    void FillDictionaryList(std::string_view keyPath, bool quiet = false);
    // Lists the selected library again (nothing when none is selected).
    void Refresh();
    // "Osveži": reads the tree again (another program may have changed it),
    // keeping the selected and open libraries that still exist (else the
    // first is selected) and the selected dictionaries it lists again.
    void RefreshAll();
    // The library selected in the tree (null when the tree is empty) and
    // the selected rows, in list order.
    TSelection Selection() const override;
    QTreeWidgetItem* SelectedLibrary() const;
    // The selected dictionaries and the sum of their entry counts.
    int SelectedDictionaryCount() const;
    long long SelectedEntrySum() const;
    // The stored paths of the selected dictionaries, in list order.
    std::vector<std::string> SelectedPaths() const;
    // True when one dictionary is selected and its flags allow the export.
    // It opens the dictionary, except while a job runs (then false).
    bool SelectedExportAllowed() const;

    // The font of tree and list, stored as "Font"; "Imenik za začasne
    // datoteke", whose directory the commands then use.
    void ChooseFont();
    void ChooseTempDir();
    // The commands, acting on the selection.
    TLibraryCommands& Libraries() { return m_libraries; }
    TDictionaryCommands& Dictionaries() { return m_dictionaries; }

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
    void onTreeSelectionChanged();
    // The host of the commands (vrk3dbe_view_host.cpp).
    QWidget* Window() override { return this; }
    std::string& BackupDir() override { return m_strBackupDir; }
    void ListDictionary(const TMemberRow& row, bool alone) override;
    void RemoveSelectedRows() override;
    void ListAgain() override;
    int LibraryCount() const override;
    void InsertLibrary(QTreeWidgetItem* parent, QTreeWidgetItem* item) override;
    void EditLibraryName(QTreeWidgetItem* item) override;
    void RemoveLibraryItem(QTreeWidgetItem* item) override;
    // Pop-up menus (vrk3dbe_view_menu.cpp).
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
    TLibraryCommands m_libraries{*this};
    TDictionaryCommands m_dictionaries{*this};
};
