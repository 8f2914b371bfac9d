#include "first_frame.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <cstdlib>
#include <ctime>

#include <sys/resource.h>
#include <unistd.h>

namespace msr::bench {
namespace {

// Notices the window's first paint event. The paint of the window and of its controls and
// the flush to the screen run in one go, so once the event loop hands control back after
// it, the frame is complete.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* window) : window_(window) { window->installEventFilter(this); }
    ~PaintWatch() override { window_->removeEventFilter(this); }

    bool painted() const { return painted_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Paint)
            painted_ = true;
        return false;
    }

private:
    QWidget* window_;
    bool painted_ = false;
};

double Seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

} // namespace

void ShowUntilFirstFrame(QWidget* window) {
    PaintWatch watch(window);
    window->show();
    for (int round = 0; round < 1000 && !(window->windowHandle()->isExposed() && watch.painted());
         ++round)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    // A platform that exposes a window without painting it at once: paint it now, not at the
    // next frame, which a process that ends would never see.
    if (!watch.painted())
        window->repaint();
}

void ReportFirstFrame() {
    const char* descriptor = std::getenv(kFirstFrameDescriptor);
    if (!descriptor)
        return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    FirstFrame record;
    record.monotonicSeconds =
        static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
    record.processorSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    const int fd = std::atoi(descriptor);
    [[maybe_unused]] const ssize_t written = write(fd, &record, sizeof record);
    close(fd);
}

} // namespace msr::bench
