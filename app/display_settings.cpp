#include "app/display_settings.h"

#include "store/settings_schema.h"

namespace lumcrest {

DisplaySettings readDisplaySettings(const Profile& p) {
    DisplaySettings d;
    // A scale outside 0..4 counts as automatic.
    d.scale = readSetting(p, setting::kScale);
    d.fullscreen = readSettingBool(p, setting::kFullscreen);
    return d;
}

void writeDisplaySettings(Profile& p, const DisplaySettings& d) {
    // Only what changed is written, in one replacement under the file's lock.
    Profile::Batch batch(p);
    DisplaySettings old;
    old.scale = readSetting(p, setting::kScale);
    old.fullscreen = readSettingBool(p, setting::kFullscreen);
    if (old.scale != d.scale) writeSetting(p, setting::kScale, d.scale);
    if (old.fullscreen != d.fullscreen) writeSettingBool(p, setting::kFullscreen, d.fullscreen);
    batch.commit();
}

}  // namespace lumcrest
