#pragma once

#include "platform/IPlayer.h"

#include <QElapsedTimer>
#include <QString>

typedef struct _GstElement GstElement;
typedef struct _GstBus GstBus;
typedef struct _GstMessage GstMessage;

namespace tolvaro {

// The player on GStreamer: a playbin with scaletempo, so speed changes keep the pitch. Audio goes
// to autoaudiosink, or to the pipeline TOLVARO_AUDIO_SINK describes ("fakesink sync=true" for
// tests and machines without sound). A file is loaded paused; the open state turns to MediaOpen
// once it is ready. Errors are cleared silently; a file that cannot be played never opens.
// Messages from the pipeline arrive through the GLib main loop that Qt's event loop runs.
class GstPlayer : public IPlayer {
public:
    GstPlayer();
    ~GstPlayer() override;
    GstPlayer(const GstPlayer&) = delete;
    GstPlayer& operator=(const GstPlayer&) = delete;

    // False when GStreamer or one of its elements could not be set up; the player is then mute.
    bool IsWorking() const { return m_playbin != nullptr; }

    void SetUrl(const QString& path) override;
    Open OpenState() const override { return m_open ? Open::MediaOpen : Open::NoMedia; }
    // Media ended turns to stopped 50 ms after the end, as the poll expects of a player.
    State PlayState() const override;
    void Play() override;
    void Pause() override;
    void Stop() override;
    double Position() const override;
    void SetPosition(double seconds) override;
    double Rate() const override { return m_rate; }
    void SetRate(double rate) override;
    int Volume() const override { return m_volume; }
    void SetVolume(int volume) override;
    double Duration() const override;
    bool Failed() const override { return m_failed; }

private:
    double DurationFromBitrate() const;
    static int OnBusMessage(GstBus* bus, GstMessage* message, void* self);
    void Seek(double seconds);
    bool HasMedia() const;

    GstElement* m_playbin = nullptr;
    unsigned m_watch = 0;
    bool m_open = false;
    bool m_failed = false; // the file given last reported an error before it opened
    State m_state = State::Stopped;
    double m_rate = 1.0;
    int m_volume = 50;
    double m_pendingSeek = -1.0; // a position asked for before the file was ready
    QElapsedTimer m_sinceEnd;
};

} // namespace tolvaro
