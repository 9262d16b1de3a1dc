#include "shell/QtDialogs.h"

#include "shell/AboutDlg.h"
#include "shell/BookListDlg.h"
#include "shell/Graced.h"
#include "shell/LoadingDlg.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "res/StringTable.h"

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

// A window opened while another of ours is up (a message over the book list) belongs to that
// one: it stays in front of it and takes the keys.
QWidget* QtDialogs::Owner() const {
    QWidget* modal = QApplication::activeModalWidget();
    return modal ? modal : &m_owner;
}

IDialogs::Result QtDialogs::MessageBox(const QString& text, const QString& caption, Icon icon,
                                       Buttons buttons) {
    Graced<QMessageBox> held(ToQt(icon), caption, text, QMessageBox::NoButton, Owner());
    QMessageBox& box = *held;
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
    CAboutDlg about(Owner());
    about.exec();
}

bool QtDialogs::RunLoading(const QString& caption, const QString& frameText,
                           const std::function<bool(IProgress&)>& work) {
    Graced<LoadingDlg> dialog(caption, frameText, work, Owner());
    return dialog->Run();
}

std::optional<QString> QtDialogs::GetBookFile(const QString& title, const QString& startFolder) {
    QFileDialog dialog(Owner(), title, startFolder, QStringLiteral("DAISY (ncc.html *.opf)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.selectFile(QStringLiteral("ncc.html"));
    dialog.setDefaultSuffix(QStringLiteral("html"));
    // NCC.HTML too, as books from CDs name it; hidden folders only when the user asks for them.
    dialog.setFilter((dialog.filter() & ~QDir::CaseSensitive & ~QDir::Hidden));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace tolvaro

namespace tolvaro {

// CA_Seitenzahl: a line for the page label; Enter confirms, Escape cancels.
std::optional<QString> QtDialogs::AskPageNumber(int langOffset) {
    Graced<QDialog> held(Owner());
    QDialog& dialog = *held;
    dialog.setObjectName(QStringLiteral("CA_Seitenzahl"));
    dialog.setWindowTitle(LoadString(kStrPageDialogCaption + langOffset));
    auto* prompt = new QLabel(LoadString(kStrPagePrompt + langOffset), &dialog);
    prompt->setWordWrap(true);
    auto* edit = new QLineEdit(&dialog);
    prompt->setBuddy(edit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(prompt);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    edit->setFocus(); // typing goes there, whether or not the window manager activates the window
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return edit->text();
}

} // namespace tolvaro

namespace tolvaro {

// Qt's own colour dialog rather than the desktop's: its fields are reached with Tab and read by a
// screen reader, and it looks the same on every desktop.
std::optional<QString> QtDialogs::AskColor(const QString& initial) {
    QColorDialog dialog(QColor::fromString(initial), Owner());
    dialog.setObjectName(QStringLiteral("ColorDialog"));
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor().name(QColor::HexRgb);
}

} // namespace tolvaro

namespace tolvaro {

bool QtDialogs::RunWaiting(const QString& text, const std::function<void(IProgress&)>& work) {
    Graced<LoadingDlg> held(
        text, QString(),
        [&work](IProgress& progress) {
            if (progress.StopRequested() == IProgress::Stop::None) // closed before it began
                work(progress);
            return true;
        },
        Owner());
    LoadingDlg& dialog = *held;
    dialog.ShowAsWaitWindow(text);
    dialog.Run();
    return dialog.WorkRan() && dialog.StopRequested() == IProgress::Stop::None;
}

// CA_Suche: the term in a line inside a frame that asks for it; OK from two characters on, Enter
// confirms, Escape cancels.
std::optional<QString> QtDialogs::AskSearchTerm(int langOffset) {
    Graced<QDialog> held(Owner());
    QDialog& dialog = *held;
    dialog.setObjectName(QStringLiteral("CA_Suche"));
    dialog.setWindowTitle(LoadString(kStrSearchCaption + langOffset));
    const QString prompt = LoadString(kStrSearchPrompt + langOffset);
    auto* frame = new QGroupBox(prompt, &dialog);
    auto* edit = new QLineEdit(frame);
    edit->setAccessibleName(prompt);
    auto* inner = new QVBoxLayout(frame);
    inner->addWidget(edit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setEnabled(false);
    QObject::connect(edit, &QLineEdit::textChanged, ok,
                     [ok](const QString& term) { ok->setEnabled(term.size() >= 2); });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(frame);
    layout->addWidget(buttons);
    dialog.setMinimumWidth(360);
    edit->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return edit->text();
}

} // namespace tolvaro

namespace tolvaro {

std::optional<int> QtDialogs::ChooseDrive(int langOffset,
                                          const std::vector<std::pair<QString, QString>>& rows) {
    return RunDriveSelection(*Owner(), langOffset, rows);
}

std::optional<int> QtDialogs::ChooseBook(int langOffset, const QStringList& lines,
                                         const std::function<QStringList()>& rebuild) {
    return RunBookList(*Owner(), langOffset, lines, rebuild);
}

} // namespace tolvaro
