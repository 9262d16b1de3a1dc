#include "commands/MenuDefinition.h"

#include "commands/CommandIds.h"
#include "res/StringTable.h"

namespace tolvaro {
namespace {

using Kind = MenuDef::Kind;
using Mark = MenuDef::Mark;

constexpr int kStyleGroup = 1;
constexpr int kLanguageGroup = 2;

MenuDef Popup(int captionId, std::vector<MenuDef> children) {
    MenuDef d;
    d.kind = Kind::Popup;
    d.captionId = captionId;
    d.children = std::move(children);
    return d;
}

MenuDef Cmd(int id, int captionId, std::vector<QKeyCombination> keys = {}, Mark mark = Mark::None,
            int group = 0) {
    MenuDef d;
    d.kind = Kind::Command;
    d.id = id;
    d.captionId = captionId;
    d.keys = std::move(keys);
    d.mark = mark;
    d.radioGroup = group;
    return d;
}

MenuDef Sep() {
    return MenuDef{};
}

MenuDef Fixed(int id, int captionId, int group) {
    MenuDef d = Cmd(id, 0, {}, Mark::Radio, group);
    d.fixedCaptionId = captionId;
    return d;
}

MenuDef FirstCaption(MenuDef d, int captionId) {
    d.firstCaptionId = captionId;
    return d;
}

constexpr QKeyCombination Key(Qt::Key key) {
    return QKeyCombination(key);
}
constexpr QKeyCombination Shift(Qt::Key key) {
    return QKeyCombination(Qt::SHIFT, key);
}
constexpr QKeyCombination Ctrl(Qt::Key key) {
    return QKeyCombination(Qt::CTRL, key);
}
constexpr QKeyCombination Alt(Qt::Key key) {
    return QKeyCombination(Qt::ALT, key);
}

std::vector<MenuDef> Build() {
    using namespace cmd;
    return {
        Popup(100,
              {
                  Cmd(kOpen, 107, {Ctrl(Qt::Key_O)}),
                  Cmd(kFromList, 172, {Key(Qt::Key_O)}),
                  Cmd(kLast, 108, {Alt(Qt::Key_L)}),
                  Cmd(kChangeVolume, 109, {Alt(Qt::Key_W)}),
                  Sep(),
                  Popup(110, {Popup(114, {Cmd(kBookTimeTotal, 117), Cmd(kBookTimeElapsed, 118),
                                          Cmd(kBookTimeRemaining, 119)}),
                              Cmd(kBookEntries, 115), Cmd(kBookLevels, 116)}),
                  Popup(111, {Popup(120, {Cmd(kTitleTimeTotal, 121), Cmd(kTitleTimeElapsed, 122),
                                          Cmd(kTitleTimeRemaining, 123)}),
                              Cmd(kTitleIndex, 170), Cmd(kTitleLevel, 171)}),
                  Sep(),
                  Popup(112, {Fixed(kLanguageGerman, kStrGerman, kLanguageGroup),
                              Fixed(kLanguageEnglish, kStrEnglish, kLanguageGroup)}),
                  Sep(),
                  Cmd(kExit, 113, {Alt(Qt::Key_F4)}),
              }),
        Popup(101,
              {
                  Popup(124, {Cmd(kPhraseNext, 129, {Key(Qt::Key_P)}),
                              Cmd(kPhrasePrevious, 130, {Shift(Qt::Key_P)})}),
                  Popup(125, {Cmd(kGroupNext, 131, {Key(Qt::Key_G)}),
                              Cmd(kGroupPrevious, 132, {Shift(Qt::Key_G)})}),
                  Popup(126, {Cmd(kPageNext, 133, {Key(Qt::Key_S)}),
                              Cmd(kPagePrevious, 134, {Shift(Qt::Key_S)}), Sep(),
                              Cmd(kPageGoTo, 135, {Alt(Qt::Key_S)})}),
                  Popup(127,
                        {FirstCaption(Cmd(kSkipFootnote, 136, {}, Mark::Check), kStrFootnotesFirst),
                         Cmd(kSkipSidebar, 137, {}, Mark::Check),
                         Cmd(kSkipProdnote, 138, {}, Mark::Check),
                         Cmd(kSkipPageNumber, 139, {}, Mark::Check)}),
                  Sep(),
                  Cmd(kFocusTree, 128, {Key(Qt::Key_N)}),
              }),
        Popup(102,
              {
                  Popup(140, {Cmd(kVolumeUp, 145, {Key(Qt::Key_L)}),
                              Cmd(kVolumeNormal, 146, {Ctrl(Qt::Key_L)}),
                              Cmd(kVolumeDown, 147, {Shift(Qt::Key_L)})}),
                  Popup(141, {Cmd(kRateUp, 148, {Key(Qt::Key_W)}),
                              Cmd(kRateNormal, 149, {Ctrl(Qt::Key_W)}),
                              Cmd(kRateDown, 150, {Shift(Qt::Key_W)})}),
                  Popup(142, {Cmd(kWindForward, 151, {Key(Qt::Key_U)}),
                              Cmd(kWindBackward, 152, {Shift(Qt::Key_U)})}),
                  Sep(),
                  Cmd(kPauseContinue, 143, {Key(Qt::Key_Space), Ctrl(Qt::Key_Space)}),
                  Cmd(kAutoPlay, 144, {Alt(Qt::Key_A)}, Mark::Check),
                  Cmd(kReadAloud, kStrReadAloud, {}, Mark::Check),
              }),
        Popup(103,
              {
                  Popup(153, {Cmd(kMarkBackground, 155, {}, Mark::Radio, kStyleGroup),
                              Cmd(kMarkItalic, 156, {}, Mark::Radio, kStyleGroup),
                              Cmd(kMarkBold, 157, {}, Mark::Radio, kStyleGroup),
                              Cmd(kMarkTextColor, 158, {}, Mark::Radio, kStyleGroup)}),
                  Sep(),
                  Cmd(kFocusText, 154, {Key(Qt::Key_T)}),
              }),
        Popup(104,
              {
                  Cmd(kBookmarkSet, 159, {Ctrl(Qt::Key_M)}),
                  Cmd(kBookmarkDelete, 160, {Alt(Qt::Key_M)}),
                  Sep(),
                  Cmd(kBookmarkNext, 161, {Key(Qt::Key_M)}),
                  Cmd(kBookmarkPrevious, 162, {Shift(Qt::Key_M)}),
              }),
        Popup(105,
              {
                  Cmd(kSearchHeadings, 163),
                  Cmd(kSearchText, 164),
                  Cmd(kSearchBook, 165),
                  Sep(),
                  Cmd(kSearchNext, 166, {Key(Qt::Key_R)}),
                  FirstCaption(Cmd(kSearchPrevious, 167, {Shift(Qt::Key_R)}),
                               kStrSearchPreviousFirst),
              }),
        Popup(106,
              {
                  Cmd(kHelp, 168, {Key(Qt::Key_F1)}),
                  Sep(),
                  Cmd(kAbout, 169),
              }),
    };
}

} // namespace

const std::vector<MenuDef>& MainMenuDefinition() {
    static const std::vector<MenuDef> menu = Build();
    return menu;
}

} // namespace tolvaro
