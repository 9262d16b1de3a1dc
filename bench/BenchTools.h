#pragma once

#include <QByteArray>

#include <vector>

namespace tolvaro::bench {

// The middle value (the upper one of an even count); `values` must not be empty.
double Median(std::vector<double> values);

// Runs a program found on the PATH with `arguments` (the program's name first), its output thrown
// away, and `environment` when given (else this one's); the wall time in ms. Ends this program
// when it cannot be started.
double TimeProcess(const std::vector<QByteArray>& arguments,
                   const std::vector<QByteArray>& environment = {});

} // namespace tolvaro::bench
