#pragma once

#include <QProxyStyle>

namespace tolvaro {

// The desktop's style, with two changes: pressing and releasing Alt moves the focus to the menu
// bar, and greyed items can be reached with the arrow keys (announced as unavailable),
// so that every command can be found with the keyboard alone, also before a book is open.
class AppStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override {
        if (hint == SH_MenuBar_AltKeyNavigation || hint == SH_Menu_AllowActiveAndDisabled)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace tolvaro
