#include "ui/directory_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/accessible_text.h"
#include "ui/icons.h"
#include "ui/message_box.h"
#include "ui/ui_texts.h"

namespace vrk {
namespace {

constexpr int kIndentRole = Qt::UserRole + 1;  // pixels the row is moved right
constexpr int kPathRole = Qt::UserRole + 2;    // the directory of the row
constexpr int kIndentStep = 10;                // per path level

// Draws each row moved right by its indent: the path levels step inwards,
// the subdirectories sit one step below the current directory.
class CIndentDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem moved(option);
        moved.rect.adjust(index.data(kIndentRole).toInt(), 0, 0, 0);
        QStyledItemDelegate::paint(painter, moved, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rwidth() += index.data(kIndentRole).toInt();
        return size;
    }
};

// File systems that hold no user directories.
bool IsPseudoFileSystem(const QStorageInfo& volume) {
    static const QStringList kTypes = {
        "proc",    "sysfs",   "devtmpfs",    "devpts",   "cgroup",   "cgroup2",   "securityfs",
        "debugfs", "tracefs", "pstore",      "bpf",      "mqueue",   "hugetlbfs", "configfs",
        "fusectl", "autofs",  "binfmt_misc", "squashfs", "efivarfs", "nsfs",      "ramfs"};
    if (kTypes.contains(QString::fromLatin1(volume.fileSystemType()))) return true;
    const QString root = volume.rootPath();
    for (const char* prefix : {"/proc", "/sys", "/dev", "/snap", "/boot/efi"})
        if (root == prefix || root.startsWith(QLatin1String(prefix) + '/')) return true;
    // /run holds mounts of removable media below /run/media; the rest is system state.
    return (root == "/run" || root.startsWith("/run/")) && !root.startsWith("/run/media/");
}

QString WithoutTrailingSlash(QString path) {
    while (path.size() > 1 && path.endsWith('/')) path.chop(1);
    return path;
}

// `dir` followed by "/" and `name`, with one "/" also below the root.
QString JoinPath(const QString& dir, const QString& name) {
    return (dir == QStringLiteral("/") ? QString() : WithoutTrailingSlash(dir)) + '/' + name;
}

}  // namespace

bool CTDirectoryDlg::DirectoryExists(const QString& path) {
    if (path.isEmpty()) return false;
    const QFileInfo info(path);
    return info.isDir() && info.isExecutable();
}

QString CTDirectoryDlg::DeepestExisting(const QString& path) {
    const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    QString deepest;
    QString prefix;
    const QStringList levels = absolute.split('/');
    for (int i = 0; i < levels.size(); ++i) {
        if (i == 0) {
            prefix = QStringLiteral("/");
        } else if (levels[i].isEmpty()) {
            continue;
        } else {
            prefix = JoinPath(prefix, levels[i]);
        }
        if (!DirectoryExists(prefix)) break;
        deepest = prefix;
    }
    return deepest;
}

bool CTDirectoryDlg::CreateDirectory(const QString& path) {
    if (path.isEmpty()) return false;
    (void)QDir().mkpath(path);
    return DirectoryExists(path);
}

CTDirectoryDlg::CTDirectoryDlg(const QString& initialPath, unsigned options, QWidget* parent)
    : QDialog(parent),
      m_nOptions(options),
      m_strDriveMissing(texts::kDirDefaultDriveMissing),
      m_strDirectoryMissing(texts::kDirDefaultCreate),
      m_strCannotCreate(texts::kDirDefaultCannotCreate),
      m_strInitialPath(initialPath) {
    setObjectName("directoryDlg");
    createControls();
    createLayout();
    SetTexts(texts::kDirDefaultTitle, texts::kDirDefaultDirectories, texts::kDirDefaultDrives,
             texts::kDirDefaultOk, texts::kDirDefaultCancel);
    m_strCurrentPath = DeepestExisting(initialPath);
    if (m_strCurrentPath.isEmpty()) m_strCurrentPath = QStringLiteral("/");
    (void)fillList(m_strCurrentPath);
    fillDrives();
    m_pPath->setReadOnly(!(m_nOptions & kEditablePath));
    m_pPath->setText(initialPath);
    connectControls();
}

