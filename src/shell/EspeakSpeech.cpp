#include "shell/EspeakSpeech.h"

#include "io/Wav.h"

#include <QFile>

#include <algorithm>

#include <espeak-ng/speak_lib.h>

namespace tolvaro {
namespace {

// Gathers the samples into the buffer the synthesis was given.
int Collect(short* samples, int count, espeak_EVENT* events) {
    if (samples && count > 0 && events && events->user_data) {
        static_cast<QByteArray*>(events->user_data)
            ->append(reinterpret_cast<const char*>(samples),
                     static_cast<qsizetype>(count) * static_cast<qsizetype>(sizeof(short)));
    }
    return 0; // go on
}

// The text as spoken: no more than the longest text, control characters as spaces.
QString Spoken(const QString& text) {
    QString said = text.left(ISpeech::kMaxSpokenChars);
    for (QChar& c : said) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            c = u' ';
    }
    return said.trimmed();
}

// The library keeps one state for the whole process, and ending it hangs when it is started
// again: it is started once, on first use, and ends with the process.
int StartLibrary() {
    static const int rate = [] {
        // Without its data the library would end the whole program.
        const int r =
            espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
        if (r > 0)
            espeak_SetSynthCallback(&Collect);
        return r;
    }();
    return rate;
}

} // namespace

EspeakSpeech::EspeakSpeech() : m_sampleRate(std::max(0, StartLibrary())) {}

// The voice of the language ("en-US" as espeak-ng writes it, "en-us"); of English for a
// language it does not know.
void EspeakSpeech::ChooseVoice(const QString& language) {
    const QString wanted = language.isEmpty() ? QStringLiteral("en") : language.toLower();
    if (wanted == m_language)
        return;
    const QByteArray name = wanted.toUtf8();
    espeak_VOICE voice{};
    voice.languages = name.constData();
    if (espeak_SetVoiceByProperties(&voice) != EE_OK)
        espeak_SetVoiceByName("en");
    m_language = wanted;
}

std::optional<double> EspeakSpeech::Render(const QString& text, const QString& language,
                                           const QString& path) {
    QFile::remove(path);
    const QByteArray said = Spoken(text).toUtf8();
    if (m_sampleRate <= 0 || said.isEmpty())
        return std::nullopt;
    ChooseVoice(language);
    QByteArray samples;
    espeak_Synth(said.constData(), static_cast<std::size_t>(said.size()) + 1, 0, POS_CHARACTER, 0,
                 espeakCHARS_UTF8 | espeakENDPAUSE, nullptr, &samples);
    espeak_Synchronize();
    const QByteArray wav = MakeWav(samples, m_sampleRate);
    QFile file(path);
    if (samples.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(wav) != wav.size()) {
        file.remove();
        return std::nullopt;
    }
    return static_cast<double>(samples.size()) / 2.0 / m_sampleRate;
}

} // namespace tolvaro
