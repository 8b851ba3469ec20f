// CEntryWindow: the entry window ("Vpisno okno"), a dock that stands at one
// side of the main frame or floats. It shows the current word (1030), the
// description counter (1031), the description editor (1013) and the buttons
// for the previous (1047) and the next (1046) description. Docked, the label
// row is on top; floating, it is at the bottom.
#pragma once

#include <QDockWidget>
#include <QRect>
#include <QSize>
#include <QString>

#include "ui/elided_label.h"

class QPlainTextEdit;
class QPushButton;
class TEntryEditor;

// Where the five controls stand in a client area of size `client`; the
// counter is `counterWidth` wide, and the word takes what is left.
struct TEntryLayout {
    QRect edit, word, counter, previous, next;
};
[[nodiscard]] TEntryLayout EntryLayout(QSize client, bool floating, int counterWidth);

class CEntryWindow : public QDockWidget {
    Q_OBJECT
  public:
    explicit CEntryWindow(QWidget* parent = nullptr);

    QPlainTextEdit* Editor() const { return m_pEdit; }
    vrk::CElidedLabel* WordLabel() const { return m_pWord; }
    QLabel* CounterLabel() const { return m_pCounter; }
    QPushButton* NextButton() const { return m_pNext; }
    QPushButton* PreviousButton() const { return m_pPrevious; }

    // The controls F1 gives the entry window's help for.
    [[nodiscard]] bool OwnsControl(const QWidget* widget) const;
    // Lays the controls out for the window's present shape.
    void LayOut();

    // The next Show shows the word, the description and the counter afresh.
    void RequestRefresh() { m_bRefresh = true; }
    // Hands the text typed into the editor since it was last read to
    // `entryEditor`: the main frame's commands and undo steps call it first.
    void ReadTyped(TEntryEditor& entryEditor);
    // Reads typed text back, then shows what changed of the current word:
    // the description, the counter with its star, the word (bold when it
    // belongs to a dictionary). The main frame's tick calls it.
    void Show(TEntryEditor& entryEditor);

  signals:
    // The floating window was moved or resized by the user (its frame
    // rectangle is the argument).
    void FloatingPlacementChanged(const QRect& rect);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void createControls();
    void reportFloatingPlacement();
    // Raises the floating window above the main frame.
    void keepAboveFrame();
    void setEditorText(const QString& text);

    QWidget* m_pClient = nullptr;
    QPlainTextEdit* m_pEdit = nullptr;
    vrk::CElidedLabel* m_pWord = nullptr;
    QLabel* m_pCounter = nullptr;
    QPushButton* m_pPrevious = nullptr;
    QPushButton* m_pNext = nullptr;

    // What Show last showed of the current word.
    bool m_bRefresh = true;
    int m_nShownDesc = 0;
    int m_nShownCount = 1;
    bool m_bShownModified = false;
    QString m_strShownWord;
    bool m_bLabelBold = false;
};
