#include "app/display_settings.h"

#include "store/profile.h"

namespace lumcrest {

DisplaySettings readDisplaySettings(const std::string& settingsPath) {
    Profile p(settingsPath);
    Profile::Reading once(p);
    DisplaySettings d;
    d.scale = p.readInteger("Settings", "Scale", 0);
    if (d.scale < 0 || d.scale > 4) d.scale = 0;
    d.fullscreen = p.readBool("Settings", "Fullscreen", false);
    return d;
}

void writeDisplaySettings(const std::string& settingsPath, const DisplaySettings& d) {
    Profile p(settingsPath);
    // Only what changed is written, in one replacement under the file's lock.
    Profile::Batch batch(p);
    DisplaySettings old;
    old.scale = p.readInteger("Settings", "Scale", 0);
    old.fullscreen = p.readBool("Settings", "Fullscreen", false);
    if (old.scale != d.scale) p.writeInteger("Settings", "Scale", d.scale);
    if (old.fullscreen != d.fullscreen) p.writeBool("Settings", "Fullscreen", d.fullscreen);
    batch.commit();
}

}  // namespace lumcrest
