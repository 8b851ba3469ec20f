#include "ui/failure_text.h"

namespace vrk {

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
    const QString reason = FailureReason(failure);
    return reason.isEmpty() ? text : text + QLatin1Char('\n') + reason;
}

}  // namespace vrk
