#pragma once

#include "platform/ITextView.h"

#include <QObject>
#include <QPointer>
#include <QWebEngineView>

#include <memory>

class QWebEngineProfile;

namespace tolvaro {

class BookPage;

// The text view on Qt WebEngine. Pages run in a profile of their own that lets no request leave
// the machine and keeps nothing on disk; the book's own scripts are off, while the marking script
// runs in a world of its own.
class WebTextView : public QObject, public ITextView {
public:
    explicit WebTextView(QWebEngineView& view);
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

    QPointer<QWebEngineView> m_view; // the window may destroy it first
    std::unique_ptr<QWebEngineProfile> m_profile;
    BookPage* m_page = nullptr;
    bool m_loading = false;
    QString m_markId, m_markStyle; // the mark to place, also once a loading document is ready
    QString m_termPending, m_termStyle; // term marks to place once the document is ready (null: none)
    std::function<void(const QString&)> m_loaded;
};

} // namespace tolvaro
