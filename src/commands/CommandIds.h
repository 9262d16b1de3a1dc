#pragma once

// Command ids of the menu and the key table.
namespace tolvaro::cmd {

inline constexpr int kOpen = 32774;
inline constexpr int kFromList = 33012;
inline constexpr int kLast = 32780;
inline constexpr int kChangeVolume = 33009;
inline constexpr int kBookTimeTotal = 32828;
inline constexpr int kBookTimeElapsed = 32829;
inline constexpr int kBookTimeRemaining = 32830;
inline constexpr int kBookEntries = 32827;
inline constexpr int kBookLevels = 32815;
inline constexpr int kTitleTimeTotal = 32850;
inline constexpr int kTitleTimeElapsed = 32832;
inline constexpr int kTitleTimeRemaining = 32849;
inline constexpr int kTitleIndex = 32824;
inline constexpr int kTitleLevel = 32825;
inline constexpr int kLanguageGerman = 32953;
inline constexpr int kLanguageEnglish = 32954;
inline constexpr int kExit = 32772;

inline constexpr int kPhraseNext = 32778;
inline constexpr int kPhrasePrevious = 32779;
inline constexpr int kGroupNext = 32991;
inline constexpr int kGroupPrevious = 32979;
inline constexpr int kPageNext = 32984;
inline constexpr int kPagePrevious = 32982;
inline constexpr int kPageGoTo = 32983;
inline constexpr int kSkipFootnote = 32785;
inline constexpr int kSkipSidebar = 32786;
inline constexpr int kSkipProdnote = 32787;
inline constexpr int kSkipPageNumber = 33011;
inline constexpr int kFocusTree = 32965;

inline constexpr int kVolumeUp = 32793;
inline constexpr int kVolumeNormal = 32800;
inline constexpr int kVolumeDown = 32795;
inline constexpr int kRateUp = 32797;
inline constexpr int kRateNormal = 32801;
inline constexpr int kRateDown = 32799;
inline constexpr int kWindForward = 32805;
inline constexpr int kWindBackward = 32807;
inline constexpr int kPauseContinue = 32808;
inline constexpr int kAutoPlay = 32840;
inline constexpr int kReadAloud = 32841;

inline constexpr int kMarkBackground = 32844;
inline constexpr int kMarkItalic = 32847;
inline constexpr int kMarkBold = 32846;
inline constexpr int kMarkTextColor = 32848;
inline constexpr int kFocusText = 32966;

inline constexpr int kBookmarkSet = 32851;
inline constexpr int kBookmarkDelete = 32859;
inline constexpr int kBookmarkNext = 32860;
inline constexpr int kBookmarkPrevious = 32854;

inline constexpr int kSearchHeadings = 32861;
inline constexpr int kSearchText = 32862;
inline constexpr int kSearchBook = 32881;
inline constexpr int kSearchNext = 32863;
inline constexpr int kSearchPrevious = 32858;

inline constexpr int kHelp = 32867;
inline constexpr int kAbout = 32866;

} // namespace tolvaro::cmd
