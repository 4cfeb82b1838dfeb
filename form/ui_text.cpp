#include "ui_text.h"

#include <QCoreApplication>

namespace dorvelix {

QString uiText(const char* text)
{
    return QCoreApplication::translate(TextContext, text);
}

}  // namespace dorvelix
