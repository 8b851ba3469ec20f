// CTDirectoryDlg: a modal chooser of one directory. It shows the mounted file
// systems as drives, the path of the current directory one level per row with
// its subdirectories indented below, and a path field; with kCreateMissing,
// OK creates a missing directory after asking. Every text is set by the
// caller (SetTexts, SetMessages); the defaults are English.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace vrk {

class CTDirectoryDlg : public QDialog {
    Q_OBJECT
  public:
    // Options (bits).
    static constexpr unsigned kEditablePath = 1;   // the path field can be typed into
    static constexpr unsigned kCreateMissing = 4;  // OK creates a missing directory after asking

    // Opens at the deepest existing directory of `initialPath` ("/" when none
    // exists); the path field shows `initialPath` unchanged.
    CTDirectoryDlg(const QString& initialPath, unsigned options, QWidget* parent = nullptr);

    void SetTexts(const QString& title, const QString& directories, const QString& drives,
                  const QString& ok, const QString& cancel);
    // The switch that lists hidden directories (names beginning with ".").
    void SetShowHiddenText(const QString& text);
    // The messages: the chosen drive is gone, create a missing directory?,
    // the directory cannot be created.
    void SetMessages(const QString& driveMissing, const QString& directoryMissing,
                     const QString& cannotCreate);

    // The chosen directory after OK; empty after Cancel.
    QString GetPath() const { return m_strCurrentPath; }
    // The directory the list shows.
    QString ShownPath() const { return m_strShownPath; }
    // Rows of the list: the path levels, then the subdirectories.
    int LevelCount() const { return m_nLevelCount; }
    int SubdirectoryCount() const { return m_nSubdirCount; }

    // The directory tests the dialog uses, for its callers too.
    // A directory that exists and can be entered.
    [[nodiscard]] static bool DirectoryExists(const QString& path);
    // The deepest existing directory on the way to `path`; empty when even the
    // top level does not exist. Relative paths count from the working directory.
    static QString DeepestExisting(const QString& path);
    // Creates `path` with every missing level above it; true when it exists
    // afterwards.
    [[nodiscard]] static bool CreateDirectory(const QString& path);

    void accept() override;
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    struct TDrive {
        QString root, name;
    };
    static QList<TDrive> EnumerateDrives();

    void createControls();
    void createLayout();
    void connectControls();
    void fillDrives();
    void selectDriveOf(const QString& path);
    [[nodiscard]] bool fillList(const QString& directory);
    void showPathRows();
    void onRowActivated(QListWidgetItem* item);
    void onDriveChosen(int index);

    unsigned m_nOptions;
    QString m_strDriveMissing, m_strDirectoryMissing, m_strCannotCreate;
    QString m_strInitialPath;
    QString m_strCurrentPath;  // the shown directory; the chosen one when the dialog ends
    QString m_strShownPath;
    int m_nLevelCount = 0;
    int m_nSubdirCount = 0;
    QList<TDrive> m_drives;

    QLineEdit* m_pPath = nullptr;
    QLabel* m_pPathLabel = nullptr;
    QLabel* m_pDirectoriesLabel = nullptr;
    QLabel* m_pDrivesLabel = nullptr;
    QListWidget* m_pList = nullptr;
    QComboBox* m_pDrives = nullptr;
    QCheckBox* m_pShowHidden = nullptr;
    QDialogButtonBox* m_pButtons = nullptr;
};

}  // namespace vrk
