#pragma once

#include <QTranslator>

namespace tolvaro {

// The toolkit's own texts in the program's language: the buttons of message boxes, the file
// and colour dialogs, and the key names the menus show beside their items.
class UiLanguage {
public:
    UiLanguage();
    ~UiLanguage();
    UiLanguage(const UiLanguage&) = delete;
    UiLanguage& operator=(const UiLanguage&) = delete;

    void Apply(bool german);

private:
    // The key names as the German menus write them ("Umsch+P", "Leer"), before Qt's own.
    class KeyNames : public QTranslator {
    public:
        QString translate(const char* context, const char* source, const char* disambiguation,
                          int n) const override;
        bool isEmpty() const override { return false; }
    };

    QTranslator m_qt;
    KeyNames m_keys;
    bool m_german = false;
};

} // namespace tolvaro
