#include "shell/WebTextView.h"

#include <QUrl>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace tolvaro {

WebTextView::WebTextView(QWebEngineView& view) : m_view(view) {
    QWebEngineSettings* settings = m_view.settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
}

void WebTextView::Navigate(const QString& path) {
    m_view.setUrl(QUrl::fromLocalFile(path));
}

void WebTextView::Focus() {
    m_view.setFocus(Qt::OtherFocusReason);
}

} // namespace tolvaro
