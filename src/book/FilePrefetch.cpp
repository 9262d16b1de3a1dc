#include "book/FilePrefetch.h"

#include "book/ByteSearch.h"

#include <algorithm>
#include <pthread.h>
#include <string_view>

namespace tolvaro {

FilePrefetch::FilePrefetch(BookFileReader read, std::vector<QString> expected, Prepare prepare,
                           int workers)
    : m_read(std::move(read)), m_paths(std::move(expected)), m_prepare(std::move(prepare)),
      m_data(m_paths.size()), m_ready(m_paths.size(), 0) {
    const auto count = std::min<std::size_t>(static_cast<std::size_t>(std::max(0, workers)),
                                             std::max<std::size_t>(m_paths.size(), 1));
    for (std::size_t i = 0; i < count; ++i)
        m_workers.emplace_back(&FilePrefetch::Work, this);
}

FilePrefetch::~FilePrefetch() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_workCv.notify_all();
    for (std::thread& worker : m_workers)
        worker.join();
}

int FilePrefetch::DefaultWorkers() {
    // The caller does the files no worker has started on: it is one of them.
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 2u, 4u)) - 1;
}

bool FilePrefetch::MayReadAhead(std::size_t index) const {
    if (index <= m_wanted) // the caller is waiting for this one or a later one
        return true;
    return index < m_next + kFilesAhead && m_bytesAhead < kBytesAhead;
}

bool FilePrefetch::MayClaim() const {
    return m_claimed < m_paths.size() && MayReadAhead(m_claimed);
}

// Called with the lock held, which it lets go while the file is read and scanned.
void FilePrefetch::DoNext(std::unique_lock<std::mutex>& lock, ScanTools& tools) {
    const std::size_t i = m_claimed++;
    if (i < m_next) { // passed over while waiting: not worth reading
        m_ready[i] = 1;
        return;
    }
    lock.unlock();
    PreparedFile file = Prepared(i, tools);
    lock.lock();
    if (i >= m_next) { // else passed over meanwhile
        m_bytesAhead += file.size;
        m_data[i] = std::move(file);
    }
    m_ready[i] = 1;
    if (m_callerWaits && i == m_wanted)
        m_callerCv.notify_one();
}

void FilePrefetch::Work() {
    pthread_setname_np(pthread_self(), "tolvaro-read"); // as system tools show it
    ScanTools tools;
    std::unique_lock lock(m_mutex);
    for (;;) {
        ++m_idleWorkers;
        m_workCv.wait(lock, [&] { return m_stop || m_claimed >= m_paths.size() || MayClaim(); });
        --m_idleWorkers;
        if (m_stop || m_claimed >= m_paths.size())
            return;
        DoNext(lock, tools);
    }
}

PreparedFile FilePrefetch::Prepared(std::size_t index, ScanTools& tools) const {
    PreparedFile file{m_read(m_paths[index]), std::nullopt};
    file.size = file.bytes ? file.bytes->size() : 0;
    if (file.bytes && m_prepare) {
        file.scan = m_prepare(*file.bytes, tools);
        file.bytes.reset();
    }
    return file;
}

PreparedFile FilePrefetch::Take(const QString& path) {
    std::unique_lock lock(m_mutex);
    std::size_t index = m_paths.size();
    const std::size_t end = std::min(m_paths.size(), m_next + kFilesAhead);
    for (std::size_t i = m_next; i < end && index == m_paths.size(); ++i) {
        if (m_paths[i] == path)
            index = i;
    }
    if (index == m_paths.size()) {
        lock.unlock();
        return {m_read(path), std::nullopt};
    }
    m_wanted = index;
    // Rather than wait, the caller does the next file no one has started on.
    while (!m_ready[index]) {
        if (MayClaim()) {
            DoNext(lock, m_tools);
            continue;
        }
        m_callerWaits = true;
        m_callerCv.wait(lock, [&] { return m_ready[index] != 0; });
        m_callerWaits = false;
    }
    PreparedFile file;
    for (std::size_t i = m_next; i <= index; ++i) {
        m_bytesAhead -= m_data[i].size;
        if (i == index)
            file = std::move(m_data[i]);
        m_data[i] = {};
    }
    m_next = m_wanted = index + 1;
    // Idle workers are woken once they are half the window ahead, not after every file.
    const bool wake = m_idleWorkers > 0 && m_claimed <= m_next + kFilesAhead / 2;
    lock.unlock();
    if (wake)
        m_workCv.notify_all();
    return file;
}

std::vector<QString> LinkedSmilFiles(QByteArrayView ncc, const QString& folder) {
    const std::string_view text(ncc.data(), static_cast<std::size_t>(ncc.size()));
    constexpr std::string_view opening = "<a href=\"";
    std::vector<QString> paths;
    std::string_view last;
    const auto find = [&text, opening](std::size_t from) {
        const std::size_t at = FindText(text.substr(from), opening);
        return at == std::string_view::npos ? at : from + at;
    };
    for (std::size_t at = find(0); at != std::string_view::npos; at = find(at + 1)) {
        const std::size_t start = at + opening.size();
        // Up to the closing quote, or the line's end before it.
        const std::size_t quote = FindByte(text, '"', start);
        std::string_view value =
            text.substr(start, quote == std::string_view::npos ? 0 : quote - start);
        value = value.substr(0, FindByte(value, '\n'));
        const std::size_t smil = FindText(value, ".smil");
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
