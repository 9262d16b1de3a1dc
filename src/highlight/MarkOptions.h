#pragma once

#include "commands/Context.h"
#include "playback/TextMarker.h"

#include <QString>

namespace tolvaro {

// How the phrase being read and the search term are marked in the text: one of background
// colour, italic, bold and text colour, chosen in a radio group of the menu. The two colour
// styles ask for the colour first; a cancelled colour dialog changes nothing. The choice applies
// from the next mark the text view builds.
class MarkOptions {
public:
    // `style`: exactly one style on after any command, and the colour "#rrggbb" that both
    // colour styles use.
    MarkOptions(Context c, MarkStyle& style) : m_c(c), m_style(style) {}

    void OnMarkBackground() { AskColor(true); }
    void OnMarkItalic();
    void OnMarkBold();
    void OnMarkTextColor() { AskColor(false); }

    // Puts the radio mark on the style that is on (of several, the last in the order background,
    // italic, bold, text colour; none when none is on).
    void ShowChoice();

    // Where the colour dialog opens for each colour style, whatever colour was chosen before.
    static constexpr const char* kBackgroundStart = "#ff8000";
    static constexpr const char* kTextColorStart = "#ffffff";

private:
    void AskColor(bool background);
    void Choose(bool background, bool italic, bool bold, bool textColor);

    Context m_c;
    MarkStyle& m_style;
};

} // namespace tolvaro
