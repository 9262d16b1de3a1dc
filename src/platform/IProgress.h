#pragma once

#include <QString>

namespace tolvaro {

// The progress bar and text of the window a book loads in. Calls only note the new values; the
// window repaints them from time to time (not on every call), so reporting is cheap.
class IProgress {
public:
    virtual ~IProgress() = default;
    virtual void SetRange(int maximum) = 0; // from 0; the position goes back to 0
    virtual void SetPosition(int position) = 0;
    virtual void SetText(const QString& text) = 0;
};

} // namespace tolvaro
