#pragma once

#include "app/export_settings.h"

#include <array>
#include <string>

namespace gravlink {

// A key of the settings file and the setting it holds, in the order of the file.
struct TSettingsKey {
    const char* Name;
    std::string TExportSettings::*Member;
};
extern const std::array<TSettingsKey, 9> SettingsKeys;

enum class TSettingsFileState {
    Missing,  // no file: nothing read, nothing to keep
    Complete, // read to its end
    Damaged,  // exists, but its element tree broke off somewhere
};

struct TSettingsFileRead {
    TSettingsFileState State = TSettingsFileState::Missing;
    // Of a damaged file: the 1-based byte where reading stopped, and why.
    size_t StopPosition = 0;
    std::string StopReason = {};
};

// Reads the settings that the file holds into settings; the others keep their
// values. A file that exists but cannot be opened or read, or whose XML
// declaration is malformed, raises its failure.
TSettingsFileRead ReadSettingsFile(const std::string& path, TExportSettings& settings);
// Writes the nine settings, replacing the file.
void WriteSettingsFile(const std::string& path, const TExportSettings& settings);
// Keeps the file's bytes as "<path>.bak", so that writing the settings back over
// a damaged file loses nothing the operator could still recover.
void KeepDamagedSettingsFile(const std::string& path);

// The stamp column name as the settings dialog shows it: without its first three
// and last two characters ("Exp" and "DT", not compared).
std::string UnwrapStampField(const std::string& exportFieldName);
// "Exp" + middle + "DT".
std::string WrapStampField(const std::string& middle);

} // namespace gravlink