void CTDirectoryDlg::createControls() {
    m_pPath = new QLineEdit(this);
    m_pPath->setObjectName("pathEdit");
    m_pPath->setAccessibleName(NameFromLabel(texts::kDirPathLabel));
    m_pDirectoriesLabel = new QLabel(this);
    m_pDirectoriesLabel->setObjectName("directoriesLabel");
    m_pList = new QListWidget(this);
    m_pList->setObjectName("directoryList");
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setItemDelegate(new CIndentDelegate(m_pList));
    m_pList->setIconSize(QSize(16, 16));
    m_pList->setUniformItemSizes(true);
    // Hidden directories (".cache", say) are listed on request only.
    m_pShowHidden = new QCheckBox(texts::kDirDefaultShowHidden, this);
    m_pShowHidden->setObjectName("showHiddenCheck");
    m_pDrivesLabel = new QLabel(this);
    m_pDrivesLabel->setObjectName("drivesLabel");
    m_pDrives = new QComboBox(this);
    m_pDrives->setObjectName("driveList");
    m_pPathLabel = new QLabel(texts::kDirPathLabel, this);
    m_pPathLabel->setObjectName("pathLabel");
    m_pPathLabel->setBuddy(m_pPath);
    m_pDirectoriesLabel->setBuddy(m_pList);
    m_pDrivesLabel->setBuddy(m_pDrives);
    m_pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_pButtons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
    m_pButtons->button(QDialogButtonBox::Ok)->setDefault(true);
    for (QAbstractButton* button : m_pButtons->buttons()) button->setIcon(QIcon());
    m_pButtons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
}

void CTDirectoryDlg::createLayout() {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pPathLabel);
    layout->addWidget(m_pPath);
    layout->addSpacing(4);
    layout->addWidget(m_pDirectoriesLabel);
    layout->addWidget(m_pList, 1);
    layout->addWidget(m_pShowHidden);
    layout->addSpacing(4);
    layout->addWidget(m_pDrivesLabel);
    layout->addWidget(m_pDrives);
    layout->addSpacing(6);
    layout->addWidget(m_pButtons);
    resize(380, 420);
}

void CTDirectoryDlg::connectControls() {
    connect(m_pButtons, &QDialogButtonBox::accepted, this, &CTDirectoryDlg::accept);
    connect(m_pButtons, &QDialogButtonBox::rejected, this, &CTDirectoryDlg::reject);
    connect(m_pList, &QListWidget::itemActivated, this, &CTDirectoryDlg::onRowActivated);
    connect(m_pDrives, &QComboBox::activated, this, &CTDirectoryDlg::onDriveChosen);
    connect(m_pShowHidden, &QCheckBox::toggled, this, [this] {
        // The path field keeps what the user typed.
        const QString typed = m_pPath->text();
        (void)fillList(m_strShownPath);
        m_pPath->setText(typed);
    });
}

void CTDirectoryDlg::SetShowHiddenText(const QString& text) {
    m_pShowHidden->setText(text);
}

void CTDirectoryDlg::SetTexts(const QString& title, const QString& directories,
                              const QString& drives, const QString& ok, const QString& cancel) {
    setWindowTitle(title);
    m_pDirectoriesLabel->setText(directories);
    m_pList->setAccessibleName(NameFromLabel(directories));
    m_pDrivesLabel->setText(drives);
    m_pDrives->view()->setAccessibleName(NameFromLabel(drives));
    m_pButtons->button(QDialogButtonBox::Ok)->setText(ok);
    m_pButtons->button(QDialogButtonBox::Cancel)->setText(cancel);
}

void CTDirectoryDlg::SetMessages(const QString& driveMissing, const QString& directoryMissing,
                                 const QString& cannotCreate) {
    m_strDriveMissing = driveMissing;
    m_strDirectoryMissing = directoryMissing;
    m_strCannotCreate = cannotCreate;
}

QList<CTDirectoryDlg::TDrive> CTDirectoryDlg::EnumerateDrives() {
    QList<TDrive> drives{{QStringLiteral("/"), texts::kRootFileSystem}};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady() || volume.isRoot() || IsPseudoFileSystem(volume))
            continue;
        const QString root = volume.rootPath();
        if (std::any_of(drives.begin(), drives.end(),
                        [&](const TDrive& d) { return d.root == root; }))
            continue;
        QString name = volume.name();
        name = name.isEmpty() ? root : name + QStringLiteral(" (") + root + ')';
        drives.append({root, name});
    }
    std::sort(drives.begin() + 1, drives.end(),
              [](const TDrive& a, const TDrive& b) { return a.root < b.root; });
    return drives;
}

void CTDirectoryDlg::fillDrives() {
    m_drives = EnumerateDrives();
    const QIcon driveIcon = ToolbarIcon(QStringLiteral("drive"));
    for (const TDrive& drive : m_drives) m_pDrives->addItem(driveIcon, drive.name, drive.root);
    selectDriveOf(m_strCurrentPath);
}

