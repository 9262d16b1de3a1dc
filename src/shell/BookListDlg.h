#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QWidget;

namespace tolvaro {

// CA_Laufwerke: the drives in a two-column list, row 0 selected; Enter, a double-click or OK
// chooses, Escape or "Abbrechen" cancels.
std::optional<int> RunDriveSelection(QWidget& owner, int langOffset,
                                     const std::vector<std::pair<QString, QString>>& rows);

// CA_DaisySuche: the book titles under "Liste erstellen?"; choosing line 0 rebuilds the list and
// the window stays open.
std::optional<int> RunBookList(QWidget& owner, int langOffset, const QStringList& lines,
                               const std::function<QStringList()>& rebuild);

} // namespace tolvaro
