#include "ui/failure_text.h"

#include "settings/library_registry.h"
#include "settings/settings_store.h"
#include "ui/ui_texts.h"

namespace vrk {

namespace {

// `text`, then the reason why on a line of its own when there is one.
QString WithReason(const QString& text, const QString& reason) {
    return reason.isEmpty() ? text : text + QLatin1Char('\n') + reason;
}

}  // namespace

QString FailureReason(TFailure failure) {
    switch (failure) {
        case TFailure::None:
            return {};
        case TFailure::NotFound:
            return QStringLiteral("Datoteke ni (več) na tem mestu.");
        case TFailure::Busy:
            return QStringLiteral(
                "Datoteko ravno uporablja drug program. Poskusite znova čez nekaj trenutkov.");
        case TFailure::NoPermission:
            return QStringLiteral("Za to datoteko ali njeno mapo nimate dovoljenja.");
        case TFailure::NotRegularFile:
            return QStringLiteral("To ni navadna datoteka.");
        case TFailure::Damaged:
            return QStringLiteral("Datoteka ni slovar ali pa je poškodovana.");
        case TFailure::RecordTooLong:
            return QStringLiteral(
                "Zapis je predolg: geslo z vsemi opisi ima lahko največ 99 999 "
                "znakov.");
        case TFailure::DiskFull:
            return QStringLiteral("Na disku ni dovolj prostora.");
        case TFailure::IoError:
            return QStringLiteral("Pri branju ali pisanju datoteke je prišlo do napake sistema.");
        case TFailure::Stopped:
            return QStringLiteral("Postopek je bil prekinjen.");
        case TFailure::EntryChanged:
            return QStringLiteral(
                "Geslo se je v slovarju medtem spremenilo, morda ga je spremenil "
                "drug program. Poiščite ga znova.");
        case TFailure::InvalidArgument:
            return QStringLiteral(
                "Zahteva ni veljavna (na primer geslo, ki ga v slovarju ni več).");
        case TFailure::Exists:
            return QStringLiteral("Datoteka že obstaja.");
        case TFailure::HardLinked:
            return QStringLiteral(
                "Datoteka ima več imen (trdih povezav), zato je program ne "
                "spremeni.");
        case TFailure::SameFile:
            return QStringLiteral("Ciljna datoteka je slovar sam.");
        case TFailure::FolderNotWritable:
            return QStringLiteral(
                "V mapo slovarja ni mogoče pisati. Slovar se spremeni tako, da se nova "
                "datoteka zapiše poleg njega, zato mora biti mapa zapisljiva.");
    }
    return QStringLiteral("Prišlo je do neznane napake.");
}

QString WithFailureReason(const QString& text, TFailure failure) {
    return WithReason(text, FailureReason(failure));
}

QString StoreFailureReason(TStoreFailure failure) {
    switch (failure) {
        case TStoreFailure::kNone:
            return {};
        case TStoreFailure::kNoHome:
            return QStringLiteral(
                "Domača mapa uporabnika ni znana, zato nastavitev ni kam shraniti.");
        case TStoreFailure::kNotDatabase:
            return QStringLiteral("Datoteka z nastavitvami ni baza nastavitev tega programa.");
        case TStoreFailure::kDamaged:
            return QStringLiteral("Datoteka z nastavitvami je poškodovana.");
        case TStoreFailure::kOtherVersion:
            return QStringLiteral("Datoteko z nastavitvami je zapisala druga različica programa.");
        case TStoreFailure::kNoPermission:
            return QStringLiteral("Za datoteko z nastavitvami ali njeno mapo nimate dovoljenja.");
        case TStoreFailure::kDiskFull:
            return QStringLiteral("Na disku ni dovolj prostora za nastavitve.");
        case TStoreFailure::kBusy:
            return QStringLiteral(
                "Datoteko z nastavitvami ravno uporablja drug program. Poskusite znova čez nekaj "
                "trenutkov.");
        case TStoreFailure::kIoError:
            break;
    }
    return QStringLiteral("Pri branju ali pisanju nastavitev je prišlo do napake sistema.");
}

QString LibraryReadError(TRegResult result) {
    return WithReason(texts::kLibraryReadError.arg(ResultCode(result)),
                      StoreFailureReason(SettingsStoreFailure(TRoot::kCurrentUser)));
}

QString LibraryTreeProblem() {
    TLibraryNode groups;
    const TRegResult result = ReadLibraryTree(groups);
    if (result == TRegResult::kOk || result == TRegResult::kNotFound) return {};
    return LibraryReadError(result);
}

}  // namespace vrk
