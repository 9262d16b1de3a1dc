#pragma once

#include "platform/ITextView.h"

#include <QObject>
#include <QPointer>
#include <QWebEngineView>

#include <functional>
#include <memory>

class QPlainTextEdit;
class QWebEngineProfile;

namespace tolvaro {

class BookPage;

// The text view on Qt WebEngine. Pages run in a profile of their own that lets no request leave
// the machine and keeps nothing on disk; the book's own scripts are off, while the marking script
// runs in a world of its own.
//
// Beside the page stands the reading text: the document's text, read only, one line per block.
// A screen reader reads it by line and reads on from the caret, which the page itself does not
// offer. The caret follows the mark while the reader reads elsewhere (or the document changes);
// Focus brings it back to the phrase.
class WebTextView : public QObject, public ITextView {
public:
    // `say` has a screen reader speak a text (the phrase's line when Focus finds the focus there).
    WebTextView(QWebEngineView& view, QPlainTextEdit& reading,
                std::function<void(const QString&)> say = {});
    ~WebTextView() override;

    void Navigate(const QString& path) override;
    void Focus() override;
    QString LocationName() const override;
    void MarkElement(const QString& id, const QString& style) override;
    void MarkTerm(const QString& term, const QString& style) override;
    void SetHandlers(std::function<bool(const QString& url)> navigation,
                     std::function<void(const QString& url)> loaded) override;

private:
    void RunMark();
    void RunTermMark();
    void ReadText();
    void ShowText(const QString& text);
    void ShowPhrase(int start);
    void CaretToPhrase();
    void FocusNow();
    void FocusSoon(int ms);

    QPointer<QWebEngineView> m_view; // the window may destroy it first
    QPointer<QPlainTextEdit> m_reading;
    std::function<void(const QString&)> m_say;
    int m_phrase = -1;      // where the mark begins in the reading text
    bool m_newText = false; // the reading text changed since the last mark
    std::unique_ptr<QWebEngineProfile> m_profile;
    BookPage* m_page = nullptr;
    bool m_loading = false;
    bool m_focusPending = false;   // Focus asked while the document loads
    QString m_markId, m_markStyle; // the mark to place, also once a loading document is ready
    QString m_termPending,
        m_termStyle; // term marks to place once the document is ready (null: none)
    std::function<void(const QString&)> m_loaded;
};

} // namespace tolvaro
