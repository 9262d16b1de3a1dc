#include "highlight/MarkOptions.h"

#include "commands/CommandIds.h"
#include "commands/CommandTable.h"
#include "platform/IDialogs.h"
#include "platform/IPlayer.h"

namespace tolvaro {

void MarkOptions::ShowChoice() {
    const std::pair<bool, int> items[] = {{m_style.background, cmd::kMarkBackground},
                                          {m_style.italic, cmd::kMarkItalic},
                                          {m_style.bold, cmd::kMarkBold},
                                          {m_style.textColor, cmd::kMarkTextColor}};
    for (const auto& [on, id] : items)
        m_c.commands.SetChecked(id, false);
    for (const auto& [on, id] : items) {
        if (on)
            m_c.commands.SetChecked(id, true);
    }
}

void MarkOptions::Choose(bool background, bool italic, bool bold, bool textColor) {
    m_style.background = background;
    m_style.italic = italic;
    m_style.bold = bold;
    m_style.textColor = textColor;
    ShowChoice();
}

void MarkOptions::OnMarkItalic() {
    Choose(false, true, false, false);
}

void MarkOptions::OnMarkBold() {
    Choose(false, false, true, false);
}

void MarkOptions::AskColor(bool background) {
    std::optional<QString> color;
    {
        PauseForQuestion pause(m_c.player);
        color = m_c.dialogs.AskColor(
            QString::fromLatin1(background ? kBackgroundStart : kTextColorStart));
    }
    if (!color) {
        ShowChoice(); // the menu may have moved the radio mark already
        return;
    }
    m_style.color = *color;
    Choose(background, false, false, !background);
}

} // namespace tolvaro
