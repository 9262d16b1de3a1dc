#pragma once

#include <QString>

#include <vector>

namespace tolvaro {

// Language offsets: every user-visible text is loaded by its German id plus one of these.
inline constexpr int kLangGerman = 0;
inline constexpr int kLangEnglish = 200;

// Returns the text with the given id, or an empty string when the table has no such id.
// Ids 1-45 are messages (English 201-245), 46-50 the names a screen reader gives the controls
// (English 246-250), 51-70 the words a screen reader speaks after a command, 71 the menu bar's
// name, 72-77 further messages (English 251-277), 100-172 menu captions (English 300-372), 1090
// the old about-item caption.
QString LoadString(int id);

// The ids the program asks for by name (German ids; English is id + 200).
inline constexpr int kStrLoadingText = 1, kStrSearching = 12, kStrSearchCaption = 15,
                     kStrSearchPrompt = 16, kStrSearchResult = 35, kStrNccUnreadable = 2,
                     kStrReadError = 3, kStrLoadingCaption = 4, kStrPageDialogCaption = 13,
                     kStrPagePrompt = 14, kStrPageMissing = 36, kStrPageCaption = 37,
                     kStrNotAPart = 38, kStrChangeCaption = 39, kStrOf = 40,
                     kStrFileDialogTitle = 41, kStrStartPage = 42, kStrManualFolder = 43,
                     kStrNoBookmarks = 44, kStrNoSearchResults = 45, kStrCreateList = 5,
                     kStrSearchDaisy = 6, kStrUntitled = 7, kStrOneBook = 8, kStrDrive = 9,
                     kStrDriveName = 10, kStrChooseDrive = 11, kStrEntriesRead = 72,
                     kStrBooksFound = 73, kStrFoldersSearched = 74, kStrAlreadyRunning = 75,
                     kStrInformation = 76, kStrCancelButton = 77;
// The information sentences and their parts.
inline constexpr int kStrTotal = 17, kStrElapsed = 18, kStrRemaining = 19, kStrHour = 20,
                     kStrHours = 21, kStrMinute = 22, kStrMinutes = 23, kStrSecond = 24,
                     kStrSeconds = 25, kStrAnd = 26, kStrOneEntry = 27, kStrEntries = 28,
                     kStrOneLevel = 29, kStrLevelsBefore = 30, kStrLevelsAfter = 31,
                     kStrAtHeading = 32, kStrOfAll = 33, kStrOnLevel = 34;
// The names of the controls.
inline constexpr int kNameHeadings = 46, kNameText = 47, kNameBookmarks = 48,
                     kNameSearchResults = 49, kNameHelpMenu = 50;
// What a command did, spoken by a screen reader.
inline constexpr int kSayBookmarkSet = 51, kSayBookmarkDeleted = 52, kSayBookmarkAt = 53,
                     kSayResultAt = 54, kSayPage = 55, kSaySpeed = 56, kSayVolume = 57,
                     kSayPaused = 58, kSayPlaying = 59, kSayEndOfList = 60, kSayStartOfList = 61,
                     kSayOn = 62, kSayOff = 63, kSaySkipFootnotes = 64, kSaySkipSidebars = 65,
                     kSaySkipProdnotes = 66, kSaySkipPageNumbers = 67, kSayAutoPlay = 68,
                     kSayHeadingLevel = 69, kSayNoPages = 70;
inline constexpr int kNameMenuBar = 71;
// Menu captions: the language names, alike in both languages; two captions the menu shows
// before any language is applied.
inline constexpr int kStrGerman = 78, kStrEnglish = 79, kStrFootnotesFirst = 80,
                     kStrSearchPreviousFirst = 81;
// Speech: the menu caption, its name when it is switched, the answer when there is none.
inline constexpr int kStrReadAloud = 82, kSayReadAloud = 83, kStrNoSpeech = 84;

} // namespace tolvaro
