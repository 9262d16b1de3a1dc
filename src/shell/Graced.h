#pragma once

#include <QTimer>

#include <utility>

namespace tolvaro {

// A dialog made for one question that outlives it by a moment: a screen reader still asks after
// a closed window and its parts while it reads out the close, and an object gone by then is an
// error in its log and a word it cannot say. Used like the dialog itself (`->`, `*`); when the
// holder goes, the dialog hides and is deleted two seconds later (or with its parent).
template <class Dialog> class Graced {
public:
    template <class... Args>
    explicit Graced(Args&&... args) : m_dialog(new Dialog(std::forward<Args>(args)...)) {}
    ~Graced() {
        m_dialog->hide();
        QTimer::singleShot(2000, m_dialog, [dialog = m_dialog] { delete dialog; });
    }
    Graced(const Graced&) = delete;
    Graced& operator=(const Graced&) = delete;

    Dialog* operator->() const { return m_dialog; }
    Dialog& operator*() const { return *m_dialog; }

private:
    Dialog* m_dialog;
};

} // namespace tolvaro
