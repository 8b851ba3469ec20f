#include "ui/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstring>
#include <mutex>

namespace vrk {
namespace {

struct TQtText {
    const char* context;  // null: every context that names the standard buttons
    const char* source;
    const char* slovene;
};

// The classes that name the standard buttons of dialogs and message boxes:
// the platform theme in Qt 6, a desktop's own theme, and older Qt versions.
constexpr const char* kButtonContexts[] = {"QPlatformTheme", "QGnomeTheme", "QDialogButtonBox"};

// Our Slovene for the texts of Qt's own windows that a user of the programs
// meets. Qt's catalogue, where the system has one, is asked first.
constexpr TQtText kQtTexts[] = {
    // The standard buttons.
    {nullptr, "OK", "V redu"},
    {nullptr, "&OK", "&V redu"},
    {nullptr, "Cancel", "Prekliči"},
    {nullptr, "&Cancel", "&Prekliči"},
    {nullptr, "&Yes", "&Da"},
    {nullptr, "&No", "&Ne"},
    {nullptr, "Yes to &All", "Da za &vse"},
    {nullptr, "N&o to All", "N&e za vse"},
    {nullptr, "Save", "Shrani"},
    {nullptr, "&Save", "&Shrani"},
    {nullptr, "Save All", "Shrani vse"},
    {nullptr, "Open", "Odpri"},
    {nullptr, "Close", "Zapri"},
    {nullptr, "&Close", "&Zapri"},
    {nullptr, "Close without Saving", "Zapri brez shranjevanja"},
    {nullptr, "Don't Save", "Ne shrani"},
    {nullptr, "Discard", "Zavrzi"},
    {nullptr, "Abort", "Prekini"},
    {nullptr, "Retry", "Poskusi znova"},
    {nullptr, "Ignore", "Prezri"},
    {nullptr, "Help", "Pomoč"},
    {nullptr, "Apply", "Uporabi"},
    {nullptr, "Reset", "Ponastavi"},
    {nullptr, "Restore Defaults", "Privzete vrednosti"},

    // The context menus of the text boxes.
    {"QWidgetTextControl", "&Undo", "&Razveljavi"},
    {"QWidgetTextControl", "&Redo", "&Uveljavi znova"},
    {"QWidgetTextControl", "Cu&t", "&Izreži"},
    {"QWidgetTextControl", "&Copy", "&Kopiraj"},
    {"QWidgetTextControl", "Copy &Link Location", "Kopiraj naslov &povezave"},
    {"QWidgetTextControl", "&Paste", "&Prilepi"},
    {"QWidgetTextControl", "Delete", "Izbriši"},
    {"QWidgetTextControl", "Select All", "Izberi vse"},
    {"QLineEdit", "&Undo", "&Razveljavi"},
    {"QLineEdit", "&Redo", "&Uveljavi znova"},
    {"QLineEdit", "Cu&t", "&Izreži"},
    {"QLineEdit", "&Copy", "&Kopiraj"},
    {"QLineEdit", "&Paste", "&Prilepi"},
    {"QLineEdit", "Delete", "Izbriši"},
    {"QLineEdit", "Select All", "Izberi vse"},

    // The window menu and buttons of the result windows, and the dock buttons.
    {"QMdiSubWindow", "&Restore", "&Obnovi"},
    {"QMdiSubWindow", "&Move", "&Premakni"},
    {"QMdiSubWindow", "&Size", "&Velikost"},
    {"QMdiSubWindow", "Mi&nimize", "Po&manjšaj"},
    {"QMdiSubWindow", "Ma&ximize", "Po&večaj"},
    {"QMdiSubWindow", "Stay on &Top", "Vedno na &vrhu"},
    {"QMdiSubWindow", "&Close", "&Zapri"},
    {"QMdiSubWindow", "Minimize", "Pomanjšaj"},
    {"QMdiSubWindow", "Maximize", "Povečaj"},
    {"QMdiSubWindow", "Restore Down", "Obnovi"},
    {"QMdiSubWindow", "Restore", "Obnovi"},
    {"QMdiSubWindow", "Close", "Zapri"},
    {"QMdiSubWindow", "Menu", "Meni"},
    {"QMdiSubWindow", "Help", "Pomoč"},
    {"QDockWidget", "Float", "Lebdeče"},
    {"QDockWidget", "Close", "Zapri"},

    // The font dialog.
    {"QFontDialog", "Select Font", "Izbira pisave"},
    {"QFontDialog", "&Font", "&Pisava"},
    {"QFontDialog", "Font st&yle", "&Slog"},
    {"QFontDialog", "&Size", "&Velikost"},
    {"QFontDialog", "Effects", "Učinki"},
    {"QFontDialog", "Stri&keout", "P&rečrtano"},
    {"QFontDialog", "&Underline", "Po&dčrtano"},
    {"QFontDialog", "Sample", "Vzorec"},
    {"QFontDialog", "Wr&iting System", "S&istem pisave"},

    // The file dialog and its list.
    {"QFileDialog", "Look in:", "Išči v:"},
    {"QFileDialog", "File &name:", "&Ime datoteke:"},
    {"QFileDialog", "Files of type:", "Vrsta datotek:"},
    {"QFileDialog", "&Open", "&Odpri"},
    {"QFileDialog", "&Save", "&Shrani"},
    {"QFileDialog", "&Choose", "&Izberi"},
    {"QFileDialog", "Open", "Odpri"},
    {"QFileDialog", "Save As", "Shrani kot"},
    {"QFileDialog", "Find Directory", "Izbira imenika"},
    {"QFileDialog", "Directory:", "Imenik:"},
    {"QFileDialog", "All Files (*)", "Vse datoteke (*)"},
    {"QFileDialog", "Back", "Nazaj"},
    {"QFileDialog", "Go back", "Nazaj"},
    {"QFileDialog", "Forward", "Naprej"},
    {"QFileDialog", "Go forward", "Naprej"},
    {"QFileDialog", "Parent Directory", "Nadrejeni imenik"},
    {"QFileDialog", "Go to the parent directory", "V nadrejeni imenik"},
    {"QFileDialog", "Create New Folder", "Nova mapa"},
    {"QFileDialog", "Create a New Folder", "Ustvari novo mapo"},
    {"QFileDialog", "List View", "Seznam"},
    {"QFileDialog", "Change to list view mode", "Prikaži kot seznam"},
    {"QFileDialog", "Detail View", "Podrobnosti"},
    {"QFileDialog", "Change to detail view mode", "Prikaži podrobnosti"},
    {"QFileDialog", "New Folder", "Nova mapa"},
    {"QFileDialog", "&New Folder", "&Nova mapa"},
    {"QFileDialog", "&Rename", "P&reimenuj"},
    {"QFileDialog", "&Delete", "&Izbriši"},
    {"QFileDialog", "Show &hidden files", "Pokaži &skrite datoteke"},
    {"QAbstractFileIconProvider", "Folder", "Mapa"},
    {"QAbstractFileIconProvider", "File Folder", "Mapa"},
    {"QAbstractFileIconProvider", "Drive", "Pogon"},
    {"QAbstractFileIconProvider", "File", "Datoteka"},
    {"QAbstractFileIconProvider", "%1 File", "Datoteka %1"},
    {"QAbstractFileIconProvider", "Alias", "Povezava"},
    {"QAbstractFileIconProvider", "Shortcut", "Bližnjica"},
    {"QFileSystemModel", "Name", "Ime"},
    {"QFileSystemModel", "Size", "Velikost"},
    {"QFileSystemModel", "Type", "Vrsta"},
    {"QFileSystemModel", "Kind", "Vrsta"},
    {"QFileSystemModel", "Date Modified", "Spremenjeno"},

    // The colour dialog.
    {"QColorDialog", "Select Color", "Izbira barve"},
    {"QColorDialog", "&Basic colors", "&Osnovne barve"},
    {"QColorDialog", "&Custom colors", "&Lastne barve"},
    {"QColorDialog", "&Add to Custom Colors", "&Dodaj k lastnim barvam"},
    {"QColorDialog", "&Pick Screen Color", "Barva z &zaslona"},
    {"QColorDialog", "Hu&e:", "&Odtenek:"},
    {"QColorDialog", "&Sat:", "&Nasičenost:"},
    {"QColorDialog", "&Val:", "S&vetlost:"},
    {"QColorDialog", "&Red:", "&Rdeča:"},
    {"QColorDialog", "&Green:", "&Zelena:"},
    {"QColorDialog", "Bl&ue:", "&Modra:"},
    {"QColorDialog", "A&lpha channel:", "&Prosojnost:"},
};

bool IsButtonContext(const char* context) {
    for (const char* name : kButtonContexts)
        if (std::strcmp(context, name) == 0) return true;
    return false;
}

// Answers Qt's own texts from kQtTexts; installed before Qt's catalogue, so
// that the catalogue is asked first.
class TQtTextsTranslator : public QTranslator {
  public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char*,
                      int) const override {
        return QtTextSlovene(context, sourceText);
    }
    bool isEmpty() const override { return false; }
};

std::once_flag g_qtTranslationOnce;
bool g_bQtCatalogue = false;

void InstallBoth() {
    auto* app = QCoreApplication::instance();
    QCoreApplication::installTranslator(new TQtTextsTranslator(app));
    // The programs speak Slovene whatever the desktop's language is.
    const QLocale slovene(QLocale::Slovenian, QLocale::Slovenia);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* catalogue : {"qtbase", "qt"}) {
        auto* translator = new QTranslator(app);
        if (translator->load(slovene, QString::fromLatin1(catalogue), QStringLiteral("_"),
                             folder)) {
            QCoreApplication::installTranslator(translator);
            g_bQtCatalogue = true;
            return;
        }
        delete translator;
    }
}

}  // namespace

void InstallQtTranslations() {
    if (!QCoreApplication::instance()) return;
    // Numbers and dates in Slovene too, whatever the desktop's locale.
    QLocale::setDefault(QLocale(QLocale::Slovenian, QLocale::Slovenia));
    std::call_once(g_qtTranslationOnce, InstallBoth);
}

bool HasQtSloveneCatalogue() {
    return g_bQtCatalogue;
}

QString QtTextSlovene(const char* context, const char* source) {
    if (!context || !source) return {};
    const bool buttons = IsButtonContext(context);
    for (const TQtText& text : kQtTexts) {
        const bool contextMatches =
            text.context ? std::strcmp(text.context, context) == 0 : buttons;
        if (contextMatches && std::strcmp(text.source, source) == 0)
            return QString::fromUtf8(text.slovene);
    }
    return {};
}

}  // namespace vrk
