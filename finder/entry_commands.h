// CEntryCommands: the frame's commands on the current word: opening a found
// word, the entry window's ">" and "<", new, save, save as, add and remove a
// description, delete, undo and "Razveljavi Več", the dictionary's
// information, cut, copy and paste. It wires them to the
// frame's command table with their enabling rules and hands them to the entry
// editor; a command that may show a dialog or a box gives the entry editor
// its focus back afterwards. It owns the list of "Razveljavi Več".
#pragma once

#include <QObject>

class CMainFrame;
class CVrk3mpgView;
class CUndoListWnd;
class TEntryEditor;

class CEntryCommands : public QObject {
    Q_OBJECT
  public:
    // Connects the commands of `frame`'s table (frame.Commands()) and sets
    // their enabling rules; the frame's entry window must exist.
    CEntryCommands(CMainFrame& frame, TEntryEditor& editor);

    // Puts the found word of `row` of `view` into the entry window, showing
    // description `nDesc` (TEntryEditor::LoadEntryAt), and gives the entry
    // editor the focus.
    void LoadEntry(CVrk3mpgView* view, int row, int nDesc);
    // The entry window's ">" and "<". Docked, leaving a changed description
    // records an undo step; floating, nothing is recorded.
    void NextDescription();
    void PreviousDescription();

    void NewEntry();
    void SaveEntry();
    void SaveEntryAs();
    void AddDescription();
    void RemoveDescription();
    void DeleteEntry();
    void ShowDictionaryInfo();
    // Undoes the last step; false when there was none or it failed.
    bool UndoLast();
    // "Razveljavi Več": `count` steps, stopping at the first that fails.
    void UndoSteps(int count);
    void ShowUndoList();
    CUndoListWnd* UndoList() const { return m_pUndoList; }

  private:
    void connectCommands();
    void setEnablingRules();
    bool editorVisible() const;
    void stepDescription(int step);

    CMainFrame& m_frame;
    TEntryEditor& m_editor;
    CUndoListWnd* m_pUndoList = nullptr;
    bool m_bClipboardHasText = false;
};
