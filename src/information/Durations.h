#pragma once

#include <QString>

namespace tolvaro {

// A clock value "H:M:S" or "H:M:S.F" in seconds, F being thousandths. Each field is read on
// its own as far as its digits go (at most 9 characters of it; no digits count 0), never past
// the text: a value with fewer colons has the fields it has, "" is 0.
double ParseClockValue(const QString& clock);

// A duration in words in the language of `langOffset`, every part named even when it is 0:
// "eine Stunde, 2 Minuten und 5 Sekunden". The fraction of a second is dropped; values below
// one second (negative ones too) are 0.
QString FormatDuration(double seconds, int langOffset);

} // namespace tolvaro
