#pragma once

#include <cstdint>
#include <memory>

#include "ports/PointerSettingsBackend.h"

struct _GSettings;       // Gio's GSettings, kept out of this header
struct _GSettingsSchema; // and its GSettingsSchema

namespace veldrane {

// The pointer settings of GNOME and the other desktops that keep them in GSettings under
// org.gnome.desktop.peripherals.mouse:
//
//   acceleration  accel-profile: "default" with enhanced precision (the device's own acceleration,
//                 which GNOME's settings page shows as acceleration on), "flat" without
//   speed         speed: the 1 to 20 scale laid linearly onto -1 to 1
//   double-click  double-click: ms
//
// The schema has no wheel setting; that step is unsupported. A key an older schema lacks is
// unsupported too. The desktop's settings daemon applies each change as it is written.
class GSettingsPointerSettings : public PointerSettingsBackend
{
public:
    static constexpr const char* kSchemaId = "org.gnome.desktop.peripherals.mouse";

    // Whether the schema is installed, so that opening the settings cannot abort the program.
    static bool SchemaInstalled();
    // nullptr when the schema is missing, or when GSettings would only keep the values in memory
    // (no configuration backend such as dconf is installed), where no desktop would see them.
    static std::unique_ptr<GSettingsPointerSettings> Open();
    ~GSettingsPointerSettings() override;
    GSettingsPointerSettings(const GSettingsPointerSettings&) = delete;
    GSettingsPointerSettings& operator=(const GSettingsPointerSettings&) = delete;

    PointerSettingResult SetMouse(const MouseAcceleration& acceleration) override;
    PointerSettingResult SetMouseSpeed(int speed) override;
    PointerSettingResult SetWheelScrollLines(std::uint32_t lines) override;
    PointerSettingResult SetDoubleClickTime(int milliseconds) override;
    bool DesktopHas(PointerSetting setting) const override;

private:
    GSettingsPointerSettings(_GSettingsSchema* schema, _GSettings* settings);

    bool HasKey(const char* key) const;

    _GSettingsSchema* m_schema;
    _GSettings* m_settings;
};

} // namespace veldrane
