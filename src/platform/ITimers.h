#pragma once

#include <functional>

namespace tolvaro {

// Window timers of the main window, addressed by small integer ids.
//
// SetTimer(id, ms) starts timer `id`, or restarts it with the new interval when it runs already;
// it then ticks every `ms` milliseconds until KillTimer(id). KillTimer of a timer that is not
// running does nothing. Ticks are delivered one at a time on the UI thread through the handler
// given to SetTickHandler, never from inside SetTimer or KillTimer; a tick handler may set or kill
// any timer, its own included. Nothing here fails.
class ITimers {
public:
    virtual ~ITimers() = default;
    virtual void SetTickHandler(std::function<void(int id)> handler) = 0;
    virtual void SetTimer(int id, int intervalMs) = 0;
    virtual void KillTimer(int id) = 0;
};

} // namespace tolvaro
