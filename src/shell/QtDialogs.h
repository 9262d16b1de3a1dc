#pragma once

#include "platform/IDialogs.h"

class QWidget;

namespace tolvaro {

// Message boxes and dialogs as Qt Widgets windows, owned by the main window.
class QtDialogs : public IDialogs {
public:
    explicit QtDialogs(QWidget& owner) : m_owner(owner) {}

    Result MessageBox(const QString& text, const QString& caption, Icon icon,
                      Buttons buttons) override;
    void ShowAbout() override;

private:
    QWidget& m_owner;
};

} // namespace tolvaro
