#pragma once
// Where the settings live on a platform without the Windows registry: two INI
// files in the standard configuration folders, one for the machine (left by
// the installation) and one for the user. XDG_CONFIG_DIRS and
// XDG_CONFIG_HOME move them, which is how tests point them elsewhere.

#include <QString>

namespace rbx14 {

// $XDG_CONFIG_DIRS (first entry, default /etc/xdg)/rbx14-config/rbx14-config.ini
QString SystemSettingsFile();
// $XDG_CONFIG_HOME (default ~/.config)/rbx14-config/rbx14-config.ini
QString UserSettingsFile();

}  // namespace rbx14
