#include "ui/platform_choice.h"

#include <xcb/randr.h>
#include <xcb/xcb.h>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace travoli {

namespace {

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

template <typename Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

// Newer XWayland servers announce themselves by an extension of that name; every one names
// its outputs XWAYLAND0, XWAYLAND1, ...
bool IsXWayland(xcb_connection_t* connection, xcb_window_t root) {
    static constexpr char Name[] = "XWAYLAND";
    const Owned<xcb_query_extension_reply_t> extension(
        xcb_query_extension_reply(
            connection, xcb_query_extension(connection, std::strlen(Name), Name), nullptr),
        &std::free);
    if (extension != nullptr && extension->present != 0) {
        return true;
    }
    const Owned<xcb_randr_get_screen_resources_current_reply_t> resources(
        xcb_randr_get_screen_resources_current_reply(
            connection, xcb_randr_get_screen_resources_current(connection, root), nullptr),
        &std::free);
    if (resources == nullptr) {
        return false;  // no RandR: not XWayland
    }
    const xcb_randr_output_t* outputs =
        xcb_randr_get_screen_resources_current_outputs(resources.get());
    const int count = xcb_randr_get_screen_resources_current_outputs_length(resources.get());
    // Every question asked before the first answer is awaited: one round trip, not one an
    // output.
    std::vector<xcb_randr_get_output_info_cookie_t> asked;
    for (int index = 0; index < count; ++index) {
        asked.push_back(
            xcb_randr_get_output_info(connection, outputs[index], resources->config_timestamp));
    }
    bool found = false;
    for (const xcb_randr_get_output_info_cookie_t& cookie : asked) {
        const Owned<xcb_randr_get_output_info_reply_t> output(
            xcb_randr_get_output_info_reply(connection, cookie, nullptr), &std::free);
        if (output == nullptr) {
            continue;
        }
        const std::string_view name(
            reinterpret_cast<const char*>(xcb_randr_get_output_info_name(output.get())),
            static_cast<std::size_t>(xcb_randr_get_output_info_name_length(output.get())));
        found = found || name.substr(0, std::strlen(Name)) == Name;
    }
    return found;
}

// True when the X server named by DISPLAY answers and is a Wayland compositor's XWayland.
bool XWaylandOffered() {
    if (!Set("DISPLAY")) {
        return false;
    }
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    bool offered = false;
    if (xcb_connection_has_error(connection) == 0) {
        xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
        for (int index = 0; index < screenNumber && screens.rem > 0; ++index) {
            xcb_screen_next(&screens);
        }
        // A plain X server beside a nested compositor (Xvfb under weston, say) is not the
        // session's own.
        offered = screens.rem > 0 && IsXWayland(connection, screens.data->root);
    }
    xcb_disconnect(connection);
    return offered;
}

}  // namespace

std::string PreferredPlatform(const std::vector<std::string>& arguments) {
    if (Set("QT_QPA_PLATFORM") || !Set("WAYLAND_DISPLAY")) {
        return {};  // the player's choice, or an X11 session where Qt takes X11 anyway
    }
    for (const std::string& argument : arguments) {
        if (argument == "-platform" || argument == "--platform") {
            return {};
        }
    }
    return XWaylandOffered() ? "xcb" : "";
}

}  // namespace travoli
