// The entry editor in the frame: the tick that keeps the entry window and
// the editor's state in step, and the frame as the editor's host.
#include "finder/entry_window.h"
#include "finder/main_frame.h"
#include "finder/vrk3mpg_view.h"
#include "store/same_file.h"
#include "ui/cp1250_text.h"
#include "ui/message_box.h"
#include "ui/temp_dir_dlg.h"

void CMainFrame::RequestEntryRefresh() {
    m_pEntryWindow->RequestRefresh();
}

void CMainFrame::ReadEntryEditor() {
    m_pEntryWindow->ReadTyped(m_editor);
}

void CMainFrame::EntryTick() {
    m_pEntryWindow->Show(m_editor);
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
        for (CVrk3mpgView* view : m_frame.MdiArea()->ResultViews())
            view->EntryStored(same, oldIndex, newIndex, record);
    }
    void RowsDeleted(const QString& path, std::int32_t index) override {
        const vrk::TSameFile same(vrk::PathBytes(path));
        for (CVrk3mpgView* view : m_frame.MdiArea()->ResultViews()) view->EntryDeleted(same, index);
    }

  private:
    CMainFrame& m_frame;
};

}  // namespace

std::unique_ptr<TEntryEditorHost> CMainFrame::makeEditorHost(CMainFrame& frame) {
    return std::make_unique<TFrameEditorHost>(frame);
}
