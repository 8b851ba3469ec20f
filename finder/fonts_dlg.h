// CFontsDlg: "Pisave", where the user chooses the fonts of the finder's
// windows. The caller adds its entries (a name and a font slot each, at most
// 100); the dialog lists them under "Okno:", shows each slot's face drawn in
// that face, lets "Spremeni..." pick another font in Qt's font dialog, and
// edits only its own copies: "V redu" writes every copy back into its slot,
// "Prekliči" leaves the slots as they were. A slot that is not changed is
// written back byte for byte, also when its face is not installed here.
#pragma once

#include <QDialog>
#include <QString>
#include <vector>

#include "ui/font_record.h"

class QComboBox;
class QLabel;
class QPushButton;

class CFontsDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kMaxEntries = 100;

    explicit CFontsDlg(QWidget* parent = nullptr);

    // Adds an entry that edits `slot`, which must outlive the dialog. False,
    // and nothing added, when the dialog holds kMaxEntries already.
    [[nodiscard]] bool AddEntry(const QString& name, vrk::TFontRecord* slot);
    int EntryCount() const { return static_cast<int>(m_entries.size()); }

    // The entry chosen under "Okno:", and its working copy.
    int CurrentEntry() const;
    const vrk::TFontRecord& EntryCopy(int entry) const { return m_entries.at(entry).copy; }
    // The font the sample is drawn in: the copy's, or the dialog's own font
    // when the copy names no face.
    QFont SampleFont(int entry) const;

    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    struct TEntry {
        QString name;
        vrk::TFontRecord* slot = nullptr;
        vrk::TFontRecord copy;
    };

    void createControls();
    void createLayout();
    void connectControls();
    void showSample();
    void changeFont();

    std::vector<TEntry> m_entries;
    bool m_bListFilled = false;
    QComboBox* m_pWindows = nullptr;
    QLabel* m_pSample = nullptr;
    QPushButton* m_pChange = nullptr;
};
