#include "qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>
#include <optional>

namespace dorvelix {

namespace {

struct Installed {
    std::optional<UiLanguage> language;
    std::unique_ptr<QTranslator> translator;  // null where none was found
};

Installed& installed()
{
    static Installed now;
    return now;
}

}  // namespace

UiLanguage uiLanguageFor(const QStringList& uiLanguages)
{
    for (const QString& name : uiLanguages) {
        if (name == QLatin1String("C") || name == QLatin1String("POSIX"))
            return UiLanguage::Japanese;
        const QLocale::Language language = QLocale(name).language();
        if (language == QLocale::Japanese)
            return UiLanguage::Japanese;
        if (language == QLocale::English)
            return UiLanguage::English;
    }
    return uiLanguages.isEmpty() ? UiLanguage::Japanese : UiLanguage::English;
}

UiLanguage systemUiLanguage()
{
    return uiLanguageFor(QLocale::system().uiLanguages());
}

bool installTranslations(UiLanguage language)
{
    Installed& now = installed();
    if (now.language == language)
        return now.translator != nullptr;
    if (now.translator)
        QCoreApplication::removeTranslator(now.translator.get());
    now.translator.reset();
    now.language = language;
    auto translator = std::make_unique<QTranslator>();
    const bool found = language == UiLanguage::Japanese
        ? translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        : translator->load(QStringLiteral(":/translations/dorvelix_en.qm"));
    if (!found)
        return false;
    QCoreApplication::installTranslator(translator.get());
    now.translator = std::move(translator);
    return true;
}

}  // namespace dorvelix
