#pragma once

#include <QString>

class QLabel;
class QStatusBar;

namespace tolvaro {

// A line in the window's status bar that a screen reader speaks as soon as it changes. The line
// presents itself as a notification inside a status bar, which a screen reader reads out when
// it is shown, by its text alone; each new text is shown to it afresh.
class Announcer {
public:
    explicit Announcer(QStatusBar& bar);
    void Say(const QString& text);

private:
    QLabel* m_line;
};

} // namespace tolvaro
