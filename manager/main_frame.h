// CMainFrame: the manager's main window. Menus, toolbar and a status bar
// with the message pane and two counters (selected dictionaries, their
// entries) around the one view. It keeps the window's size and maximized
// state and the view's layout under "Editor", writing them when they change
// and when the window closes.
#pragma once

#include <QMainWindow>
#include <QTimer>

#include "manager/view_settings.h"

class QLabel;
class QToolBar;
class CVrk3dbeView;

namespace vrk {
class TCommandSet;
}

class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    // Reads the stored layout, builds the bars and the view, fills the tree
    // and, when `showSplash` is set, shows the start-up picture. The window
    // is not shown yet; when it first shows it takes the stored maximized
    // state, lists the first library and, on the very first run of either
    // program, opens the help.
    explicit CMainFrame(bool showSplash = true, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CVrk3dbeView* View() const { return m_pView; }
    // Every command, by identifier (manager/manager_ids.h).
    vrk::TCommandSet* Commands() const { return m_pCommands; }
    QLabel* DictionaryPane() const { return m_pDictionaryPane; }
    QLabel* EntryPane() const { return m_pEntryPane; }

    // Decides the enabled and checked state of every command and the texts
    // of the two panes.
    void UpdateCommandStates();
    // Stores the layout now when the window is not maximized (a maximized
    // window keeps the last normal one).
    void StoreLayout();

  signals:
    // The frame has closed and stored its layout; the program ends.
    void FrameClosed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void createActions();
    void createMenus();
    void createToolBars();
    void createStatusBar();
    void createView();
    void connectCommands();
    void setEnablingRules();
    void applyPlacement();
    void showFirstRunHelp();
    void updatePanes();
    TViewSettings currentLayout() const;

    TViewSettings m_settings;  // as read at start
    TViewSettings m_stored;    // as last written
    bool m_bStartStateApplied = false;
    QTimer m_storeTimer;  // gathers a burst of size changes into one write

    vrk::TCommandSet* m_pCommands = nullptr;
    QToolBar* m_pToolBar = nullptr;
    CVrk3dbeView* m_pView = nullptr;
    QLabel* m_pDictionaryPane = nullptr;
    QLabel* m_pEntryPane = nullptr;
};
