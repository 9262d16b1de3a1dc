#pragma once

#include <QString>

namespace tolvaro {

// The progress bar and text of the window a book loads in. Calls only note the new values; the
// window repaints them from time to time (not on every call), so reporting is cheap. The base
// itself is a progress nobody watches: for the command-line tools, benchmarks and fuzz targets.
class IProgress {
public:
    virtual ~IProgress() = default;
    virtual void SetRange(int /*maximum*/) {} // from 0; the position goes back to 0
    virtual void SetPosition(int /*position*/) {}
    virtual void SetText(const QString& /*text*/) {}

    // Whether the user asked to stop while the book loads: Escape cancels the loading, closing
    // the window asks the program to end. The loader stops at its next entry and opens nothing.
    enum class Stop { None, Cancel, Close };
    virtual Stop StopRequested() const { return Stop::None; }
};

} // namespace tolvaro
