// Writes a picture of every shared window into a folder, for looking at them
// the way a user sees them: vrk3_ui_gallery <folder> (under a display or
// xvfb-run). Uses a private settings store in the folder.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QTimer>
#include <cstdlib>

#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "settings/temp_dir.h"
#include "ui/about_dlg.h"
#include "ui/alphabet_dlg.h"
#include "ui/cp1250_text.h"
#include "ui/dict_info_dlg.h"
#include "ui/directory_dlg.h"
#include "ui/help.h"
#include "ui/help_window.h"
#include "ui/icons.h"
#include "ui/message_box.h"
#include "ui/splash_window.h"
#include "ui/temp_dir_dlg.h"
#include "ui/ui_init.h"
#include "ui/ui_texts.h"

namespace {

QString g_folder;

void Save(QWidget* window, const char* name) {
    window->show();
    QApplication::processEvents();
    QApplication::processEvents();
    window->grab().save(QDir(g_folder).filePath(QString::fromLatin1(name) + ".png"));
    window->hide();
}

void IconSheet() {
    const QList<int> icons = {132, 135, 136, 138, 140, 141, 142, 155, 133, 134, 143, 144};
    // Every toolbar icon the programs ship, straight from the resources.
    QStringList names;
    for (const QString& file : QDir(QStringLiteral(":/icons/toolbar")).entryList({"*.svg"}))
        names << QFileInfo(file).completeBaseName();
    QPixmap sheet(20 + 40 * 16, 260);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    int x = 10;
    for (int n : icons) {
        p.drawPixmap(x, 10, vrk::RoleIcon(n).pixmap(16, 16));
        p.drawPixmap(x, 40, vrk::RoleIcon(n).pixmap(32, 32));
        x += 40;
    }
    x = 10;
    for (const QString& n : names) {
        p.drawPixmap(x % 640, 90 + (x / 640) * 60, vrk::ToolbarIcon(n).pixmap(16, 16));
        p.drawPixmap(x % 640, 110 + (x / 640) * 60, vrk::ToolbarIcon(n).pixmap(32, 32));
        x += 40;
    }
    x = 10;
    for (int n : {128, 129}) {
        p.drawPixmap(x, 200, vrk::RoleIcon(n).pixmap(48, 48));
        x += 60;
    }
    for (int n : {131, 132, 157, 158}) {
        p.fillRect(x, 200, 32, 32, QColor(0xdd, 0xdd, 0xdd));
        p.drawPixmap(x, 200, vrk::RoleCursor(vrk::TProgram::kManager, n).pixmap());
        x += 40;
    }
    for (int n : {131, 132}) {
        p.fillRect(x, 200, 32, 32, QColor(0xdd, 0xdd, 0xdd));
        p.drawPixmap(x, 200, vrk::RoleCursor(vrk::TProgram::kFinder, n).pixmap());
        x += 40;
    }
    p.end();
    sheet.save(QDir(g_folder).filePath("icons.png"));
    for (int n : {102, 143, 146, 158, 159, 160})
        vrk::RoleBitmap(n).save(QDir(g_folder).filePath(QString("bitmap-%1.png").arg(n)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    g_folder = vrk::PathText(argv[1]);
    QDir().mkpath(g_folder);
    setenv("VRK3_SETTINGS_DIR", vrk::PathBytes(g_folder + "/settings").c_str(), 1);
    QApplication app(argc, argv);
    vrk::SetProgramCaption(vrk::texts::kFinderName);
    vrk::InitUi();
    IconSheet();

    vrk::CTempDirDlg first;
    Save(&first, "tempdir-first-run");
    (void)vrk::TWriteBackupDir(vrk::PathBytes(QDir::homePath()));
    vrk::CTempDirDlg temp;
    Save(&temp, "tempdir");

    vrk::CTDirectoryDlg chooser(
        QDir::homePath() + "/manjka/tudi",
        vrk::CTDirectoryDlg::kEditablePath | vrk::CTDirectoryDlg::kCreateMissing);
    chooser.SetTexts(vrk::texts::kChooserTitle, vrk::texts::kChooserDirectories,
                     vrk::texts::kChooserDrives, vrk::texts::kOk, vrk::texts::kCancel);
    Save(&chooser, "directory");
    vrk::CTDirectoryDlg usr(QStringLiteral("/usr/share"), 0);
    Save(&usr, "directory-usr");

    (void)vrk::TSetRegistryString(vrk::kAlphabetPath, "abc0",
                                  "Aa|Bb|Cc|\xC8\xE8|Dd|Ee|Ff|Gg|Hh|Ii|Jj|Kk|Ll|Mm|Nn|Oo|Pp|Rr|Ss|"
                                  "\x8A\x9A|Tt|Uu|Vv|Zz|\x8E\x9E",
                                  vrk::kRegCreateKey | vrk::kRegOverwrite);
    (void)vrk::TSetRegistryString(vrk::kAlphabetPath, "sep0", "|",
                                  vrk::kRegCreateKey | vrk::kRegOverwrite);
    vrk::CAlphabetDlg alphabet;
    Save(&alphabet, "alphabet");

    vrk::CDictInfoDlg info(QStringLiteral("Slovar slovenskih križank"), QStringLiteral("Ana Novak"),
                           QStringLiteral("Gesla iz križank, zbrana v letih 1995–2005.\n"
                                          "Opisi so preverjeni v SSKJ."),
                           QString(), vrk::bitmap::kFinderNoPicture);
    Save(&info, "dict-info");
    vrk::CDictInfoDlg infoManager(QStringLiteral("Imena rek"), QStringLiteral("Miha"), QString(),
                                  QString(), vrk::bitmap::kManagerNoPicture);
    Save(&infoManager, "dict-info-manager");

    vrk::CAboutDlg aboutFinder(vrk::bitmap::kFinderAbout, vrk::texts::kFinderName);
    Save(&aboutFinder, "about-finder");
    vrk::CAboutDlg aboutManager(vrk::bitmap::kManagerAbout, vrk::texts::kManagerName);
    Save(&aboutManager, "about-manager");

    vrk::CHelpWindow help;
    help.Open(vrk::HelpUrl(vrk::help::kTempDir));
    Save(&help, "help");
    help.Open(vrk::HelpUrl(vrk::help::kContents));
    Save(&help, "help-contents");
    return 0;
}
