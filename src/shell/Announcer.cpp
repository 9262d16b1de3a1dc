#include "shell/Announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QStatusBar>

namespace tolvaro {
namespace {

const char* const kLineName = "announcement";

class NotificationLine : public QAccessibleWidget {
public:
    explicit NotificationLine(QLabel* line) : QAccessibleWidget(line, QAccessible::Notification) {}
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? static_cast<QLabel*>(widget())->text() : QString();
    }
};

QAccessibleInterface* NotificationFactory(const QString&, QObject* object) {
    auto* line = qobject_cast<QLabel*>(object);
    return line && line->objectName() == QLatin1String(kLineName) ? new NotificationLine(line)
                                                                  : nullptr;
}

} // namespace

Announcer::Announcer(QStatusBar& bar) : m_line(new QLabel(&bar)) {
    QAccessible::installFactory(&NotificationFactory);
    m_line->setObjectName(QLatin1String(kLineName));
    bar.addWidget(m_line, 1);
}

void Announcer::Say(const QString& text) {
    m_line->setText(text);
    if (QAccessible::isActive()) {
        QAccessibleEvent shown(m_line, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
    }
}

} // namespace tolvaro
