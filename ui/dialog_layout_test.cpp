// The folder chooser is checked where the temporary-folder dialog opens it.
#include <functional>
#include <memory>

#include "ui/about_dlg.h"
#include "ui/alphabet_dlg.h"
#include "ui/dict_info_dlg.h"
#include "ui/help.h"
#include "ui/help_window.h"
#include "ui/icons.h"
#include "ui/progress_window.h"
#include "ui/temp_dir_dlg.h"
#include "ui/test_ui.h"
#include "ui/ui_texts.h"
#include "ui/worker.h"

namespace vrk {
namespace {

class DialogLayoutTest : public TUiTest {};

struct TWindowCase {
    const char* what;
    std::function<std::unique_ptr<QWidget>()> make;
    bool fitsOnOpening = false;
    bool byKeys = false;  // a dialog: ExpectFilledInByKeys too
};

TEST_F(DialogLayoutTest, SharedWindowsFitASmallScreenAndDialogsAreFilledInByKeys) {
    TWorker worker;
    const TWindowCase cases[] = {
        {"progress with its own text",
         [&] {
             return std::make_unique<CProgressWindow>(
                 worker, QStringLiteral("Uvažanje slovarja ..."), BarOverTotalPlusOne,
                 TCancelPolicy::kWaitForEnd);
         }},
        {"alphabet", [] { return std::make_unique<CAlphabetDlg>(); }, false, true},
        {"dictionary information",
         [] {
             return std::make_unique<CDictInfoDlg>(
                 QStringLiteral("Slovar slovenskih križank in ugank"),
                 QStringLiteral("Društvo reševalcev križank"),
                 QStringLiteral("Gesla in opisi iz let 1990 do 2020."), QString(),
                 bitmap::kFinderNoPicture);
         },
         false, true},
        {"temporary folder", [] { return std::make_unique<CTempDirDlg>(nullptr, true); }, false,
         true},
        {"about box",
         [] { return std::make_unique<CAboutDlg>(bitmap::kFinderAbout, texts::kFinderName); }},
        {"help",
         [] {
             auto help = std::make_unique<CHelpWindow>();
             help->Open(HelpUrl(help::kContents));
             return help;
         },
         true},
    };
    for (const TWindowCase& window : cases) {
        const std::unique_ptr<QWidget> shown = window.make();
        ExpectLaidOut(shown.get(), window.what, window.fitsOnOpening);
        if (window.byKeys) {
            SCOPED_TRACE(window.what);
            ExpectFilledInByKeys(shown.get());
        }
    }
}

}  // namespace
}  // namespace vrk
