// The manager's windows laid out for a small screen and a large scale
// factor: within kSmallScreen when they open and at their smallest, every
// text whole; the status panes hold the widest counts. The dialogs are
// filled in and left by keys alone: their labels name their controls with a
// letter each, their own buttons and check boxes have letters, Enter has a
// default button (Escape cancels).
#include <QLabel>
#include <functional>
#include <memory>

#include "manager/dict_data_dlg.h"
#include "manager/export_file_dlg.h"
#include "manager/import_dlg.h"
#include "manager/main_frame.h"
#include "manager/manager_test_util.h"
#include "manager/manager_texts.h"
#include "manager/new_dict_dlg.h"
#include "manager/password_dlg.h"
#include "manager/remap_letter_dlg.h"
#include "manager/security_dlg.h"
#include "ui/test_ui.h"

namespace vrk {
namespace {

class ManagerLayoutTest : public TManagerTest {};

struct TManagerWindowCase {
    const char* what;
    std::function<std::unique_ptr<QWidget>()> make;
    bool byKeys = true;  // ExpectFilledInByKeys too
};

TEST_F(ManagerLayoutTest, WindowsFitASmallScreenAndDialogsAreFilledInByKeys) {
    TFileDialogRequest exportRequest;
    exportRequest.save = true;
    exportRequest.caption = ::texts::kExportTitle;
    exportRequest.directory = QString::fromStdString(folder_);
    exportRequest.filter = ::texts::kOlderFormatsFilter;
    const TManagerWindowCase cases[] = {
        {"new dictionary (1/2)", [] { return std::make_unique<CNewDictPage1Dlg>(); }},
        {"new dictionary (2/2)", [] { return std::make_unique<CNewDictPage2Dlg>(); }},
        {"dictionary data", [] { return std::make_unique<CDictDataDlg>(); }},
        {"security", [] { return std::make_unique<CSecurityDlg>(); }},
        {"password",
         [] { return std::make_unique<CPasswordDlg>(QStringLiteral("Slovenske sopomenke")); }},
        {"remap letter", [] { return std::make_unique<CRemapLetterDlg>(); }},
        {"import", [] { return std::make_unique<CImportDlg>(); }},
        {"export", [&] { return std::make_unique<CExportFileDlg>(nullptr, exportRequest); }, false},
    };
    for (const TManagerWindowCase& window : cases) {
        SCOPED_TRACE(window.what);
        const std::unique_ptr<QWidget> shown = window.make();
        ExpectLaidOut(shown.get(), window.what);
        if (window.byKeys) ExpectFilledInByKeys(shown.get());
    }

    // The frame, fitted to the screen when it opens, with the widest counts
    // a library of the installed dictionaries shows.
    frame_ = StartFrame();
    frame_->DictionaryPane()->setText(::texts::DictionaryCountText(9999));
    frame_->EntryPane()->setText(::texts::EntryCountText(9999999));
    ExpectLaidOut(frame_.get(), "main frame", true);
}

}  // namespace
}  // namespace vrk
