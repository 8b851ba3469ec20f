// The entry editor in the frame: loading a found word, the tick that keeps
// the entry window and the editor's state in step, the description buttons,
// and the frame as the editor's host.
#include <QTreeWidget>

#include "finder/entry_window.h"
#include "finder/main_frame.h"
#include "finder/vrk3mpg_view.h"
#include "store/same_file.h"
#include "ui/cp1250_text.h"
#include "ui/message_box.h"
#include "ui/temp_dir_dlg.h"

void CMainFrame::LoadEntry(CVrk3mpgView* view, int row, int nDesc) {
    if (!view || row < 0) return;
    const QTreeWidgetItem* item = view->List()->topLevelItem(row);
    if (!item) return;
    bool indexOk = false;
    const std::int32_t index = item->text(CVrk3mpgView::kColClueIndex).toInt(&indexOk);
    if (!indexOk) return;
    const QString word = item->text(CVrk3mpgView::kColWord);
    using TLoadResult = TEntryEditor::TLoadResult;
    const TLoadResult loaded =
        m_editor.LoadEntryAt(item->text(CVrk3mpgView::kColDataFile), index, nDesc, word, &word);
    if (loaded == TLoadResult::kOtherWord) view->FillDescriptionPane(-1);
    // The word opened is there to be edited: typing goes into its description.
    if (loaded == TLoadResult::kLoaded) (void)focusEntryEditor();
}

void CMainFrame::RequestEntryRefresh() {
    m_pEntryWindow->RequestRefresh();
}

void CMainFrame::ReadEntryEditor() {
    m_pEntryWindow->ReadTyped(m_editor);
}

void CMainFrame::EntryTick() {
    m_pEntryWindow->Show(m_editor);
}

void CMainFrame::NextDescription() {
    stepDescription(1);
}

void CMainFrame::PreviousDescription() {
    stepDescription(-1);
}

void CMainFrame::stepDescription(int step) {
    // Docked, leaving a changed description records an undo step; floating,
    // nothing is recorded.
    m_editor.StepDescription(step, !m_pEntryWindow->isFloating());
}

namespace {

// The entry editor's host: the frame's boxes, the temporary directory it
// asks for, the entry window and the rows of the open result windows.
class TFrameEditorHost final : public TEntryEditorHost {
  public:
    explicit TFrameEditorHost(CMainFrame& frame) : m_frame(frame) {}
    bool Ask(const QString& text) override { return vrk::AskYesNo(&m_frame, text, false); }
    void ShowMessage(const QString& text, vrk::TMsgIcon icon) override {
        (void)vrk::ShowMessage(&m_frame, text, icon);
    }
    bool ScratchFiles(vrk::TScratchSet& paths) override {
        return vrk::GetBackupPaths(&m_frame, vrk::kFinderScratch, paths);
    }
    void ReadEntryWindow() override { m_frame.ReadEntryEditor(); }
    void RefreshEntryWindow(bool bWhole) override {
        if (bWhole) m_frame.RequestEntryRefresh();
        m_frame.EntryTick();
        m_frame.UpdateCommandStates();
    }
    void RowsStored(const QString& path, std::int32_t oldIndex, std::int32_t newIndex,
                    const std::string& record) override {
        const vrk::TSameFile same(vrk::PathBytes(path));
        for (CVrk3mpgView* view : CVrk3mpgView::ResultViews())
            view->EntryStored(same, oldIndex, newIndex, record);
    }
    void RowsDeleted(const QString& path, std::int32_t index) override {
        const vrk::TSameFile same(vrk::PathBytes(path));
        for (CVrk3mpgView* view : CVrk3mpgView::ResultViews()) view->EntryDeleted(same, index);
    }

  private:
    CMainFrame& m_frame;
};

}  // namespace

std::unique_ptr<TEntryEditorHost> CMainFrame::makeEditorHost(CMainFrame& frame) {
    return std::make_unique<TFrameEditorHost>(frame);
}
