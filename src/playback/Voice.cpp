#include "playback/Voice.h"

#include "book/BookModel.h"
#include "platform/ISpeech.h"
#include "search/TextSearch.h"

#include <QTemporaryDir>

namespace tolvaro {

Voice::Voice(ISpeech& speech, const BookTable& phrases, const bool& wanted, BookFileReader read)
    : m_speech(speech), m_phrases(phrases), m_read(std::move(read)), m_wanted(wanted) {}

Voice::~Voice() = default;

void Voice::Open(const QString& language, unsigned codePage) {
    m_language = language;
    m_codePage = codePage;
    m_clips.clear();
    m_document.clear();
    m_texts.clear();
    m_folder.reset();
}

bool Voice::Speaks() const {
    return m_wanted && m_speech.Available();
}

std::optional<Voice::Clip> Voice::ClipFor(int row) {
    if (!Speaks() || row < 0 || row >= m_phrases.RowCount())
        return std::nullopt;
    if (const auto known = m_clips.find(row); known != m_clips.end())
        return known->second;
    // Only the phrase before (which may still sound) is kept beside this one and the next.
    for (auto it = m_clips.begin(); it != m_clips.end();) {
        if (it->first < row - 1 || it->first > row + 1) {
            if (it->second)
                QFile::remove(it->second->path);
            it = m_clips.erase(it);
        } else {
            ++it;
        }
    }
    if (!m_folder)
        m_folder = std::make_unique<QTemporaryDir>();
    const QString text = TextOf(row);
    std::optional<Clip> clip;
    const QString path = m_folder->filePath(QString::number(row) + QStringLiteral(".wav"));
    if (!text.isEmpty() && m_folder->isValid()) {
        if (const std::optional<double> seconds = m_speech.Render(text, m_language, path))
            clip = Clip{path, *seconds};
    }
    m_clips[row] = clip;
    return clip;
}

// The texts of a document are read once, when its first phrase is spoken.
QString Voice::TextOf(int row) {
    const QString document = m_phrases.Text(row, col::kDocument);
    if (document.isEmpty())
        return {};
    if (document != m_document) {
        m_document = document;
        m_texts.clear();
        for (auto& [r, text] : TextSearch(m_phrases, m_codePage, m_read).PhraseTexts(document))
            m_texts[r] = std::move(text);
    }
    const auto found = m_texts.find(row);
    return found == m_texts.end() ? QString() : found->second;
}

} // namespace tolvaro
