#include "scratch_disk.h"

#include <QFile>
#include <QProcess>

#include <unistd.h>

namespace msr::test {
namespace {

bool Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace

ScratchDisk::ScratchDisk() {
    if (geteuid() != 0) {
        unavailable_ = QStringLiteral("mounting a scratch disk takes root");
        return;
    }
    mounted_ = folder_.isValid() &&
               Run(QStringLiteral("mount"),
                   {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                    QStringLiteral("size=512k"), QStringLiteral("tmpfs"), folder_.path()});
    if (!mounted_)
        unavailable_ = QStringLiteral("mount cannot mount a tmpfs here");
}

ScratchDisk::~ScratchDisk() {
    if (mounted_)
        Run(QStringLiteral("umount"), {folder_.path()});
}

void ScratchDisk::fill() {
    QFile filler(filePath(QStringLiteral("filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
    // The last bytes that fit in a partial block.
    while (filler.write("x", 1) == 1) {
    }
}

bool ScratchDisk::makeReadOnly() {
    return Run(QStringLiteral("mount"),
               {QStringLiteral("-o"), QStringLiteral("remount,ro"), folder_.path()});
}

bool CanMountScratchDisks() {
    return ScratchDisk().unavailable().isEmpty();
}

} // namespace msr::test
