#include "shell/QtDialogs.h"

#include "shell/AboutDlg.h"

#include <QMessageBox>

namespace tolvaro {
namespace {

QMessageBox::Icon ToQt(IDialogs::Icon icon) {
    switch (icon) {
    case IDialogs::Icon::Information:
        return QMessageBox::Information;
    case IDialogs::Icon::Warning:
        return QMessageBox::Warning;
    case IDialogs::Icon::Error:
        return QMessageBox::Critical;
    case IDialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

IDialogs::Result QtDialogs::MessageBox(const QString& text, const QString& caption, Icon icon,
                                       Buttons buttons) {
    QMessageBox box(ToQt(icon), caption, text, QMessageBox::NoButton, &m_owner);
    if (buttons == Buttons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return Result::Ok;
    }
    box.setStandardButtons(QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);
    box.setEscapeButton(QMessageBox::Abort);
    switch (box.exec()) {
    case QMessageBox::Retry:
        return Result::Retry;
    case QMessageBox::Ignore:
        return Result::Ignore;
    default:
        return Result::Abort;
    }
}

void QtDialogs::ShowAbout() {
    CAboutDlg about(&m_owner);
    about.exec();
}

} // namespace tolvaro
