#include "shell/AboutDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace tolvaro {

QIcon ProgramIcon() {
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x20, 0x30, 0x60), 3));
    painter.setBrush(QColor(0xf4, 0xc4, 0x30));
    painter.drawRoundedRect(QRectF(8, 10, 48, 44), 6, 6); // the book
    painter.drawLine(QPointF(32, 12), QPointF(32, 52));
    painter.setBrush(QColor(0x20, 0x30, 0x60));
    painter.drawEllipse(QPointF(46, 46), 9, 9); // the sound
    return QIcon(pixmap);
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Info Tolvaro 2.1.1"));
    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(32, 32));
    icon->setAccessibleName(QStringLiteral("Tolvaro"));
    auto* name = new QLabel(QStringLiteral("Tolvaro 2.1.1.1"), this);
    auto* copyright = new QLabel(QStringLiteral("Copyright © 2024-2026 Ostrila"), this);
    auto* web = new QLabel(QStringLiteral("https://www.ostrila.example/tolvaro"), this);
    web->setAlignment(Qt::AlignCenter);
    web->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(name, 0, 1);
    grid->addWidget(copyright, 1, 1);
    grid->addWidget(buttons, 0, 2, 2, 1, Qt::AlignTop);
    grid->addWidget(web, 2, 0, 1, 3);
}

} // namespace tolvaro
