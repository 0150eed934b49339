#pragma once

// 我的设置: the parent's own presets, kept in a small JSON file beside the program's other
// settings and carried to another machine by export and import. Each is kept as its recipe's
// sheet code (with seed 0), which checks itself, so a damaged entry is found rather than read
// as other settings.

#include "wording/Presets.h"

#include <QDateTime>
#include <QString>
#include <vector>

namespace sumvarl {

// The term own presets are listed under: "我的设置 · 周末复习".
QString OwnPresetTerm();

// ~/.config/sumvarl/own-presets.json (under $XDG_CONFIG_HOME where that is set).
QString DefaultOwnPresetsPath();

enum class PresetFileState : std::int8_t {
    Read,    // read, or there is no file yet
    Damaged, // not a presets file of this program: set aside (program file) or left (import)
    Failed,  // could not be read at all (permissions), or a damaged file could not be set aside
};

struct PresetFile
{
    std::vector<Preset> presets;
    PresetFileState state = PresetFileState::Read;
    QString setAsideTo; // where a damaged program file now is
};

// Reads the program's own file. A damaged one is renamed with the time in its name
// ("own-presets.json.damaged-20261209-081500"), never written over.
PresetFile LoadOwnPresets(const QString& path, const QDateTime& now);

// Reads a file to import; a damaged one is left as it is.
PresetFile ReadPresetFile(const QString& path);

// Writes the presets whole or not at all (QSaveFile). Empty on success, else the reason.
QString WritePresetFile(const QString& path, const std::vector<Preset>& presets);

// "周末复习 (2)": the name with the first number that no preset has taken.
QString FreePresetName(const QString& name, const std::vector<Preset>& presets);

// What the windows say about the file.
QString DamagedOwnPresetsText(const QString& setAsideTo);
QString UnreadableOwnPresetsText(const QString& path);
QString NotAPresetFileText(const QString& path);
QString PresetsNotSavedText(const QString& reason);

} // namespace sumvarl
