#pragma once

#include <QString>
#include <QTemporaryDir>

namespace msr::test {

// A small file system of its own (a tmpfs), mounted for one test and gone after it:
// the way to meet a full or a read-only disk for real. Mounting takes root.
class ScratchDisk {
public:
    ScratchDisk();
    ~ScratchDisk();
    ScratchDisk(const ScratchDisk&) = delete;
    ScratchDisk& operator=(const ScratchDisk&) = delete;

    // Why the disk cannot be had here (not root, no mount); empty once mounted.
    QString unavailable() const { return unavailable_; }
    QString path() const { return folder_.path(); }
    QString filePath(const QString& name) const { return folder_.filePath(name); }

    // Fills the disk to the last byte.
    void fill();
    // Makes the whole disk read-only.
    bool makeReadOnly();

private:
    QTemporaryDir folder_;
    QString unavailable_;
    bool mounted_ = false;
};

// Whether mount(8) can mount a tmpfs here at all.
bool CanMountScratchDisks();

} // namespace msr::test
