// CSearchBar: the row where the user types the known letters of the word
// (ID_CLUE) and words of its description (ID_DESC) and starts the search.
// Its buttons are the frame's commands Search, Search options and Active
// library. Each box keeps a history of its last 50 texts, newest first.
#pragma once

#include <QString>
#include <QStringList>
#include <QToolBar>

class QAction;
class QComboBox;
class QToolButton;

class CSearchBar : public QToolBar {
    Q_OBJECT
  public:
    static constexpr int kMaxHistory = 50;

    // The buttons run `search`, `options` and `library`.
    CSearchBar(QAction* search, QAction* options, QAction* library, QWidget* parent = nullptr);

    // The known letters (ID_CLUE) and the description words (ID_DESC).
    QString ClueText() const;
    QString DescText() const;
    void SetClueText(const QString& text);
    void SetDescText(const QString& text);

    // Puts `text` at the top of a box's history, removing an equal entry
    // and, past 50 entries, the oldest. The typed text stays as it is.
    void AddClueHistory(const QString& text);
    void AddDescHistory(const QString& text);
    QStringList ClueHistory() const;
    QStringList DescHistory() const;

    QComboBox* ClueBox() const { return m_pClue; }
    QComboBox* DescBox() const { return m_pDesc; }
    // The controls F1 gives the search bar's help for.
    [[nodiscard]] bool OwnsControl(const QWidget* widget) const;

  signals:
    // Either text changed; the Search command's enabling may change.
    void TextsChanged();

  private:
    void createControls(QAction* search, QAction* options, QAction* library);
    void connectControls(QAction* search);

    QComboBox* m_pClue = nullptr;
    QComboBox* m_pDesc = nullptr;
    QToolButton* m_pSearch = nullptr;
    QToolButton* m_pOptions = nullptr;
    QToolButton* m_pLibrary = nullptr;
};

// The history rule of both boxes, for any combo box: at most 50 entries,
// `text` first, no two equal. The box's edit text is kept.
void AddHistoryText(QComboBox* box, const QString& text);

// The height of a history row in `font`: the font's height and room for the
// accents it draws above that.
int HistoryRowHeight(const QFont& font);
