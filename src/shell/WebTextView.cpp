#include "shell/WebTextView.h"

#include "book/BookFiles.h"
#include "shell/BookScheme.h"

#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

#include <utility>

namespace tolvaro {
namespace {

// Only local files may load: a book page never reaches the network.
class LocalOnly : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        const QString scheme = info.requestUrl().scheme();
        if (scheme != u"file" && scheme != u"data" && scheme != u"qrc" &&
            scheme != QLatin1String(kBookScheme))
            info.block(true);
    }
};

// Takes the old mark away (the span it inserted, by its attribute), wraps the element's content
// in a new one and scrolls its lower edge to the middle of the view. Answers where the element's
// text begins in the reading text (-1: nowhere).
const char* const kMarkScript = R"JS(
(function (id, style) {
  var old = document.querySelectorAll('span[data-tolvaro-mark]');
  for (var i = 0; i < old.length; ++i) {
    var span = old[i], parent = span.parentNode;
    while (span.firstChild) parent.insertBefore(span.firstChild, span);
    parent.removeChild(span);
  }
  var element = document.getElementById(id);
  if (!element) return -1;
  var mark = document.createElementNS('http://www.w3.org/1999/xhtml', 'span');
  mark.setAttribute('data-tolvaro-mark', '1');
  mark.setAttribute('style', style);
  while (element.firstChild) mark.appendChild(element.firstChild);
  element.appendChild(mark);
  var box = element.getBoundingClientRect();
  var top = box.top + window.scrollY, height = box.height;
  var half = Math.floor(window.innerHeight / 2);
  if (top + 2 * height >= half) window.scrollTo(0, top + height - half);
  var starts = window.tolvaroStarts || {};
  return id in starts ? starts[id] : -1;
})(%1, %2);
)JS";

// Takes the old term marks away (merging the text they split), then wraps every occurrence of the
// term in the document's text nodes in a span. Case is ignored unit by unit, so that offsets in
// the lowered text are offsets in the text.
const char* const kTermScript = R"JS(
(function (term, style) {
  var old = document.querySelectorAll('span[data-tolvaro-term]');
  for (var i = 0; i < old.length; ++i) {
    var span = old[i], parent = span.parentNode;
    while (span.firstChild) parent.insertBefore(span.firstChild, span);
    parent.removeChild(span);
    parent.normalize();
  }
  var root = document.body || document.documentElement;
  if (!term || !root) return 0;
  var fold = function (s) {
    var out = '';
    for (var i = 0; i < s.length; ++i) {
      var low = s[i].toLowerCase();
      out += low.length === 1 ? low : s[i];
    }
    return out;
  };
  var wanted = fold(term);
  var hidden = {SCRIPT: 1, STYLE: 1, TITLE: 1, HEAD: 1};
  var walker = document.createTreeWalker(root, NodeFilter.SHOW_TEXT, {
    acceptNode: function (node) {
      for (var p = node.parentNode; p; p = p.parentNode)
        if (hidden[p.nodeName.toUpperCase()]) return NodeFilter.FILTER_REJECT;
      return NodeFilter.FILTER_ACCEPT;
    }
  });
  var nodes = [];
  while (walker.nextNode()) nodes.push(walker.currentNode);
  var count = 0;
  nodes.forEach(function (node) {
    var at = fold(node.data).indexOf(wanted);
    while (at >= 0) {
      var match = node.splitText(at);
      node = match.splitText(wanted.length);
      var span = document.createElementNS('http://www.w3.org/1999/xhtml', 'span');
      span.setAttribute('data-tolvaro-term', '1');
      span.setAttribute('style', style);
      match.parentNode.replaceChild(span, match);
      span.appendChild(match);
      ++count;
      at = fold(node.data).indexOf(wanted);
    }
  });
  return count;
})(%1, %2);
)JS";

