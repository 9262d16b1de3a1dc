#pragma once

#include "platform/ISpeech.h"

namespace tolvaro {

// Speech by the espeak-ng library, rendered into memory and written as a WAV file. The library
// has one state for the whole process, started by the first object and never ended; objects
// are used from the main thread alone.
class EspeakSpeech : public ISpeech {
public:
    EspeakSpeech();

    bool Available() const override { return m_sampleRate > 0; }
    std::optional<double> Render(const QString& text, const QString& language,
                                 const QString& path) override;

private:
    void ChooseVoice(const QString& language);

    int m_sampleRate = 0; // 0: the library could not start
    QString m_language;   // of the voice chosen last
};

} // namespace tolvaro
