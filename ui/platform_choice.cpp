#include "ui/platform_choice.h"

#include <xcb/xcb.h>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace travoli {

namespace {
bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}
}  // namespace

bool XWaylandOffered() {
    if (!Set("DISPLAY")) {
        return false;
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    bool offered = false;
    if (xcb_connection_has_error(connection) == 0) {
        // XWayland names itself by this extension; a plain X server beside a nested
        // compositor (Xvfb under weston, say) does not.
        static constexpr char Name[] = "XWAYLAND";
        const std::unique_ptr<xcb_query_extension_reply_t, decltype(&std::free)> reply(
            xcb_query_extension_reply(
                connection, xcb_query_extension(connection, std::strlen(Name), Name), nullptr),
            &std::free);
        offered = reply != nullptr && reply->present != 0;
    }
    xcb_disconnect(connection);
    return offered;
}

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
