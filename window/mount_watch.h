// Tells when the mount table changes. The kernel marks /proc/self/mountinfo
// with POLLPRI at every mount and unmount; the window's event loop waits for
// that mark like for any other event, so nothing polls on a timer.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace dorvelix {

class MountWatch : public QObject {
    Q_OBJECT
public:
    explicit MountWatch(QObject* parent = nullptr);
    ~MountWatch() override;

signals:
    void changed();

private:
    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace dorvelix
