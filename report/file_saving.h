#pragma once

#include <QByteArray>
#include <QString>

namespace msr::report {

// Replaces the file by the bytes in one step: until everything is on the disk the old
// file stays as it was, and a failure leaves neither a partial file nor a stray one.
// Raises ReportOutputError in German, saying why where the system tells: the folder is
// missing, writing there is not allowed, or the disk is full. A device (/dev/stdout) is
// written into, not replaced.
void SaveFileAtomically(const QString& fileName, const QByteArray& bytes);

// Why the file could not be written, from the system's error number: a missing folder,
// a full or read-only disk, no permission for the file or for its folder. Empty where
// the system gives no reason a user can act on.
QString WhyNotWritable(int errorNumber, const QString& fileName);

} // namespace msr::report
