#include "mount_watch.h"

#include <QSocketNotifier>

namespace dorvelix {

MountWatch::MountWatch(QObject* parent) : QObject(parent)
{
    if (table_.descriptor() < 0)
        return;  // no table to watch: the drive list stays as it was read
    // POLLPRI is what Qt calls an exception on a socket notifier. The poll
    // that reports it also clears it, so each change is told once.
    notifier_ = new QSocketNotifier(table_.descriptor(), QSocketNotifier::Exception, this);
    connect(notifier_, &QSocketNotifier::activated, this, &MountWatch::changed);
}

MountWatch::~MountWatch()
{
    // The notifier goes before the descriptor it watches is closed.
    delete notifier_;
}

}  // namespace dorvelix
