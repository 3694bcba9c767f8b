#include "adapters/linux/pointer/GSettingsPointerSettings.h"

#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gio.h>
#include <gio/gsettingsbackend.h>

#include <cstring>

#include "adapters/linux/pointer/PointerSpeedScale.h"

namespace veldrane {

namespace {

constexpr const char* kAccelProfileKey = "accel-profile";
constexpr const char* kSpeedKey = "speed";
constexpr const char* kDoubleClickKey = "double-click";
constexpr const char* kProfileAccelerated = "default";
constexpr const char* kProfileFlat = "flat";
// What GSettings falls back to when no real backend is installed; it forgets at exit.
constexpr const char* kMemoryBackendType = "GMemorySettingsBackend";

GSettingsSchema* LookUpSchema()
{
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (source == nullptr) {
        return nullptr;
    }
    return g_settings_schema_source_lookup(source, GSettingsPointerSettings::kSchemaId, TRUE);
}

PointerSettingResult Written(gboolean written)
{
    if (!written) {
        return PointerSettingResult::Refused;
    }
    g_settings_sync();
    return PointerSettingResult::Applied;
}

} // namespace

bool GSettingsPointerSettings::SchemaInstalled()
{
    GSettingsSchema* schema = LookUpSchema();
    if (schema == nullptr) {
        return false;
    }
    g_settings_schema_unref(schema);
    return true;
}

std::unique_ptr<GSettingsPointerSettings> GSettingsPointerSettings::Open()
{
    GSettingsSchema* schema = LookUpSchema();
    if (schema == nullptr) {
        return nullptr;
    }
    GSettingsBackend* backend = g_settings_backend_get_default();
    const bool keeps = std::strcmp(G_OBJECT_TYPE_NAME(backend), kMemoryBackendType) != 0;
    g_object_unref(backend);
    if (!keeps) {
        g_settings_schema_unref(schema);
        return nullptr;
    }
    GSettings* settings = g_settings_new_full(schema, nullptr, nullptr);
    return std::unique_ptr<GSettingsPointerSettings>(new GSettingsPointerSettings(schema, settings));
}

GSettingsPointerSettings::GSettingsPointerSettings(_GSettingsSchema* schema, _GSettings* settings)
    : m_schema(schema), m_settings(settings)
{}

GSettingsPointerSettings::~GSettingsPointerSettings()
{
    g_settings_sync();
    g_object_unref(m_settings);
    g_settings_schema_unref(m_schema);
}

bool GSettingsPointerSettings::HasKey(const char* key) const
{
    return g_settings_schema_has_key(m_schema, key);
}

PointerSettingResult GSettingsPointerSettings::SetMouse(const MouseAcceleration& acceleration)
{
    if (!HasKey(kAccelProfileKey)) {
        return PointerSettingResult::Unsupported;
    }
    return Written(g_settings_set_string(m_settings, kAccelProfileKey,
                                         acceleration.Accelerated() ? kProfileAccelerated : kProfileFlat));
}

PointerSettingResult GSettingsPointerSettings::SetMouseSpeed(int speed)
{
    if (!HasKey(kSpeedKey)) {
        return PointerSettingResult::Unsupported;
    }
    if (!IsPointerSpeed(speed)) {
        return PointerSettingResult::Refused;
    }
    return Written(g_settings_set_double(m_settings, kSpeedKey, LibinputAccelSpeed(speed)));
}

PointerSettingResult GSettingsPointerSettings::SetWheelScrollLines(std::uint32_t)
{
    return PointerSettingResult::Unsupported;
}

PointerSettingResult GSettingsPointerSettings::SetDoubleClickTime(int milliseconds)
{
    if (!HasKey(kDoubleClickKey)) {
        return PointerSettingResult::Unsupported;
    }
    if (milliseconds < 1) {
        return PointerSettingResult::Refused;
    }
    return Written(g_settings_set_int(m_settings, kDoubleClickKey, milliseconds));
}

bool GSettingsPointerSettings::DesktopHas(PointerSetting setting) const
{
    switch (setting) {
    case PointerSetting::Acceleration:
        return HasKey(kAccelProfileKey);
    case PointerSetting::Speed:
        return HasKey(kSpeedKey);
    case PointerSetting::DoubleClickTime:
        return HasKey(kDoubleClickKey);
    case PointerSetting::WheelScrollLines:
        break;
    }
    return false; // the schema has no wheel lines
}

} // namespace veldrane
