#pragma once

namespace tolvaro::timer {

// The ids of the program's timers, one list so that no two uses share one.
inline constexpr int kMark = 1;      // moves the text mark with the phrase
inline constexpr int kPoll = 2;      // watches the player for a phrase's end
inline constexpr int kStartup = 3;   // the start-up's one tick
inline constexpr int kTitleClip = 4; // watches the title clip

} // namespace tolvaro::timer
