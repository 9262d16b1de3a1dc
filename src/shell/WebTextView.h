#pragma once

#include "platform/ITextView.h"

class QWebEngineView;

namespace tolvaro {

// The text view on Qt WebEngine. Book pages run none of their own scripts.
class WebTextView : public ITextView {
public:
    explicit WebTextView(QWebEngineView& view);

    void Navigate(const QString& path) override;
    void Focus() override;

private:
    QWebEngineView& m_view;
};

} // namespace tolvaro