void CTDirectoryDlg::selectDriveOf(const QString& path) {
    // The drive of a path is the file system mounted deepest on its way.
    int best = 0;
    for (int i = 0; i < m_drives.size(); ++i) {
        const QString& root = m_drives[i].root;
        if ((path == root || path.startsWith(JoinPath(root, QString()))) &&
            root.size() > m_drives[best].root.size())
            best = i;
    }
    m_pDrives->setCurrentIndex(best);
}

bool CTDirectoryDlg::fillList(const QString& directory) {
    const QString dir = WithoutTrailingSlash(QDir::cleanPath(directory));
    if (!DirectoryExists(dir)) return false;
    QDir listing(dir);
    if (!listing.isReadable()) return false;
    QDir::Filters filters = QDir::Dirs | QDir::NoDotAndDotDot;
    if (m_pShowHidden->isChecked()) filters |= QDir::Hidden;
    const QStringList subdirectories =
        listing.entryList(filters, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);

    m_pList->clear();
    const QIcon above = RoleIcon(icon::kParentDirectory);
    const QIcon current = RoleIcon(icon::kCurrentDirectory);
    const QIcon below = RoleIcon(icon::kSubdirectory);
    auto addRow = [this](const QIcon& icon, const QString& text, const QString& path, int indent) {
        auto* item = new QListWidgetItem(icon, text, m_pList);
        item->setData(kPathRole, path);
        item->setData(kIndentRole, indent);
        item->setToolTip(path);
    };

    // Path rows: "/" first, then each level down to the shown directory.
    const QStringList levels = dir.split('/', Qt::SkipEmptyParts);
    QString path = QStringLiteral("/");
    addRow(levels.isEmpty() ? current : above, path, path, 0);
    for (int k = 0; k < levels.size(); ++k) {
        path = JoinPath(path, levels[k]);
        addRow(k + 1 == levels.size() ? current : above, levels[k], path, kIndentStep * (k + 1));
    }
    m_nLevelCount = static_cast<int>(levels.size()) + 1;
    for (const QString& name : subdirectories)
        addRow(below, name, JoinPath(dir, name), kIndentStep * m_nLevelCount);
    m_nSubdirCount = static_cast<int>(subdirectories.size());

    m_pList->setCurrentRow(m_nLevelCount - 1);
    showPathRows();
    m_strCurrentPath = dir;
    m_strShownPath = dir;
    m_pPath->setText(dir);
    return true;
}

void CTDirectoryDlg::showPathRows() {
    m_pList->scrollToItem(m_pList->item(0), QAbstractItemView::PositionAtTop);
    m_pList->scrollToItem(m_pList->item(m_nLevelCount - 1));
}

void CTDirectoryDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Scrolling before the list had its size left the top rows hidden.
    showPathRows();
}

void CTDirectoryDlg::onRowActivated(QListWidgetItem* item) {
    if (!item) return;
    if (fillList(item->data(kPathRole).toString())) selectDriveOf(m_strCurrentPath);
}

void CTDirectoryDlg::onDriveChosen(int index) {
    // The mounts may have changed since the dialog opened; then the list of
    // drives no longer matches what the user chose from.
    const QList<TDrive> now = EnumerateDrives();
    if (now.size() != m_drives.size() || index < 0 || index >= now.size()) return;
    const QString root = now[index].root;
    if (DirectoryExists(root) && fillList(root)) return;
    ShowMessage(this, m_strDriveMissing, TMsgIcon::kError);
    selectDriveOf(m_strCurrentPath);
}

void CTDirectoryDlg::accept() {
    QString typed = m_pPath->text();
    // "~" is the home folder, as in a shell: a folder named "~" is never
    // what the user means.
    if (typed == QStringLiteral("~") || typed.startsWith(QStringLiteral("~/")))
        typed = QDir::homePath() + typed.mid(1);
    // A relative path counts from the directory the list shows.
    if (!typed.isEmpty() && QDir::isRelativePath(typed))
        typed = QDir(m_strShownPath).absoluteFilePath(typed);
    if (!typed.isEmpty()) typed = WithoutTrailingSlash(QDir::cleanPath(typed));
    m_strCurrentPath = typed;
    if ((m_nOptions & kCreateMissing) && !DirectoryExists(typed)) {
        if (!AskYesNo(this, m_strDirectoryMissing)) return;
        if (!CreateDirectory(typed)) {
            ShowMessage(this, m_strCannotCreate, TMsgIcon::kError);
            return;
        }
    }
    QDialog::accept();
}

void CTDirectoryDlg::reject() {
    m_strCurrentPath.clear();
    QDialog::reject();
}

}  // namespace vrk
