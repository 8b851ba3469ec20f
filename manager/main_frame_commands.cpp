// The main frame's commands: what each does and when it is enabled.
#include <QAction>
#include <QStatusBar>
#include <QToolBar>

#include "manager/main_frame.h"
#include "manager/manager_ids.h"
#include "manager/vrk3dbe_view.h"
#include "ui/about_dlg.h"
#include "ui/alphabet_dlg.h"
#include "ui/commands.h"
#include "ui/help.h"

void CMainFrame::connectCommands() {
    vrk::TCommandSet& c = *m_pCommands;
    CVrk3dbeView* view = m_pView;
    TLibraryCommands* libraries = &view->Libraries();
    TDictionaryCommands* dictionaries = &view->Dictionaries();
    c.Connect(id::kNewLibrary, libraries, &TLibraryCommands::NewLibrary);
    c.Connect(id::kNewSubLibrary, libraries, &TLibraryCommands::NewSubLibrary);
    c.Connect(id::kRenameLibrary, libraries, &TLibraryCommands::RenameLibrary);
    c.Connect(id::kRemoveLibrary, libraries, &TLibraryCommands::RemoveLibrary);
    c.OnTriggered(id::kExit, [this] { close(); });
    c.Connect(id::kAddDictionary, libraries, &TLibraryCommands::AddDictionaries);
    c.Connect(id::kRemoveDictionary, libraries, &TLibraryCommands::RemoveDictionaries);
    c.Connect(id::kNewDictionary, dictionaries, &TDictionaryCommands::NewDictionary);
    c.Connect(id::kDictionaryInfo, dictionaries, &TDictionaryCommands::DictionaryInfo);
    c.Connect(id::kImport, dictionaries, &TDictionaryCommands::Import);
    c.Connect(id::kExport, dictionaries, &TDictionaryCommands::Export);
    c.Connect(id::kChangeData, dictionaries, &TDictionaryCommands::ChangeDictionaryData);
    c.Connect(id::kSecurity, dictionaries, &TDictionaryCommands::SecuritySettings);
    c.Connect(id::kRemapLetters, dictionaries, &TDictionaryCommands::RemapLetters);
    c.Connect(id::kSetPicture, dictionaries, &TDictionaryCommands::SetPicture);
    c.OnTriggered(id::kDropCopy, [view] { view->DropDictionaries(false); });
    c.OnTriggered(id::kDropMove, [view] { view->DropDictionaries(true); });

    c.OnTriggered(id::kToolBar, [this] { m_pToolBar->setVisible(m_pToolBar->isHidden()); });
    c.OnTriggered(id::kStatusBar, [this] { statusBar()->setVisible(statusBar()->isHidden()); });
    c.Connect(id::kRefresh, view, &CVrk3dbeView::RefreshAll);

    c.OnTriggered(id::kAlphabet, [this] {
        vrk::CAlphabetDlg dialog(this);
        dialog.exec();
    });
    c.Connect(id::kTempDir, view, &CVrk3dbeView::ChooseTempDir);
    c.Connect(id::kFont, view, &CVrk3dbeView::ChooseFont);

    c.OnTriggered(id::kHelpTopics, [this] { vrk::ShowHelp(vrk::help::kContents, this); });
    c.OnTriggered(id::kGuide, [this] { vrk::ShowHelp(vrk::help::kGuide, this); });
    c.OnTriggered(id::kAbout, [this] { vrk::ShowManagerAbout(this); });
    vrk::AddHelpKey(this, vrk::help::kContents);
}

void CMainFrame::setEnablingRules() {
    vrk::TCommandSet& c = *m_pCommands;
    CVrk3dbeView* view = m_pView;
    // Without a library (an empty tree) only a new top-level library can be
    // made: the other library commands would act on the Groups key itself,
    // and a new or imported dictionary would belong to no library.
    auto library = [view] { return view->SelectedLibrary() != nullptr; };
    for (int command : {id::kNewSubLibrary, id::kRenameLibrary, id::kRemoveLibrary,
                        id::kAddDictionary, id::kRefresh, id::kNewDictionary, id::kImport})
        c.SetEnabledRule(command, library);
    auto some = [view] { return view->SelectedDictionaryCount() > 0; };
    auto one = [view] { return view->SelectedDictionaryCount() == 1; };
    for (int command : {id::kRemoveDictionary, id::kSecurity, id::kRemapLetters, id::kSetPicture})
        c.SetEnabledRule(command, some);
    for (int command : {id::kDictionaryInfo, id::kChangeData}) c.SetEnabledRule(command, one);
    // Export asks the dictionary itself whether it may be exported.
    c.SetEnabledRule(id::kExport, [view] { return view->SelectedExportAllowed(); });

    c.SetCheckedRule(id::kToolBar, [this] { return !m_pToolBar->isHidden(); });
    c.SetCheckedRule(id::kStatusBar, [this] { return !statusBar()->isHidden(); });
}

void CMainFrame::UpdateCommandStates() {
    m_pCommands->UpdateStates();
    updatePanes();
}
