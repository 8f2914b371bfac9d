#include "report/file_saving.h"

#include "report/report_output.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

#include <unistd.h>

namespace msr::report {
namespace {

QString FolderOf(const QString& fileName) {
    return QFileInfo(fileName).absolutePath();
}

// The failure, and after a colon its reason when one is known.
[[noreturn]] void Fail(const char* what, const QString& fileName, int errorNumber) {
    QString message = QString::fromUtf8(what).arg(QDir::toNativeSeparators(fileName));
    const QString reason = WhyNotWritable(errorNumber, fileName);
    if (!reason.isEmpty())
        message += QStringLiteral(": ") + reason;
    throw ReportOutputError(message.toStdString());
}

} // namespace

namespace {

// A file that is there but may not be written, in a folder that may be: the file is the
// obstacle, not the folder.
bool OnlyTheFileIsLocked(const QString& fileName, const QString& folder) {
    const QFileInfo file(fileName);
    return file.exists() && !file.isDir() &&
           ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

} // namespace

QString WhyNotWritable(int errorNumber, const QString& fileName) {
    const QString folder = FolderOf(fileName);
    const QString shownFolder = QDir::toNativeSeparators(folder);
    // A missing folder is told by the folder itself, whatever error the call gave.
    if (!QFileInfo(folder).isDir())
        return QStringLiteral("Der Ordner \"%1\" existiert nicht").arg(shownFolder);
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Der Datenträger ist voll");
    case EROFS:
        return QStringLiteral("Der Datenträger ist schreibgeschützt");
    case EACCES:
    case EPERM:
        if (OnlyTheFileIsLocked(fileName, folder))
            return QStringLiteral("Keine Berechtigung, die Datei zu überschreiben");
        return QStringLiteral("Keine Berechtigung, im Ordner \"%1\" zu schreiben").arg(shownFolder);
    case EISDIR:
        return QStringLiteral("Unter diesem Namen gibt es schon einen Ordner");
    default:
        return {};
    }
}

namespace {

// A device or a pipe (/dev/full, /dev/stdout) is written into as it is: putting a file
// in its place would replace the device.
void WriteIntoDevice(const QString& fileName, const QByteArray& bytes) {
    QFile device(fileName);
    errno = 0;
    if (!device.open(QIODevice::WriteOnly))
        Fail("Die Datei \"%1\" kann nicht erstellt werden", fileName, errno);
    errno = 0;
    if (device.write(bytes) != bytes.size() || !device.flush())
        Fail("Die Datei \"%1\" kann nicht geschrieben werden", fileName, errno);
}

} // namespace

void SaveFileAtomically(const QString& fileName, const QByteArray& bytes) {
    const QFileInfo target(fileName);
    if (target.isDir())
        Fail("Die Datei \"%1\" kann nicht erstellt werden", fileName, EISDIR);
    if (target.exists() && !target.isFile())
        return WriteIntoDevice(fileName, bytes);
    QSaveFile file(fileName);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        Fail("Die Datei \"%1\" kann nicht erstellt werden", fileName, errno);
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        const int error = errno;
        file.cancelWriting();
        Fail("Die Datei \"%1\" kann nicht geschrieben werden", fileName, error);
    }
    // The bytes reach the disk only now; a full disk shows here, and the old file stays.
    errno = 0;
    if (!file.commit())
        Fail("Die Datei \"%1\" kann nicht geschrieben werden", fileName, errno);
}

} // namespace msr::report
