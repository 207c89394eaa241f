#pragma once

#include <QString>

#include <optional>

// Values kept from one run to the next, each in a small file of its own beside k_r_v.ini, so that
// k_r_v.ini stays the one word of the language. A file that is missing, cannot be read or holds
// something else gives nothing; one that cannot be written is skipped without a word.

namespace korvane {

// The file `name` in the folder of the settings file.
QString SideFilePath(const QString& settingsPath, const QString& name);

// k_r_v.angle: the Connect Curve limit angle last accepted, in degrees from 0 to 180, as text.
std::optional<float> ReadConnectAngle(const QString& settingsPath);
void WriteConnectAngle(const QString& settingsPath, float degrees);

// k_r_v.smooth: whether the view draws the smooth surfaces, as 1 or 0.
std::optional<bool> ReadSmoothSurfaces(const QString& settingsPath);
void WriteSmoothSurfaces(const QString& settingsPath, bool smooth);

// k_r_v.folder: the folder of the file last chosen in a file dialog, UTF-8; empty when none is
// kept or the folder is gone.
QString ReadLastFolder(const QString& settingsPath);
void WriteLastFolder(const QString& settingsPath, const QString& folder);

}  // namespace korvane
