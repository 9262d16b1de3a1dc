#include "shell/UiLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>

#include <cstring>

namespace tolvaro {

UiLanguage::UiLanguage() {
    // Without Debian's Qt translations the dialogs stay English; nothing else changes.
    (void)m_qt.load(QStringLiteral("qtbase_de"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

UiLanguage::~UiLanguage() {
    Apply(false);
}

void UiLanguage::Apply(bool german) {
    if (german == m_german)
        return;
    m_german = german;
    if (german) {
        QCoreApplication::installTranslator(&m_qt);
        QCoreApplication::installTranslator(&m_keys); // asked first
    } else {
        QCoreApplication::removeTranslator(&m_keys);
        QCoreApplication::removeTranslator(&m_qt);
    }
}

QString UiLanguage::KeyNames::translate(const char* context, const char* source, const char*,
                                        int) const {
    if (std::strcmp(context, "QShortcut") != 0)
        return {};
    const struct {
        const char* key;
        const char* german;
    } names[] = {{"Ctrl", "Strg"}, {"Shift", "Umsch"}, {"Space", "Leer"}};
    for (const auto& name : names) {
        if (std::strcmp(source, name.key) == 0)
            return QString::fromLatin1(name.german);
    }
    return {};
}

} // namespace tolvaro
