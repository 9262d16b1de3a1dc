#pragma once

#include <QProxyStyle>

namespace tolvaro {

// The desktop's style, with one change: pressing and releasing Alt moves the focus to the menu
// bar, so that every command can be found with the keyboard alone.
class AppStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace tolvaro
