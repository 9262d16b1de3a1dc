#pragma once

#include <QString>

namespace tolvaro {

// A duration in words in the language of `langOffset`, every part named even when it is 0:
// "eine Stunde, 2 Minuten und 5 Sekunden". The fraction of a second is dropped; values below
// one second (negative ones too) are 0.
QString FormatDuration(double seconds, int langOffset);

} // namespace tolvaro