// The document's text as a screen reader reads it best, one line per block; white space runs
// become one space. Where each element with an id begins in it is kept for the marking script.
const char* const kReadScript = R"JS(
(function () {
  var parts = [], length = 0, last = '\n', starts = {};
  var add = function (s) {
    if (!s || (s === ' ' && (last === ' ' || last === '\n'))) return;
    if (s[0] === ' ' && (last === ' ' || last === '\n')) s = s.slice(1);
    parts.push(s); length += s.length; last = s[s.length - 1];
  };
  var hidden = {SCRIPT: 1, STYLE: 1, HEAD: 1, TITLE: 1};
  var walk = function (node) {
    if (node.nodeType === 3) { add(node.data.replace(/\s+/g, ' ')); return; }
    if (node.nodeType !== 1 || hidden[node.nodeName.toUpperCase()]) return;
    var display = window.getComputedStyle(node).display;
    if (display === 'none') return;
    var block = display !== 'inline' || node.nodeName.toUpperCase() === 'BR';
    if (block && last !== '\n') add('\n');
    if (node.id && !(node.id in starts)) starts[node.id] = length;
    for (var child = node.firstChild; child; child = child.nextSibling) walk(child);
    if (block && last !== '\n') add('\n');
  };
  var root = document.body || document.documentElement; // a DTBook is XML, without a body
  if (root) walk(root);
  window.tolvaroStarts = starts;
  return parts.join('');
})();
)JS";

// An XML document's references (DTBook's noteref and annoref, its own a) are no links to the
// web engine: each gets a link of the page's own around its content. One within the document
// gets a query, as the engine moves within a document without asking whether to.
const char* const kLinkScript = R"JS(
(function () {
  var xhtml = 'http://www.w3.org/1999/xhtml';
  var refs = document.querySelectorAll('noteref[idref], annoref[idref], a[href]');
  for (var i = 0; i < refs.length; ++i) {
    var ref = refs[i];
    if (ref.namespaceURI === xhtml) continue;
    var target = ref.getAttribute('idref') || ref.getAttribute('href');
    if (ref.hasAttribute('idref') && target.indexOf('#') < 0) target = '#' + target;
    if (target.charAt(0) === '#') target = '?ref' + target;
    var link = document.createElementNS(xhtml, 'a');
    link.setAttribute('href', target);
    while (ref.firstChild) link.appendChild(ref.firstChild);
    ref.appendChild(link);
  }
})();
)JS";

QString JsString(const QString& text) {
    QString quoted = text;
    quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    quoted.replace(u'\n', QStringLiteral("\\n")).replace(u'\r', QStringLiteral("\\r"));
    return u'\'' + quoted + u'\'';
}

} // namespace

// Asks the controller before every navigation, so that links into the book's SMIL files become
// jumps in the book.
class BookPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;
    std::function<bool(const QString&)> navigation;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
        return !(isMainFrame && navigation && navigation(url.toString()));
    }
};

WebTextView::WebTextView(QWebEngineView& view, QPlainTextEdit& reading,
                         std::function<void(const QString&)> say)
    : m_view(&view), m_reading(&reading), m_say(std::move(say)),
      m_profile(std::make_unique<QWebEngineProfile>()) {
    m_reading->setReadOnly(true);
    m_reading->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    m_profile->setUrlRequestInterceptor(new LocalOnly(m_profile.get()));
    m_profile->installUrlSchemeHandler(kBookScheme, new BookSchemeHandler(m_profile.get()));
    m_page = new BookPage(m_profile.get(), nullptr); // ours, not the view's
    QWebEngineSettings* settings = m_page->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    m_view->setPage(m_page);
    connect(m_page, &QWebEnginePage::loadStarted, this, [this] { m_loading = true; });
    connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool) {
        m_loading = false;
        m_page->runJavaScript(QString::fromLatin1(kLinkScript), QWebEngineScript::ApplicationWorld);
        ReadText(); // first: marking asks where its element begins in the text
        if (m_loaded)
            m_loaded(m_page->url().toString());
        if (!m_termPending.isNull())
            RunTermMark();
        if (!m_markId.isEmpty())
            RunMark();
    });
}

WebTextView::~WebTextView() {
    // The page uses the profile: it goes first.
    if (m_view)
        m_view->setPage(nullptr);
    delete m_page;
}

