#include "platform/shell/ShellFolders.h"

#include <QDir>
#include <QStandardPaths>

namespace lx {

namespace {

std::string ExistingOrHome(QStandardPaths::StandardLocation location)
{
    QString folder = QStandardPaths::writableLocation(location);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder.toStdString();
}

} // namespace

std::string DesktopFolder() { return ExistingOrHome(QStandardPaths::DesktopLocation); }

std::string DocumentsFolder() { return ExistingOrHome(QStandardPaths::DocumentsLocation); }

} // namespace lx
