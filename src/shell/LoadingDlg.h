#pragma once

#include "platform/IProgress.h"

#include <QDialog>
#include <QElapsedTimer>

#include <functional>

class QGroupBox;
class QLabel;
class QProgressBar;

namespace tolvaro {

// The window a book loads in. Loading starts right after its first paint; until then Escape
// closes it without loading. While loading runs, the bar and the line are repainted at most
// every 50 ms, so that painting does not slow the loading down; the window's input is taken then
// too, so that Escape stops a load that takes long (StopRequested) and closing the window asks
// the program to end. Timers and sockets wait until loading is done: nothing else runs in
// between.
class LoadingDlg : public QDialog, public IProgress {
public:
    LoadingDlg(const QString& caption, const QString& frameText,
               std::function<bool(IProgress&)> work, QWidget* parent);

    // Shows the window modally; the work's result, or false when it never started.
    bool Run();
    bool WorkRan() const { return m_workRan; }
    // The wait window's form: `text` as its caption and its line, no frame title.
    void ShowAsWaitWindow(const QString& text);

    void SetRange(int maximum) override;
    void SetPosition(int position) override;
    void SetText(const QString& text) override;
    Stop StopRequested() const override { return m_stop; }

    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Start();
    void PaintNowAndThen();

    std::function<bool(IProgress&)> m_work;
    QGroupBox* m_frame;
    QProgressBar* m_bar;
    QLabel* m_text;
    bool m_started = false;
    bool m_working = false;
    bool m_workRan = false;
    bool m_result = false;
    Stop m_stop = Stop::None;
    QElapsedTimer m_sincePaint;
    int m_position = 0; // shown at the next paint
};

} // namespace tolvaro
