// The main frame's commands: what each does and when it is enabled and
// checked.
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>

#include "finder/entry_commands.h"
#include "finder/entry_window.h"
#include "finder/frame_fonts.h"
#include "finder/main_frame.h"
#include "finder/main_frame_ids.h"
#include "finder/search_bar.h"
#include "finder/search_bar_options.h"
#include "finder/vrk3mpg_view.h"
#include "ui/about_dlg.h"
#include "ui/alphabet_dlg.h"
#include "ui/commands.h"
#include "ui/help.h"
#include "ui/temp_dir_dlg.h"
#include "ui/ui_texts.h"

void CMainFrame::connectCommands() {
    vrk::TCommandSet& c = *m_pCommands;
    c.OnTriggered(id::kSearch, [this] { (void)RunSearch(); });
    c.OnTriggered(id::kSearchOptions, [this] { m_pSearchOptions->ShowAtCursor(); });
    c.OnTriggered(id::kActiveLibrary, [this] { m_pActiveLibraryDlg->ShowAtCursor(); });
    m_pEntryCommands = new CEntryCommands(*this, m_editor);
    connect(m_pMdiArea, &CResultArea::OpenEntryRequested, m_pEntryCommands,
            &CEntryCommands::LoadEntry);
    c.OnTriggered(id::kExit, [this] { close(); });

    c.OnTriggered(id::kToolBar, [this] { m_pToolBar->setVisible(m_pToolBar->isHidden()); });
    c.Connect(id::kSearchBar, this, &CMainFrame::ToggleSearchBar);
    c.OnTriggered(id::kStatusBar, [this] { statusBar()->setVisible(statusBar()->isHidden()); });
    c.Connect(id::kEntryWindow, this, &CMainFrame::SwitchEntryWindow);
    c.OnTriggered(id::kDockLeft, [this] { DockEntryWindow(kAlignLeft); });
    c.OnTriggered(id::kDockRight, [this] { DockEntryWindow(kAlignRight); });
    c.OnTriggered(id::kDockTop, [this] { DockEntryWindow(kAlignTop); });
    c.OnTriggered(id::kDockBottom, [this] { DockEntryWindow(kAlignBottom); });
    c.Connect(id::kFloat, this, &CMainFrame::FloatEntryWindow);

    c.OnTriggered(id::kAlphabet, [this] {
        vrk::CAlphabetDlg dialog(this);
        dialog.exec();
    });
    c.OnTriggered(id::kTempDir, [this] {
        vrk::CTempDirDlg dialog(this, true);
        dialog.exec();
    });

    c.OnTriggered(id::kFonts, [this] { ChooseFrameFonts(*this); });
    c.OnTriggered(id::kNewWindow, [this] { (void)OpenNewWindow(); });
    c.OnTriggered(id::kTile, [this] { m_pMdiArea->tileSubWindows(); });
    c.OnTriggered(id::kArrangeIcons, [this] { m_pMdiArea->ArrangeIcons(); });
    c.OnTriggered(id::kCloseAll, [this] {
        m_pMdiArea->CloseAll();
        UpdateCommandStates();
    });

    c.OnTriggered(id::kHelpTopics, [this] { vrk::ShowHelp(vrk::help::kContents, this); });
    c.OnTriggered(id::kGuide, [this] { vrk::ShowHelp(vrk::help::kGuide, this); });
    c.OnTriggered(id::kAbout, [this] { vrk::ShowFinderAbout(this); });

    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, [this] {
        updateTitle();
        UpdateCommandStates();
    });
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // A maximised result window writes "frame title - [its title]" into the
    // frame's title; the frame puts its own title back.
    if (event->type() == QEvent::WindowTitleChange && m_pMdiArea) updateTitle();
}

void CMainFrame::setEnablingRules() {
    vrk::TCommandSet& c = *m_pCommands;
    c.SetEnabledRule(id::kSearch, [this] {
        const bool typed =
            !m_pSearchBar->ClueText().isEmpty() || !m_pSearchBar->DescText().isEmpty();
        return typed && !m_activeLibrary.Name().empty() && !m_activeLibrary.Dictionaries().empty();
    });
    c.SetEnabledRule(id::kNewWindow, [this] { return m_pMdiArea->currentSubWindow() != nullptr; });

    c.SetCheckedRule(id::kToolBar, [this] { return !m_pToolBar->isHidden(); });
    c.SetCheckedRule(id::kSearchBar, [this] { return !m_pSearchBar->isHidden(); });
    c.SetCheckedRule(id::kStatusBar, [this] { return !statusBar()->isHidden(); });
    c.SetCheckedRule(id::kEntryWindow, [this] { return EntryMode() != kEntryHidden; });
    const std::pair<int, std::int32_t> sides[] = {{id::kDockLeft, kAlignLeft},
                                                  {id::kDockRight, kAlignRight},
                                                  {id::kDockTop, kAlignTop},
                                                  {id::kDockBottom, kAlignBottom}};
    for (const auto& [command, align] : sides)
        c.SetCheckedRule(command, [this, align] {
            return EntryMode() == kEntryDocked && m_dwEntryAlign == align;
        });
    c.SetCheckedRule(id::kFloat, [this] { return EntryMode() == kEntryFloating; });
    // A command's key pressed straight after another command (Ctrl+Z after
    // Ctrl+S) finds its state current, not as the tick last left it.
    for (QAction* action : findChildren<QAction*>())
        if (action->property("commandId").isValid())
            connect(action, &QAction::triggered, this, &CMainFrame::UpdateCommandStates);
}

void CMainFrame::UpdateCommandStates() {
    m_pCommands->UpdateStates();
    m_pWindowMenu->menuAction()->setVisible(!m_pMdiArea->subWindowList().isEmpty());
    const TEntryState& entry = m_editor.State();
    m_pEntryWindow->NextButton()->setEnabled(entry.m_nCurDesc <= entry.m_nDescCount - 2);
    m_pEntryWindow->PreviousButton()->setEnabled(entry.m_nCurDesc != 0);
}

void CMainFrame::updateTitle() {
    // The title of the active result window, then the program's name; with
    // none active the title is the program's name. The same holds while the
    // window is maximised, so that its title shows once.
    const QMdiSubWindow* active = m_pMdiArea->activeSubWindow();
    if (active && !active->windowTitle().isEmpty())
        setWindowTitle(active->windowTitle() + QStringLiteral(" — ") + vrk::texts::kFinderName);
    else
        setWindowTitle(vrk::texts::kFinderName);
}
