// Tells when the mount table changes. The kernel marks /proc/self/mountinfo
// with POLLPRI at every mount and unmount; the window's event loop waits for
// that mark like for any other event, so nothing polls on a timer.
#pragma once

#include "mount_table.h"

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
    MountTableChanges table_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace dorvelix
