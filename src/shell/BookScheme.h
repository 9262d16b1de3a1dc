#pragma once

#include <QByteArray>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

namespace tolvaro {

// A book's XML documents (DTBook text, the NCX of a book without text) reach the text view
// through a scheme of the program's own: served as they are on disk, except that a document
// with no style sheet of its own gets a plain built-in one. Without any, the web engine shows
// an XML document as its source tree, which no reader wants read to them.
inline constexpr char kBookScheme[] = "tolvaro-book";

// XML documents are shown through the scheme (IsXmlDocument), under one host, so that moving
// between a book's documents stays within one origin.
// Makes the scheme known to the web engine: before the application object is made.
void RegisterBookScheme();
QUrl BookSchemeUrl(const QString& path);
// The document with the built-in style sheet, unless it names one itself (or is no XML).
QByteArray WithPlainStyle(const QByteArray& xml);

// Serves files of the scheme from disk; a file that cannot be read is not found.
class BookSchemeHandler : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob* job) override;
};

} // namespace tolvaro
