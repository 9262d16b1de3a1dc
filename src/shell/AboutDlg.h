#pragma once

#include <QDialog>

namespace tolvaro {

// The about box: program name and version, copyright, the web address.
class CAboutDlg : public QDialog {
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

// The program's icon, drawn rather than loaded so that it needs no image plug-in.
QIcon ProgramIcon();

} // namespace tolvaro
