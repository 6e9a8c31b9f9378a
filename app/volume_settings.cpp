// The volumes of music and effects: read from the settings file at start, shown
// on the switches (a row of ten lights each) and stepped from the menu. The music and sound
// switches keep their own meaning: off is silent whatever the volume.
#include <algorithm>
#include <optional>

#include "app/form.h"
#include "assets/catalogue.h"
#include "store/settings_schema.h"
#include "toolkit/audio.h"

namespace lumcrest {

namespace {

constexpr int kMaxVolume = tk::Audio::kMaxVolume;
static_assert(setting::kMusicVolume.max == kMaxVolume && setting::kSoundVolume.max == kMaxVolume,
              "the file's volumes are the audio's");

}  // namespace

void TForm1::readSettings() {
    // A missing or unreadable volume, or one outside 0..10, is full.
    settings.musicVolume = readSetting(profile_, setting::kMusicVolume);
    settings.soundVolume = readSetting(profile_, setting::kSoundVolume);
    settings.keys = readKeyBindings(profile_, &badKeys);
    helpKeys.show(settings.keys);
    firstHelpKeys.show(settings.keys);
    showVolumes();
}

void TForm1::showVolumes() {
    // Values set from outside (the driver's set) are held to the range here too.
    settings.musicVolume = std::clamp(settings.musicVolume, 0, kMaxVolume);
    settings.soundVolume = std::clamp(settings.soundVolume, 0, kMaxVolume);
    menu.button(MenuButton::Music).setLevel(settings.musicVolume);
    menu.button(MenuButton::Sound).setLevel(settings.soundVolume);
    tk::Audio& audio = app().backend().audio();
    audio.setMusicVolume(settings.musicVolume);
    audio.setEffectVolume(settings.soundVolume);
}

void TForm1::volumeStep(bool music, int step) {
    int& volume = music ? settings.musicVolume : settings.soundVolume;
    const int next = std::clamp(volume + step, 0, kMaxVolume);
    if (next == volume) return;
    volume = next;
    showVolumes();
    // Both volumes in one write, so the file never holds one step of a change without the other.
    Profile::Batch batch(profile_);
    writeSetting(profile_, setting::kMusicVolume, settings.musicVolume);
    writeSetting(profile_, setting::kSoundVolume, settings.soundVolume);
    batch.commit();
}

bool TForm1::menuVolumeStep(int step) {
    const std::optional<bool> music = menu.litVolumeSwitch();
    if (!music) return false;
    volumeStep(*music, step);
    return true;
}

void TForm1::bindSettings() {
    menu.button(MenuButton::Music).onMouseWheel = [this](int steps) { volumeStep(true, steps); };
    menu.button(MenuButton::Sound).onMouseWheel = [this](int steps) { volumeStep(false, steps); };
}

}  // namespace lumcrest
