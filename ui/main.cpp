// Travoli: start-up of the game window.
#include <sys/socket.h>
#include <unistd.h>
#include <QSessionManager>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "media/sound/sdl_wave_output.h"
#include "settings/sqlite_hive.h"
#include "ui/application.h"
#include "ui/main_form.h"
#include "ui/platform_choice.h"

namespace {

// Qt aborts without a display; say so in one line instead.
bool DisplayAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform != nullptr && *platform != '\0' && std::string(platform).rfind("xcb", 0) != 0) {
        return true;  // offscreen, wayland, ...: Qt reports its own trouble
    }
    if (std::getenv("WAYLAND_DISPLAY") != nullptr && platform == nullptr) {
        return true;
    }
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        return false;
    }
    // A local display ":N" has its socket in /tmp/.X11-unix.
    if (display[0] == ':') {
        const std::string number =
            std::string(display + 1).substr(0, std::string(display + 1).find('.'));
        return std::filesystem::exists("/tmp/.X11-unix/X" + number);
    }
    return true;
}

int signalPipe[2] = {-1, -1};

// Going down on a signal or with the desktop session, a locked settings file gets a short
// wait: the process must be gone within moments.
constexpr int SessionEndBusyTimeoutMs = 500;

void OnTerminate(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

}  // namespace

int main(int argc, char** argv) {
    if (!DisplayAvailable()) {
        std::fprintf(stderr,
                     "travoli: the game needs a graphical desktop session (DISPLAY is not set or "
                     "not reachable)\n");
        return 1;
    }
    // The marquee sends ten small frames a second. Through shared memory each costs Qt's X
    // backend a round trip to the server; a plain image request of 20 KB does not, which
    // took about a quarter off the idle CPU here. The player's own setting wins.
    if (qEnvironmentVariableIsEmpty("QT_XCB_NO_MITSHM")) {
        qputenv("QT_XCB_NO_MITSHM", "1");
    }
    // In a Wayland session with XWayland the game runs on X11, as its fixed size and its
    // placement rules were made for; passed as an argument, so that the browser the link
    // label starts does not inherit the choice.
    std::vector<char*> arguments(argv, argv + argc);
    std::string platformOption = "-platform";
    std::string platformName =
        travoli::PreferredPlatform(std::vector<std::string>(argv, argv + argc));
    if (!platformName.empty()) {
        arguments.push_back(platformOption.data());
        arguments.push_back(platformName.data());
    }
    int argumentCount = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);
    travoli::TApplication app(argumentCount, arguments.data());

    travoli::SdlWaveOutput sound;
    travoli::SqliteHive hive;
    hive.SetDamagedFileHandler([](const std::string& path, const std::string& movedTo) {
        travoli::ShowError(
            QStringLiteral("The settings file %1 could not be read. It has been moved to %2, and "
                           "the game goes on with fresh settings.")
                .arg(QString::fromStdString(path), QString::fromStdString(movedTo)));
    });

    travoli::Platform platform;
    platform.soundOutput = &sound;
    platform.hive = &hive;
    int status = 0;
    try {
        travoli::TMainForm MainForm(platform);
        MainForm.CreateDialogs();

        // SIGTERM and the end of the desktop session save what a confirmed close would.
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) == 0) {
            std::signal(SIGTERM, OnTerminate);
            std::signal(SIGHUP, OnTerminate);
        }
        QSocketNotifier terminate(signalPipe[0], QSocketNotifier::Read);
        QObject::connect(&terminate, &QSocketNotifier::activated, &app, [&] {
            char byte = 0;
            [[maybe_unused]] const auto got = ::read(signalPipe[0], &byte, 1);
            hive.SetBusyTimeout(SessionEndBusyTimeoutMs);
            MainForm.SaveOnSessionEnd();
            QApplication::quit();
        });
        QObject::connect(&app, &QGuiApplication::commitDataRequest, &app,
                         [&](QSessionManager& manager) {
                             if (manager.allowsInteraction() && !MainForm.AskToEndSession()) {
                                 manager.cancel();
                                 return;
                             }
                             manager.release();
                             hive.SetBusyTimeout(SessionEndBusyTimeoutMs);
                             MainForm.SaveOnSessionEnd();
                         });

        MainForm.show();
        MainForm.activateWindow();
        status = app.exec();
    } catch (const std::exception& error) {
        travoli::ShowError(travoli::ErrorText(error));
        return 1;
    }
    // Errors that could only go to stderr (settings not saved at a signal) fail the run.
    return status == 0 && travoli::QuietErrorCount() > 0 ? 1 : status;
}
