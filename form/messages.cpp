#include "messages.h"

#include "number_format.h"
#include "text.h"
#include "ui_text.h"
#include "window_texts.h"

#include <cerrno>

namespace dorvelix {

namespace {

// Error 76 by the errno behind it; nullptr where the plain text serves.
const char* folderCauseText(int cause)
{
    switch (cause) {
    case EACCES: case EPERM: return texts::NoPermission;
    case ENOTDIR: case ELOOP: return texts::NotAFolder;
    case ENAMETOOLONG: return texts::PathTooLong;
    case EIO: return texts::PathReadError;
    // The process or the system holds as many open files as it may: a very
    // deep tree, not a missing path.
    case EMFILE: case ENFILE: return texts::TooManyOpen;
    default: return nullptr;
    }
}

}  // namespace

QString errorDescription(int number, int cause)
{
    if (number == err::PathNotFound) {
        if (const char* text = folderCauseText(cause))
            return uiText(text);
    }
    for (const texts::ErrorText& e : texts::ErrorTexts) {
        if (e.number == number)
            return uiText(e.text);
    }
    return uiText(texts::OtherError);
}

QString pathErrorMessage(int number, int cause, const QString& path)
{
    return errorDescription(number, cause) + CrLf + path;
}

QString noMediumMessage(const QString& drive)
{
    return drive + uiText(texts::NoMedium);
}

QString SearchMessage::kind() const
{
    if (isDepthWarning())
        return uiText(texts::DepthWarning);
    return QString::fromUtf8(prefix) + signedNumberText(number);
}

QString SearchMessage::causeText() const
{
    return isDepthWarning() ? QString() : errorDescription(number, cause);
}

QString SearchMessage::text() const
{
    if (isDepthWarning())
        return kind() + CrLf + CrLf + path;
    return kind() + u' ' + causeText() + CrLf + path;
}

}  // namespace dorvelix