void WebTextView::Navigate(const QString& path) {
    m_focusPending = false;
    m_markId.clear();
    m_termPending = QString();
    m_loading = true;
    // A pipe or device in a document's place is not read: its reading might never end.
    const QFileInfo file(path);
    if (file.exists() && !file.isFile())
        m_page->setUrl(QUrl(QStringLiteral("about:blank")));
    else
        m_page->setUrl(IsXmlDocument(path) ? BookSchemeUrl(path) : QUrl::fromLocalFile(path));
}

void WebTextView::Focus() {
    if (!m_reading)
        return;
    m_focusPending = true;
    // While a document loads: once its text is there, so that a screen reader has words to
    // read; at the latest a second later.
    if (m_loading)
        FocusSoon(1000);
    else
        FocusNow();
}

void WebTextView::FocusNow() {
    if (!std::exchange(m_focusPending, false))
        return;
    const bool there = m_reading->hasFocus();
    CaretToPhrase();
    m_reading->setFocus(Qt::OtherFocusReason);
    // Already reading here: no focus event will speak, and a screen reader keeps quiet about a
    // caret moved by a key that is not its own; the phrase's line is said instead.
    if (there && m_say) {
        const QTextCursor caret = m_reading->textCursor();
        m_say(caret.block().text().mid(caret.positionInBlock()));
    }
}

void WebTextView::FocusSoon(int ms) {
    QTimer::singleShot(ms, m_reading, [this] { FocusNow(); });
}

// Fetches the document's text and the mark's place in it for the reading text.
// Fetches the document's text for the reading text, once a document has loaded.
void WebTextView::ReadText() {
    m_page->runJavaScript(QString::fromLatin1(kReadScript), QWebEngineScript::ApplicationWorld,
                          [reading = m_reading, this](const QVariant& text) {
                              if (reading)
                                  ShowText(text.toString());
                          });
}

void WebTextView::ShowText(const QString& text) {
    m_newText = text != m_reading->toPlainText();
    if (m_newText)
        m_reading->setPlainText(text);
    m_phrase = -1;
    // A moment later: a screen reader passes over a focus that moves while the window is still
    // being announced.
    if (m_focusPending)
        FocusSoon(300);
}

// Where the reader reads on by themselves the caret stays, unless the document changed.
void WebTextView::ShowPhrase(int start) {
    m_phrase = start;
    if (std::exchange(m_newText, false) || !m_reading->hasFocus())
        CaretToPhrase();
}

// The caret alone, no selection: a screen reader speaks every change of a selection, also in a
// control that has no focus, and moves of the caret only where the focus is.
void WebTextView::CaretToPhrase() {
    QTextCursor cursor(m_reading->document());
    if (m_phrase >= 0 && m_phrase < m_reading->document()->characterCount())
        cursor.setPosition(m_phrase);
    m_reading->setTextCursor(cursor);
    m_reading->ensureCursorVisible();
}

QString WebTextView::LocationName() const {
    return QFileInfo(m_page->url().path()).fileName();
}

void WebTextView::MarkElement(const QString& id, const QString& style) {
    m_markId = id;
    m_markStyle = style;
    if (!m_loading)
        RunMark();
}

void WebTextView::RunMark() {
    m_page->runJavaScript(
        QString::fromLatin1(kMarkScript).arg(JsString(m_markId), JsString(m_markStyle)),
        QWebEngineScript::ApplicationWorld, [reading = m_reading, this](const QVariant& start) {
            if (reading)
                ShowPhrase(start.isValid() ? start.toInt() : -1);
        });
}

void WebTextView::MarkTerm(const QString& term, const QString& style) {
    m_termPending = term.isNull() ? QStringLiteral("") : term;
    m_termStyle = style;
    if (!m_loading)
        RunTermMark();
}

void WebTextView::RunTermMark() {
    m_page->runJavaScript(
        QString::fromLatin1(kTermScript).arg(JsString(m_termPending), JsString(m_termStyle)),
        QWebEngineScript::ApplicationWorld);
    m_termPending = QString();
}

void WebTextView::SetHandlers(std::function<bool(const QString& url)> navigation,
                              std::function<void(const QString& url)> loaded) {
    m_page->navigation = std::move(navigation);
    m_loaded = std::move(loaded);
}

} // namespace tolvaro
