#pragma once

#include <QString>

namespace tolvaro {

struct Settings;

// Names of the data files in the data folder.
inline constexpr char16_t kSettingsFile[] = u"Settings.dl";
inline constexpr char16_t kResumeFile[] = u"AResume.dl";
inline constexpr char16_t kResumeTemp[] = u"AResume.tmp";
inline constexpr char16_t kBookmarkFile[] = u"MResume.dl";
inline constexpr char16_t kBookmarkTemp[] = u"_MResume.tmp";
inline constexpr char16_t kLastBookFile[] = u"Letztes.dl";

// The full path of a data file.
QString DataFilePath(const QString& dataFolder, const char16_t* name);

// Makes the data folder when it does not exist, private to the user (mode 0700); its parents as
// the system's defaults make them. An existing folder is left as it is.
void MakeDataFolder(const QString& dataFolder);

// Makes sure the four main files exist: a missing settings file gets the given settings, a
// missing resume, bookmark or last-book file is created empty. A file that exists is never
// touched, whatever it holds. Failures are silent: the readers then find no file.
void WriteDefaultFiles(const QString& dataFolder, const Settings& defaults);

} // namespace tolvaro
