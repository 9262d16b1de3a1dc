#pragma once

#include <QString>

#include <optional>

namespace tolvaro {

// The speech synthesizer. It renders text into a sound file that the player then plays as it
// plays a recording: speed, loudness, pausing and the sound output are the player's.
//
// Available() tells whether a synthesizer is there at all; without one every Render fails.
// Render(text, language, path) writes `text` spoken at normal speed as a WAV file at `path`,
// replacing what was there, in the voice for `language` (a tag such as "en-US", "de" or "ja";
// an empty or unknown one speaks with the voice of "en"). Text of any length and content is
// taken: markup and control characters are read as text or passed over, and no more than
// kMaxSpokenChars characters are spoken, so that rendering always ends. Answers the seconds of
// speech written, or nothing when nothing could be rendered (no file is left at `path` then).
class ISpeech {
public:
    static constexpr int kMaxSpokenChars = 10000;

    virtual ~ISpeech() = default;
    virtual bool Available() const = 0;
    virtual std::optional<double> Render(const QString& text, const QString& language,
                                         const QString& path) = 0;
};

} // namespace tolvaro
