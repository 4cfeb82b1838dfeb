#include "standard_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace dorvelix {

int closeStandardOutput(const QString& program, int status)
{
    const bool failedEarlier = std::ferror(stdout) != 0;
    // A write that failed before the close (an output longer than the
    // buffer) left its cause in errno, which the close may not set again.
    const int earlierCause = failedEarlier ? errno : 0;
    errno = 0;
    const bool closeFailed = std::fclose(stdout) != 0;
    if (!failedEarlier && !closeFailed)
        return status;
    const int number = errno != 0 ? errno : earlierCause;
    const QString cause = number != 0 ? QString::fromLocal8Bit(std::strerror(number)) : QStringLiteral("write error");
    std::fputs(QStringLiteral("%1: cannot write the output: %2\n").arg(program, cause).toUtf8().constData(), stderr);
    return 2;
}

}  // namespace dorvelix
