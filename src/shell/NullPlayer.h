#pragma once

#include "platform/IPlayer.h"

#include <algorithm>

namespace tolvaro {

// A player without sound: it keeps the values it is given and never opens media.
class NullPlayer : public IPlayer {
public:
    void SetUrl(const QString& path) override {
        m_url = path;
        m_state = kStopped;
    }
    int OpenState() const override { return 0; }
    int PlayState() const override { return m_state; }
    void Play() override {}
    void Pause() override {}
    void Stop() override { m_state = kStopped; }
    double Position() const override { return 0.0; }
    void SetPosition(double) override {}
    double Rate() const override { return m_rate; }
    void SetRate(double rate) override { m_rate = rate; }
    int Volume() const override { return m_volume; }
    void SetVolume(int volume) override { m_volume = std::clamp(volume, 0, 100); }
    double Duration() const override { return 0.0; }

private:
    QString m_url;
    int m_state = kStopped;
    double m_rate = 1.0;
    int m_volume = 50;
};

} // namespace tolvaro
