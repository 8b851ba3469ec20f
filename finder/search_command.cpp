#include "finder/search_command.h"

#include <QMdiArea>
#include <QTreeWidget>

#include "finder/child_frame.h"
#include "finder/main_frame.h"
#include "finder/search_bar.h"
#include "finder/search_hand_over.h"
#include "finder/vrk3mpg_doc.h"
#include "finder/vrk3mpg_view.h"

TSearchHandOver SearchHandOver;

namespace {

// The search bar as the source of a search's texts.
class TSearchBarSource : public TSearchSource {
  public:
    explicit TSearchBarSource(CSearchBar* bar) : m_pBar(bar) {}
    QString ClueText() const override { return m_pBar->ClueText(); }
    QString DescText() const override { return m_pBar->DescText(); }
    void AddClueHistory(const QString& text) override { m_pBar->AddClueHistory(text); }
    void AddDescHistory(const QString& text) override { m_pBar->AddDescHistory(text); }

  private:
    CSearchBar* m_pBar;
};

}  // namespace

QMdiSubWindow* RunSearchCommand(CMainFrame* frame) {
    if (!frame || !frame->SearchBar()) return nullptr;
    auto doc = std::make_shared<CVrk3mpgDoc>();
    TSearchBarSource source(frame->SearchBar());
    if (!doc->OnNewDocument(source, frame)) return nullptr;

    auto* view = new CVrk3mpgView(doc);
    // The entry window takes the word; which description it shows first is
    // the entry window's own choice.
    QObject::connect(
        view, &CVrk3mpgView::OpenEntryRequested, frame,
        [frame](const QString& path, int index, int) { frame->LoadEntry(path, index); });
    auto* child = new CChildFrame(view);
    frame->MdiArea()->addSubWindow(child);
    child->show();
    view->List()->setFocus();
    return child;
}
