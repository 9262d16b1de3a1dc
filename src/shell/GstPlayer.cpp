#include "shell/GstPlayer.h"

#include <QFileInfo>
#include <QUrl>

#include <gst/gst.h>

#include <algorithm>
#include <cmath>

namespace tolvaro {
namespace {

GstElement* MakeSink() {
    const QByteArray description = qgetenv("TOLVARO_AUDIO_SINK");
    if (!description.isEmpty()) {
        GError* error = nullptr;
        GstElement* bin = gst_parse_bin_from_description(description.constData(), TRUE, &error);
        if (error)
            g_error_free(error);
        if (bin)
            return bin;
    }
    return gst_element_factory_make("autoaudiosink", nullptr);
}

} // namespace

GstPlayer::GstPlayer() {
    if (!gst_is_initialized() && !gst_init_check(nullptr, nullptr, nullptr))
        return;
    m_playbin = gst_element_factory_make("playbin", nullptr);
    if (!m_playbin)
        return;
    // Audio only, no video or subtitle decoding for the book's sound files; and the volume
    // applied to the samples themselves, since a sink like alsasink has no volume of its own.
    g_object_set(m_playbin, "flags", 0x2 /* audio */ | 0x10 /* soft-volume */, nullptr);
    if (GstElement* tempo = gst_element_factory_make("scaletempo", nullptr))
        g_object_set(m_playbin, "audio-filter", tempo, nullptr);
    if (GstElement* sink = MakeSink())
        g_object_set(m_playbin, "audio-sink", sink, nullptr);
    GstBus* bus = gst_element_get_bus(m_playbin);
    m_watch = gst_bus_add_watch(bus, reinterpret_cast<GstBusFunc>(&GstPlayer::OnBusMessage), this);
    gst_object_unref(bus);
    SetVolume(m_volume);
}

GstPlayer::~GstPlayer() {
    if (!m_playbin)
        return;
    if (m_watch)
        g_source_remove(m_watch);
    gst_element_set_state(m_playbin, GST_STATE_NULL);
    gst_object_unref(m_playbin);
}

int GstPlayer::OnBusMessage(GstBus*, GstMessage* message, void* data) {
    auto* self = static_cast<GstPlayer*>(data);
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ASYNC_DONE:
        if (!self->m_open) {
            self->m_open = true;
            if (self->m_pendingSeek >= 0.0 || self->m_rate != 1.0)
                self->Seek(std::max(0.0, self->m_pendingSeek));
            self->m_pendingSeek = -1.0;
        }
        break;
    case GST_MESSAGE_EOS:
        self->m_state = State::MediaEnded;
        self->m_sinceEnd.start();
        break;
    case GST_MESSAGE_ERROR:
        // Cleared without a word; the play state stays as it is.
        self->m_failed = !self->m_open;
        break;
    default:
        break;
    }
    return TRUE;
}

void GstPlayer::SetUrl(const QString& path) {
    m_open = false;
    m_state = State::Stopped;
    m_pendingSeek = -1.0;
    // Only a regular file: opening a pipe would block this thread until a writer comes.
    m_failed = !path.isEmpty() && (!m_playbin || !QFileInfo(path).isFile());
    if (m_playbin)
        gst_element_set_state(m_playbin, GST_STATE_NULL);
    if (path.isEmpty() || m_failed)
        return;
    const QByteArray uri = QUrl::fromLocalFile(path).toEncoded();
    g_object_set(m_playbin, "uri", uri.constData(), nullptr);
    gst_element_set_state(m_playbin, GST_STATE_PAUSED);
}

IPlayer::State GstPlayer::PlayState() const {
    if (m_state == State::MediaEnded && m_sinceEnd.elapsed() >= 50)
        return State::Stopped;
    return m_state;
}

bool GstPlayer::HasMedia() const {
    if (!m_playbin)
        return false;
    gchar* uri = nullptr;
    g_object_get(m_playbin, "current-uri", &uri, nullptr);
    const bool has = uri != nullptr;
    g_free(uri);
    return has || m_open;
}

void GstPlayer::Play() {
    if (!HasMedia())
        return;
    if (m_state == State::MediaEnded)
        Seek(0.0); // from the start again, unless a position was put since the end
    gst_element_set_state(m_playbin, GST_STATE_PLAYING);
    m_state = State::Playing;
}

void GstPlayer::Pause() {
    if (!HasMedia() || m_state != State::Playing)
        return;
    gst_element_set_state(m_playbin, GST_STATE_PAUSED);
    m_state = State::Paused;
}

void GstPlayer::Stop() {
    if (!HasMedia())
        return;
    gst_element_set_state(m_playbin, GST_STATE_PAUSED);
    m_state = State::Stopped;
    Seek(0.0);
}

double GstPlayer::Position() const {
    if (!m_open)
        return 0.0;
    if (m_state == State::MediaEnded)
        return Duration();
    gint64 position = 0;
    if (!gst_element_query_position(m_playbin, GST_FORMAT_TIME, &position))
        return 0.0;
    return static_cast<double>(position) / GST_SECOND;
}

void GstPlayer::SetPosition(double seconds) {
    if (!m_open) {
        m_pendingSeek = seconds;
        return;
    }
    if (m_state == State::MediaEnded)
        m_state = State::Stopped;
    Seek(seconds);
}

void GstPlayer::Seek(double seconds) {
    if (!m_playbin)
        return;
    // Bounded before the conversion: a clip time such as "npt=1e308s" must not overflow it.
    constexpr double kLatest = 1e9; // seconds; past the end of any file
    const double bounded = std::isfinite(seconds) ? std::clamp(seconds, 0.0, kLatest) : 0.0;
    const auto position = static_cast<gint64>(bounded * GST_SECOND);
    gst_element_seek(m_playbin, m_rate, GST_FORMAT_TIME,
                     static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                     GST_SEEK_TYPE_SET, position, GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE);
}

void GstPlayer::SetRate(double rate) {
    if (!(rate > 0.0))
        return;
    m_rate = rate;
    if (m_open)
        Seek(Position()); // a seek carries the new rate; scaletempo keeps the pitch
}

void GstPlayer::SetVolume(int volume) {
    m_volume = std::clamp(volume, 0, 100);
    if (m_playbin)
        g_object_set(m_playbin, "volume", m_volume / 50.0, nullptr); // 50 is unity gain
}

double GstPlayer::Duration() const {
    gint64 duration = 0;
    if (!m_open)
        return 0.0;
    if (gst_element_query_duration(m_playbin, GST_FORMAT_TIME, &duration))
        return static_cast<double>(duration) / GST_SECOND;
    return DurationFromBitrate();
}

// An MP3 file without a header that states its length has no duration until it has played to
// its end; the file's size and its bit rate tell it before (exactly for a constant bit rate).
double GstPlayer::DurationFromBitrate() const {
    gint64 bytes = 0;
    if (!gst_element_query_duration(m_playbin, GST_FORMAT_BYTES, &bytes) || bytes <= 0)
        return 0.0;
    GstTagList* tags = nullptr;
    g_signal_emit_by_name(m_playbin, "get-audio-tags", 0, &tags);
    if (!tags)
        return 0.0;
    guint bitrate = 0;
    if (!gst_tag_list_get_uint(tags, GST_TAG_NOMINAL_BITRATE, &bitrate) || bitrate == 0)
        gst_tag_list_get_uint(tags, GST_TAG_BITRATE, &bitrate);
    gst_tag_list_unref(tags);
    return bitrate == 0 ? 0.0 : static_cast<double>(bytes) * 8.0 / bitrate;
}

} // namespace tolvaro
