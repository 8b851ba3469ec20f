#include "manager/user_path.h"

#include <QDir>
#include <QFileInfo>

#include "manager/manager_texts.h"

QString AbsoluteUserPath(const QString& path) {
    if (path.isEmpty()) return path;
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

QString DictionaryUserPath(const QString& path) {
    QString absolute = AbsoluteUserPath(path);
    const QString suffix = QLatin1Char('.') + vrk::texts::kDictionarySuffix;
    if (!absolute.isEmpty() && !absolute.endsWith(suffix, Qt::CaseInsensitive)) absolute += suffix;
    return absolute;
}

QString FolderOf(const QString& path) {
    return QFileInfo(AbsoluteUserPath(path)).absolutePath();
}
