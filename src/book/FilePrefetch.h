#pragma once

#include "book/BookFiles.h"
#include "book/Charsets.h"
#include "book/SmilReader.h"

#include <QByteArrayView>
#include <QString>

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace tolvaro {

// A file read ahead, and the scan made of it when there is one. A scanned file's bytes are not
// kept: a scan that cannot be used is rare, and the file is then read again.
struct PreparedFile {
    std::optional<QByteArray> bytes;
    std::optional<SmilScan> scan;
    qsizetype size = 0; // of the file as read: what counts against reading further ahead
};

// Reads book files ahead on worker threads, in the order they are expected, and scans each with
// `prepare`, so that reading and scanning the next SMIL files overlaps taking in this one (and,
// on a slow disc, waiting for it).
//
// Take(path) returns for the bytes exactly what `read` returns for the path, unless the file was
// scanned: then the scan and no bytes. A path among the next expected ones is taken from the
// workers, scanned when `prepare` is set and the file could be read; until it is ready, the caller
// reads and scans the next file no one has started on, or waits when there is none. Expected files
// passed over are dropped. Any other path is read on the calling thread, without a scan. Work stays
// at most kFilesAhead files and about kBytesAhead bytes ahead of the caller, and the destructor
// stops the workers (after the files they are on). `read` and `prepare` run on several threads at
// once: they must not touch state the caller changes; each thread passes `prepare` tools of its
// own.
class FilePrefetch {
public:
    static constexpr std::size_t kFilesAhead = 32;
    static constexpr qsizetype kBytesAhead = 32 * 1024 * 1024;
    using Prepare = std::function<SmilScan(const QByteArray& bytes, ScanTools& tools)>;

    FilePrefetch(BookFileReader read, std::vector<QString> expected, Prepare prepare = {},
                 int workers = 1);
    ~FilePrefetch();
    FilePrefetch(const FilePrefetch&) = delete;
    FilePrefetch& operator=(const FilePrefetch&) = delete;

    PreparedFile Take(const QString& path);
    // One worker fewer than the machine has cores (the caller is one), at least one.
    static int DefaultWorkers();

private:
    void Work();
    bool MayClaim() const;
    void DoNext(std::unique_lock<std::mutex>& lock, ScanTools& tools);
    PreparedFile Prepared(std::size_t index, ScanTools& tools) const;
    bool MayReadAhead(std::size_t index) const;

    const BookFileReader m_read;
    const std::vector<QString> m_paths;
    const Prepare m_prepare;
    ScanTools m_tools; // the caller's
    std::vector<PreparedFile> m_data;
    std::vector<char> m_ready; // set once a worker is done with the file
    std::mutex m_mutex;
    std::condition_variable m_workCv;   // workers wait here for room ahead
    std::condition_variable m_callerCv; // the caller waits here for its file
    int m_idleWorkers = 0;
    bool m_callerWaits = false;
    std::size_t m_claimed = 0; // files the workers have started on
    std::size_t m_next = 0;    // the first file the caller has neither taken nor passed
    std::size_t m_wanted = 0;  // the file the caller waits for, read whatever the limits say
    qsizetype m_bytesAhead = 0;
    bool m_stop = false;
    std::vector<std::thread> m_workers; // last: they start once everything above is set up
};

// The SMIL files an ncc.html links to, as folder + name, in the order of their first links and
// with repeats in a row left out: the files its headings will ask for, give or take one.
std::vector<QString> LinkedSmilFiles(QByteArrayView ncc, const QString& folder);

} // namespace tolvaro
