// The main frame's Search command: a new search document searches the
// active library for the search bar's texts, and a result window opens on
// it when something was found.
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTreeWidget>

#include "finder/child_frame.h"
#include "finder/finder_texts.h"
#include "finder/main_frame.h"
#include "finder/main_frame_ids.h"
#include "finder/search_bar.h"
#include "finder/vrk3mpg_doc.h"
#include "finder/vrk3mpg_view.h"
#include "ui/commands.h"
#include "ui/cp1250_text.h"
#include "ui/message_box.h"

namespace {

// The search bar and the active library as the source of a search.
class TFrameSearchSource : public TSearchSource {
  public:
    TFrameSearchSource(CSearchBar& bar, const TActiveLibrary& library)
        : m_bar(bar), m_library(library) {}
    QString ClueText() const override { return m_bar.ClueText(); }
    QString DescText() const override { return m_bar.DescText(); }
    std::string LibraryDicts() const override { return m_library.Dictionaries(); }
    void AddClueHistory(const QString& text) override { m_bar.AddClueHistory(text); }
    void AddDescHistory(const QString& text) override { m_bar.AddDescHistory(text); }

  private:
    CSearchBar& m_bar;
    const TActiveLibrary& m_library;
};

// The characters of `texts` that Windows-1250 cannot hold, each once and
// quoted: searched for as "?", they would find (or exclude) other words.
QString UnencodableCharacters(const QStringList& texts) {
    QStringList found;
    for (const QString& text : texts) {
        for (const char32_t code : vrk::CharactersOutsideCp1250(text)) {
            const QString quoted = QStringLiteral("„%1“").arg(QString::fromUcs4(&code, 1));
            if (!found.contains(quoted)) found.append(quoted);
        }
    }
    return found.join(QStringLiteral(", "));
}

}  // namespace

QMdiSubWindow* CMainFrame::RunSearch() {
    UpdateCommandStates();
    if (!m_pCommands->Action(id::kSearch)->isEnabled()) return nullptr;
    // Refused like a malformed pattern: nothing starts, the text stays in
    // the boxes to be mended.
    const QString unencodable =
        UnencodableCharacters({m_pSearchBar->ClueText(), m_pSearchBar->DescText()});
    if (!unencodable.isEmpty()) {
        vrk::ShowWarning(this, vrk::texts::kSearchTextUnencodable.arg(unencodable));
        return nullptr;
    }
    auto doc = std::make_shared<CVrk3mpgDoc>();
    TFrameSearchSource source(*m_pSearchBar, m_activeLibrary);
    QMdiSubWindow* window = doc->OnNewDocument(source, this) ? OpenResultWindow(doc) : nullptr;
    updateTitle();
    UpdateCommandStates();
    return window;
}

QMdiSubWindow* CMainFrame::OpenResultWindow(std::shared_ptr<const CVrk3mpgDoc> doc) {
    return m_pMdiArea->AddView(new CVrk3mpgView(std::move(doc)));
}

QMdiSubWindow* CMainFrame::OpenNewWindow() {
    auto* current = qobject_cast<CChildFrame*>(m_pMdiArea->currentSubWindow());
    if (!current) return nullptr;
    QMdiSubWindow* window = m_pMdiArea->AddView(new CVrk3mpgView(*current->View()));
    updateTitle();
    UpdateCommandStates();
    return window;
}
