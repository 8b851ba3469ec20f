// CVrk3mpgView: the inside of a result window. A list of the found words
// (word, shortened first description, dictionary, and the hidden columns
// other windows read: dictionary path, priority, entry index, mark), sorted
// in one of six modes, with a pane below that shows every description of
// the selected word. The user opens, marks and removes rows; the dictionary
// itself is never changed here.
#pragma once

#include <QIcon>
#include <QList>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class QListWidget;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;
class CVrk3mpgDoc;
namespace vrk {
class TCommandSet;
class TSameFile;
}  // namespace vrk

class CVrk3mpgView : public QWidget {
    Q_OBJECT
  public:
    // The list's columns; other windows find rows by kColDataFile and
    // kColClueIndex.
    enum Column {
        kColWord = 0,
        kColDescription,
        kColDictionary,
        kColDataFile,
        kColPriority,
        kColClueIndex,
        kColMarked,
        kColumnCount
    };
    // Context-menu commands.
    static constexpr int kCmdOpen = 32802;
    static constexpr int kCmdMark = 32803;
    static constexpr int kCmdRemove = 32800;

    // Fills the list from the document's results and sorts it by mode 0.
    explicit CVrk3mpgView(std::shared_ptr<const CVrk3mpgDoc> doc, QWidget* parent = nullptr);
    // A second view of `source`'s document ("Novo Okno"): the rows as
    // `source` shows them now, with their marks and their entry indices as
    // the entry editing has kept them current, sorted by mode 0; from then on
    // each view sorts, marks and removes on its own.
    explicit CVrk3mpgView(const CVrk3mpgView& source, QWidget* parent = nullptr);
    ~CVrk3mpgView() override;

    const CVrk3mpgDoc& Document() const { return *m_pDoc; }
    // The document, for another view of the same results ("Novo Okno").
    std::shared_ptr<const CVrk3mpgDoc> SharedDocument() const { return m_pDoc; }
    QTreeWidget* List() const { return m_pList; }
    QListWidget* Pane() const { return m_pPane; }
    vrk::TCommandSet* Commands() const { return m_pCommands; }

    // Column 1's text for the descriptions that follow a word (Windows-1250,
    // each description after a 0x01): the first one, up to 995 bytes; ", ..."
    // when another description follows or a control byte cuts it short.
    static std::string ShortDescription(std::string_view descriptions);

    // --- Sorting (vrk3mpg_view_sort.cpp). Mode 0 priority+word, 1 word,
    // 2 priority+description+word, 3 description+word, 4 priority+
    // dictionary+word, 5 dictionary+word; a stable sort by the alphabet's
    // letter ranks.
    int SortMode() const { return m_nSortMode; }
    void SortBy(int mode);
    // A click on heading 0, 1 or 2: toggles between that column's two modes.
    void OnHeadingClicked(int column);

    // --- Description pane (vrk3mpg_view_pane.cpp). Shows every description
    // (at most 100) of row `row`'s entry, read from its dictionary; row < 0
    // only empties the pane. Says so when the dictionary cannot be read.
    void FillDescriptionPane(int row);
    int ShownRow() const { return m_nShownRow; }
    // The height the list keeps when the window opens, whatever pane height
    // was stored: its heading, a few rows and a scroll bar.
    int MinimumListHeight() const;

    // --- Row commands (vrk3mpg_view_menu.cpp).
    // The selected row, or -1.
    int SelectedRow() const;
    // Asks for the selected word to be opened at the description selected
    // in the pane (-1 when none); nothing without a selected row.
    void OpenSelected();
    void ToggleMark();
    // Removes the selected row and selects the row that took its place.
    void RemoveSelected();

    // --- Rows kept current when the entry editing changes a dictionary
    // (vrk3mpg_view_update.cpp). Rows whose dictionary `same` names:
    // after an entry was stored again, those of entry `oldIndex` show
    // `record`'s first description and index `newIndex`, and those of the
    // entries after `oldIndex` (which moved down) one index less; when
    // `oldIndex` equals `newIndex` the entry changed in place and nothing
    // moved. A negative `oldIndex` (an entry appended) touches no row.
    void EntryStored(const vrk::TSameFile& same, std::int32_t oldIndex, std::int32_t newIndex,
                     std::string_view record);
    // After entry `index` was deleted: its rows go, later entries' rows take
    // one index less. The pane follows the selection.
    void EntryDeleted(const vrk::TSameFile& same, std::int32_t index);

  signals:
    // The user wants the word of `row` in the entry window, at description
    // `description` (negative: the first).
    void OpenEntryRequested(int row, int description);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void createControls();
    void createLayout();
    void createCommands();
    void connectControls();
    void fillRows();
    void copyRows(const CVrk3mpgView& source);
    // What both constructors share once the rows are in.
    void finishCreation();
    void applyFonts();
    void storeLayout();
    void onSelectionChanged();
    void showContextMenu(const QPoint& pos);
    // The pane lists the descriptions of `entry` (a whole record).
    void showDescriptions(std::string_view entry);

    std::shared_ptr<const CVrk3mpgDoc> m_pDoc;
    QSplitter* m_pSplitter = nullptr;
    QTreeWidget* m_pList = nullptr;
    QListWidget* m_pPane = nullptr;
    vrk::TCommandSet* m_pCommands = nullptr;
    QIcon m_unmarkedIcon;
    QIcon m_markedIcon;
    int m_nSortMode = 0;
    int m_nPaneHeight = -1;  // pixels; -1 until the view knows its height
    int m_nPaneDefaultPercent = 30;
    bool m_bLayoutApplied = false;
    int m_nShownRow = -1;
    QTreeWidgetItem* m_pShownItem = nullptr;
};
