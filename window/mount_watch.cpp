#include "mount_watch.h"

#include <QSocketNotifier>
#include <fcntl.h>
#include <unistd.h>

namespace dorvelix {

MountWatch::MountWatch(QObject* parent) : QObject(parent)
{
    fd_ = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        return;  // no table to watch: the drive list stays as it was read
    // POLLPRI is what Qt calls an exception on a socket notifier. The poll
    // that reports it also clears it, so each change is told once.
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Exception, this);
    connect(notifier_, &QSocketNotifier::activated, this, &MountWatch::changed);
}

MountWatch::~MountWatch()
{
    delete notifier_;
    if (fd_ >= 0)
        ::close(fd_);
}

}  // namespace dorvelix
