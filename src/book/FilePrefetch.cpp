#include "book/FilePrefetch.h"

#include <algorithm>
#include <string_view>

namespace tolvaro {

FilePrefetch::FilePrefetch(BookFileReader read, std::vector<QString> expected)
    : m_read(std::move(read)), m_paths(std::move(expected)), m_data(m_paths.size()),
      m_worker(&FilePrefetch::Work, this) {}

FilePrefetch::~FilePrefetch() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_worker.join();
}

bool FilePrefetch::MayReadAhead(std::size_t index) const {
    if (index <= m_wanted) // the caller is waiting for this one or a later one
        return true;
    return index < m_next + kFilesAhead && m_bytesAhead < kBytesAhead;
}

void FilePrefetch::Work() {
    for (std::size_t i = 0; i < m_paths.size(); ++i) {
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] { return m_stop || MayReadAhead(i); });
            if (m_stop)
                return;
            if (i < m_next) { // passed over while waiting: not worth reading
                m_done = i + 1;
                continue;
            }
        }
        std::optional<QByteArray> data = m_read(m_paths[i]);
        {
            const std::lock_guard lock(m_mutex);
            m_bytesAhead += data ? data->size() : 0;
            m_data[i] = std::move(data);
            m_done = i + 1;
        }
        m_changed.notify_all();
    }
}

std::optional<QByteArray> FilePrefetch::Read(const QString& path) {
    std::size_t index = m_paths.size();
    {
        const std::lock_guard lock(m_mutex);
        const std::size_t end = std::min(m_paths.size(), m_next + kFilesAhead);
        for (std::size_t i = m_next; i < end && index == m_paths.size(); ++i) {
            if (m_paths[i] == path)
                index = i;
        }
    }
    if (index == m_paths.size())
        return m_read(path);
    std::optional<QByteArray> data;
    {
        std::unique_lock lock(m_mutex);
        m_wanted = index;
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_done > index; });
        for (std::size_t i = m_next; i <= index; ++i) {
            m_bytesAhead -= m_data[i] ? m_data[i]->size() : 0;
            if (i == index)
                data = std::move(m_data[i]);
            m_data[i].reset();
        }
        m_next = m_wanted = index + 1;
    }
    m_changed.notify_all();
    return data;
}

std::vector<QString> LinkedSmilFiles(QByteArrayView ncc, const QString& folder) {
    const std::string_view text(ncc.data(), static_cast<std::size_t>(ncc.size()));
    constexpr std::string_view opening = "<a href=\"";
    std::vector<QString> paths;
    std::string_view last;
    for (std::size_t at = text.find(opening); at != std::string_view::npos;
         at = text.find(opening, at + 1)) {
        const std::size_t start = at + opening.size();
        const std::size_t end = text.find_first_of("\"\n", start);
        const std::string_view value =
            text.substr(start, end == std::string_view::npos ? 0 : end - start);
        const std::size_t smil = value.find(".smil");
        if (smil == std::string_view::npos)
            continue;
        const std::string_view name = value.substr(0, smil + 5);
        if (name == last)
            continue;
        last = name;
        paths.push_back(folder +
                        QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
    return paths;
}

} // namespace tolvaro
