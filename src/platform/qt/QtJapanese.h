#pragma once

#include <QLocale>
#include <QTranslator>

// Qt's own texts in Japanese, as the rest of the interface: the standard buttons of
// message boxes (はい, いいえ, キャンセル), the folder picker, data sizes. Installs Qt's
// Japanese translations (Debian's qt6-translations-l10n) and makes Japanese the default
// locale for as long as it lives; without the translations Qt's texts stay English.
class QtJapanese {
  public:
    QtJapanese();
    ~QtJapanese();
    QtJapanese(const QtJapanese&) = delete;
    QtJapanese& operator=(const QtJapanese&) = delete;

    // Whether Qt's translations were found and installed.
    bool loaded() const { return installed_; }

  private:
    QTranslator translator_;
    QLocale previousLocale_;
    bool installed_ = false;
};
