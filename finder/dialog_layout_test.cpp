// The finder's windows laid out for a small screen and a large scale
// factor: within kSmallScreen when they open and at their smallest, every
// text whole.
#include <functional>
#include <memory>

#include "finder/fonts_dlg.h"
#include "finder/main_frame.h"
#include "finder/save_entry_dlg.h"
#include "finder/search_bar_library.h"
#include "finder/search_bar_options.h"
#include "finder/undo_list_wnd.h"
#include "ui/test_ui.h"

namespace vrk {
namespace {

class FinderLayoutTest : public TUiTest {};

struct TFinderWindowCase {
    const char* what;
    std::function<std::unique_ptr<QWidget>(CMainFrame&)> make;
    bool fitsOnOpening = false;
};

TEST_F(FinderLayoutTest, WindowsFitASmallScreenWithTheirTextsWhole) {
    const TFinderWindowCase cases[] = {
        {"main frame", [](CMainFrame&) { return std::make_unique<CMainFrame>(false); }, true},
        {"fonts", [](CMainFrame& frame) { return std::make_unique<CFontsDlg>(&frame); }},
        {"save entry",
         [](CMainFrame& frame) {
             return std::make_unique<CSaveEntryDlg>(QStringLiteral("Neimenovano Geslo"), &frame);
         }},
        {"search options",
         [](CMainFrame& frame) { return std::make_unique<CSearchOptionsDlg>(&frame); }},
        {"active library",
         [](CMainFrame& frame) {
             return std::make_unique<CActiveLibraryDlg>(frame.ActiveLibrary(), &frame);
         }},
        {"undo list",
         [](CMainFrame& frame) {
             auto list = std::make_unique<CUndoListWnd>(&frame);
             list->SetSteps({QStringLiteral("Shranjevanje gesla 'AFRODITA'"),
                             QStringLiteral("Brisanje gesla 'AJDOVŠČINA'")});
             return list;
         }},
    };
    CMainFrame frame(false);
    frame.show();
    for (const TFinderWindowCase& window : cases)
        ExpectLaidOut(window.make(frame).get(), window.what, window.fitsOnOpening);
}

}  // namespace
}  // namespace vrk
