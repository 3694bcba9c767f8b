#include "BusClient.h"

#include <gio/gio.h>

#include "Diagnostics.h"

namespace veldrane::ctl {

namespace {

constexpr char kService[] = "io.github.veldrane.Veldrane";
constexpr char kObjectPath[] = "/io/github/veldrane/Veldrane";
constexpr char kInterface[] = "io.github.veldrane.Veldrane1";
constexpr char kPropertiesInterface[] = "org.freedesktop.DBus.Properties";
constexpr char kErrorNoMouse[] = "io.github.veldrane.Veldrane1.Error.NoMouse";
// The bus answers a call to a name nobody owns with one of these.
constexpr std::string_view kServiceUnknown = "org.freedesktop.DBus.Error.ServiceUnknown";
constexpr std::string_view kNameHasNoOwner = "org.freedesktop.DBus.Error.NameHasNoOwner";
// A switch waits for the download (under 1 s) and, with a mouse that does not answer, for the
// time-outs of its reports; a program whose GUI thread is stuck must not hold the caller for ever.
constexpr int kCallTimeoutMs = 30000;

struct VariantDeleter
{
    void operator()(GVariant* variant) const { g_variant_unref(variant); }
};
using Variant = std::unique_ptr<GVariant, VariantDeleter>;

} // namespace

struct BusClient::Connection
{
    GDBusConnection* bus = nullptr;
    ~Connection()
    {
        if (bus != nullptr) {
            g_object_unref(bus);
        }
    }
};

BusClient::BusClient() : m_connection(std::make_unique<Connection>())
{
    GError* error = nullptr;
    m_connection->bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (error != nullptr) {
        g_error_free(error);
    }
}

BusClient::~BusClient() = default;

BusClient::Answer BusClient::Call(const char* interface, const char* method, GVariant* arguments, GVariant** reply)
{
    Answer answer;
    if (m_connection->bus == nullptr) {
        if (arguments != nullptr) {
            g_variant_unref(g_variant_ref_sink(arguments));
        }
        answer.absent = true;
        answer.message = "there is no session bus";
        return answer;
    }
    GError* error = nullptr;
    GVariant* answered =
        g_dbus_connection_call_sync(m_connection->bus, kService, kObjectPath, interface, method, arguments, nullptr,
                                    G_DBUS_CALL_FLAGS_NO_AUTO_START, kCallTimeoutMs, nullptr, &error);
    if (error != nullptr) {
        gchar* remote = g_dbus_error_get_remote_error(error);
        answer.errorName = remote != nullptr ? remote : "";
        g_free(remote);
        g_dbus_error_strip_remote_error(error);
        answer.message = error->message;
        answer.absent = answer.errorName == kServiceUnknown || answer.errorName == kNameHasNoOwner;
        g_error_free(error);
        return answer;
    }
    answer.done = true;
    if (reply != nullptr) {
        *reply = answered;
    } else if (answered != nullptr) {
        g_variant_unref(answered);
    }
    return answer;
}

std::optional<BusClient::State> BusClient::ReadState(Answer& answer)
{
    GVariant* answered = nullptr;
    answer = Call(kPropertiesInterface, "GetAll", g_variant_new("(s)", kInterface), &answered);
    const Variant reply(answered);
    if (!answer.done) {
        return std::nullopt;
    }
    if (!reply || !g_variant_is_of_type(reply.get(), G_VARIANT_TYPE("(a{sv})"))) {
        answer.done = false;
        answer.message = "the program answered its properties in another form";
        return std::nullopt;
    }
    State state;
    const Variant dictionary(g_variant_get_child_value(reply.get(), 0));
    GVariantDict dict;
    g_variant_dict_init(&dict, dictionary.get());
    if (const Variant names{g_variant_dict_lookup_value(&dict, "Profiles", G_VARIANT_TYPE("as"))}) {
        GVariantIter iter;
        g_variant_iter_init(&iter, names.get());
        const gchar* name = nullptr;
        while (g_variant_iter_next(&iter, "&s", &name)) {
            state.profiles.emplace_back(name);
        }
    }
    gint32 active = 0;
    if (g_variant_dict_lookup(&dict, "ActiveProfile", "i", &active)) {
        state.activeProfile = active;
    }
    gboolean simulated = FALSE;
    if (g_variant_dict_lookup(&dict, "Simulated", "b", &simulated)) {
        state.simulated = simulated != FALSE;
    }
    g_variant_dict_clear(&dict);
    return state;
}

BusClient::Answer BusClient::SwitchProfile(int index)
{
    return Call(kInterface, "SwitchProfile", g_variant_new("(i)", index));
}

BusClient::Answer BusClient::NextProfile()
{
    return Call(kInterface, "NextProfile", nullptr);
}

BusClient::Answer BusClient::PreviousProfile()
{
    return Call(kInterface, "PreviousProfile", nullptr);
}

BusClient::Answer BusClient::ExportProfile(int index)
{
    GVariant* answered = nullptr;
    Answer answer = Call(kInterface, "ExportProfile", g_variant_new("(i)", index), &answered);
    const Variant reply(answered);
    if (reply && g_variant_is_of_type(reply.get(), G_VARIANT_TYPE("(s)"))) {
        const gchar* text = nullptr;
        g_variant_get(reply.get(), "(&s)", &text);
        answer.text = text;
    }
    return answer;
}

BusClient::Answer BusClient::ImportProfile(int index, std::string_view json)
{
    // A D-Bus string is UTF-8 without NUL: anything else could not even be sent.
    if (json.find('\0') != std::string_view::npos ||
        !g_utf8_validate(json.data(), static_cast<gssize>(json.size()), nullptr)) {
        Answer refused;
        refused.message = "the file is not UTF-8 text";
        return refused;
    }
    const std::string text(json);
    return Call(kInterface, "ImportProfile", g_variant_new("(is)", index, text.c_str()));
}

int ExitStatusOf(const BusClient::Answer& answer)
{
    if (answer.done) {
        return kSuccess;
    }
    return answer.errorName == kErrorNoMouse ? kMouseAbsent : kFailed;
}

} // namespace veldrane::ctl
