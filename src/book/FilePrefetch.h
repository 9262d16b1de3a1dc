#pragma once

#include "book/BookFiles.h"

#include <QByteArrayView>
#include <QString>

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace tolvaro {

// Reads book files ahead on a worker thread, in the order they are expected, so that reading
// the next SMIL file overlaps scanning this one (and, on a slow disc, waiting for it).
//
// Read(path) returns exactly what `read` returns for the path. A path among the next expected
// ones is taken from the worker, waiting for it when need be; expected files passed over are
// dropped unread or freed. Any other path is read on the calling thread. The worker stays at
// most kFilesAhead files and about kBytesAhead bytes ahead of the caller, and the destructor
// stops it (after the file it is reading). `read` is called from the worker thread: it must
// not touch state the caller changes.
class FilePrefetch {
public:
    static constexpr std::size_t kFilesAhead = 32;
    static constexpr qsizetype kBytesAhead = 32 * 1024 * 1024;

    FilePrefetch(BookFileReader read, std::vector<QString> expected);
    ~FilePrefetch();
    FilePrefetch(const FilePrefetch&) = delete;
    FilePrefetch& operator=(const FilePrefetch&) = delete;

    std::optional<QByteArray> Read(const QString& path);

private:
    void Work();
    bool MayReadAhead(std::size_t index) const;

    const BookFileReader m_read;
    const std::vector<QString> m_paths;
    std::vector<std::optional<QByteArray>> m_data;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::size_t m_done = 0;   // files the worker has read
    std::size_t m_next = 0;   // the first file the caller has neither taken nor passed
    std::size_t m_wanted = 0; // the file the caller waits for, read whatever the limits say
    qsizetype m_bytesAhead = 0;
    bool m_stop = false;
    std::thread m_worker; // last: it starts once everything above is set up
};

// The SMIL files an ncc.html links to, as folder + name, in the order of their first links and
// with repeats in a row left out: the files its headings will ask for, give or take one.
std::vector<QString> LinkedSmilFiles(QByteArrayView ncc, const QString& folder);

} // namespace tolvaro
