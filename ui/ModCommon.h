#pragma once

#include <QString>

namespace varnex::ui {

// The per-user settings store: text values under the executable's lower-cased base name
// (application and section), addressed by lower-cased keys.
//
// ReadSetting gives `defaultValue` for a key never written, and also when the store cannot
// be read (CheckSettingsStore reports that). WriteSetting is on disk when it returns, since
// the program may end at any moment; it throws Failure when the store cannot be written.
QString ReadSetting(const QString& key, const QString& defaultValue);
void WriteSetting(const QString& key, const QString& value);

// The application and section name for the program at `executable`: its file name without
// the folder and the last extension, lower-cased.
QString SettingsStoreName(const QString& executable);

// Throws Failure describing the store when it exists but cannot be read or is damaged.
void CheckSettingsStore();

}  // namespace varnex::ui
