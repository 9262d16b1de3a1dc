#include "shell/LoadingDlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

namespace tolvaro {

LoadingDlg::LoadingDlg(const QString& caption, const QString& frameText,
                       std::function<bool(IProgress&)> work, QWidget* parent)
    : QDialog(parent), m_work(std::move(work)) {
    setObjectName(QStringLiteral("CA_Daisy"));
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_frame = new QGroupBox(frameText, this);
    m_bar = new QProgressBar(m_frame);
    m_bar->setRange(0, 0);
    m_bar->setAccessibleName(frameText);
    m_text = new QLabel(m_frame);
    m_text->setAlignment(Qt::AlignCenter);
    auto* inner = new QVBoxLayout(m_frame);
    inner->addWidget(m_bar);
    inner->addWidget(m_text);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(m_frame);
    setMinimumWidth(360);
}

void LoadingDlg::ShowAsWaitWindow(const QString& text) {
    setObjectName(QStringLiteral("CA_Mitteilung"));
    setWindowTitle(text);
    m_frame->setTitle(QString());
    m_bar->setAccessibleName(text);
    m_text->setText(text);
}

bool LoadingDlg::Run() {
    exec();
    if (m_stop == Stop::Close && !m_workRan) {
        // Closed before loading began: the work still hears of it (and loads nothing), so that
        // the program ends.
        m_workRan = true;
        m_work(*this);
        return false;
    }
    return m_workRan && m_result;
}

void LoadingDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (!m_started) {
        m_started = true;
        // After this paint has reached the screen, not inside it.
        QTimer::singleShot(0, this, &LoadingDlg::Start);
    }
}

void LoadingDlg::Start() {
    m_sincePaint.start();
    m_working = true;
    m_workRan = true;
    m_result = m_work(*this);
    m_working = false;
    done(m_result ? Accepted : Rejected);
}

// Escape, while loading: stop it; the window closes when the loader has stopped.
void LoadingDlg::reject() {
    if (m_working) {
        if (m_stop == Stop::None)
            m_stop = Stop::Cancel;
        return;
    }
    QDialog::reject();
}

// Closing the window (Alt+F4, the window manager, the session's end) asks the program to end,
// whether loading has begun or not.
void LoadingDlg::closeEvent(QCloseEvent* event) {
    m_stop = Stop::Close;
    if (m_working) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void LoadingDlg::SetRange(int maximum) {
    m_bar->setRange(0, qMax(0, maximum));
    m_bar->setValue(0);
    m_position = 0;
    PaintNowAndThen();
}

// The bar moves when the window is painted: a screen reader is told of every value it takes.
void LoadingDlg::SetPosition(int position) {
    m_position = position;
    PaintNowAndThen();
}

void LoadingDlg::SetText(const QString& text) {
    m_text->setText(text);
    PaintNowAndThen();
}

void LoadingDlg::PaintNowAndThen() {
    if (m_sincePaint.isValid() && m_sincePaint.elapsed() < 50)
        return;
    m_sincePaint.restart();
    m_bar->setValue(qBound(m_bar->minimum(), m_position, m_bar->maximum()));
    repaint();
    if (m_working)
        QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers |
                                        QEventLoop::X11ExcludeTimers);
}

} // namespace tolvaro
