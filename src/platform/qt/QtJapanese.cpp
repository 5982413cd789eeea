#include "platform/qt/QtJapanese.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

QtJapanese::QtJapanese() {
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    installed_ = translator_.load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"),
                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                 QCoreApplication::installTranslator(&translator_);
}

QtJapanese::~QtJapanese() {
    if (installed_)
        QCoreApplication::removeTranslator(&translator_);
    QLocale::setDefault(previousLocale_);
}
