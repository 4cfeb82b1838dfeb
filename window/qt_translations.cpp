#include "qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace dorvelix {

bool installQtTranslations()
{
    static const bool installed = [] {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            delete translator;
            return false;
        }
        return QCoreApplication::installTranslator(translator);
    }();
    return installed;
}

}  // namespace dorvelix
