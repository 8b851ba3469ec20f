// Qt's own windows and texts in Slovene: the standard buttons of dialogs,
// the file, font and colour dialogs, the context menus of text boxes and the
// window menu of the result windows. Qt's Slovene catalogue is used where the
// system has one (in Qt's translation folder, package
// qt6-translations-l10n); our own table (QtTextSlovene) fills in what it
// lacks, and everything when it is missing, so that no button reads in
// English.
#pragma once

#include <QString>

namespace vrk {

// Installs both translations in the application once, and makes Slovene
// the default locale (numbers and dates) at every call. Needs the
// QCoreApplication; InitUi calls it.
void InstallQtTranslations();

// True when Qt's own Slovene catalogue was found and is in use.
bool HasQtSloveneCatalogue();

// Our Slovene text for one of Qt's own texts (`context` is the Qt class that
// asks, `source` its English text); empty when our table has none.
QString QtTextSlovene(const char* context, const char* source);

}  // namespace vrk
