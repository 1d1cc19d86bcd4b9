// Travoli: start-up of the game window.
#include <getopt.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QScopeGuard>
#include <QSessionManager>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "media/sound/sdl_wave_output.h"
#include "media/widgets/link_opener.h"
#include "settings/sqlite_hive.h"
#include "texts/error_message.h"
#include "texts/texts.h"
#include "ui/application.h"
#include "ui/main_form.h"
#include "ui/placement_window.h"
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

constexpr const char* Usage = "usage: travoli [--help | --version]\n";

constexpr const char* Help =
    "\n"
    "Travoli, a sliding puzzle of arrow crosses, in a window of the desktop session.\n"
    "\n"
    "  --help       this text\n"
    "  --version    the version\n"
    "\n"
    "Qt's own options, such as -platform xcb, go on to Qt. The settings are kept in\n"
    "$XDG_CONFIG_HOME/ZanfirGames/Travoli/registry.sqlite3; travoli-tool(6) looks into them.\n";

// --help and --version answer before anything needs a display. getopt_long sees a copy, so the
// arguments stay in their order for Qt; only long options, so none of Qt's is mistaken for ours.
// -1 when the game is to start.
int AnswerOptions(int argc, char** argv) {
    static const option options[] = {{"help", no_argument, nullptr, 'h'},
                                     {"version", no_argument, nullptr, 'V'},
                                     {nullptr, 0, nullptr, 0}};
    std::vector<char*> copy(argv, argv + argc);
    copy.push_back(nullptr);
    opterr = 0;
    for (;;) {
        const int id = getopt_long(argc, copy.data(), "-", options, nullptr);
        if (id == -1) {
            return -1;
        }
        if (id == 'h') {
            std::fputs(Usage, stdout);
            std::fputs(Help, stdout);
            return 0;
        }
        if (id == 'V') {
            std::printf("travoli %s\n", TRAVOLI_VERSION);
            return 0;
        }
    }
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
    if (const int answered = AnswerOptions(argc, argv); answered >= 0) {
        return answered;
    }
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
    // Before the application object, which shows errors through them until it is gone.
    travoli::MessageBoxPresenter errors;
    travoli::TMainForm* form = nullptr;  // once it is whole
    // Messages before the window knows the player's language are English.
    const auto language = [&form] {
        return form != nullptr ? form->Language() : travoli::NoLanguageChosen;
    };
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
    // Qt took its own options out; the game takes no others.
    if (argumentCount > 1) {
        std::fprintf(stderr, "travoli: unknown argument '%s'\n%s", arguments[1], Usage);
        return 2;
    }

    app.ShowEscapedErrors(&errors, language);
    travoli::SdlWaveOutput sound;
    travoli::SqliteHive hive;
    hive.SetDamagedFileHandler([&](const std::string& path, const std::string& movedTo) {
        errors.Show(travoli::TextFor(travoli::TextId::SettingsMovedAside, language())
                        .arg(QString::fromStdString(path), QString::fromStdString(movedTo)));
    });

    travoli::Platform platform;
    platform.soundOutput = &sound;
    platform.hive = &hive;
    platform.linkOpener = std::make_shared<travoli::XdgLinkOpener>();
    platform.errors = &errors;
    platform.placementWindow = [](QWidget& window) {
        return std::make_unique<travoli::QtPlacementWindow>(&window);
    };
    // SIGTERM, SIGHUP, SIGINT (Ctrl+C) and the end of the desktop session save what a
    // confirmed close would. The handlers come before the first window: the damaged-file
    // notice may already be open when the signal comes.
    bool ending = false;
    bool running = false;  // the main event loop has started
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) == 0) {
        for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
            std::signal(signal, OnTerminate);
        }
    }
    QSocketNotifier terminate(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&terminate, &QSocketNotifier::activated, &app, [&] {
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(signalPipe[0], &byte, 1);
        if (ending) {
            return;
        }
        ending = true;
        hive.SetBusyTimeout(SessionEndBusyTimeoutMs);
        if (form != nullptr) {
            form->SaveOnSessionEnd();
        }
        if (running) {
            QApplication::quit();
        } else {
            QCoreApplication::exit(0);  // ends the loop of the dialog that is open now
        }
    });

    int status = 0;
    try {
        travoli::TMainForm MainForm(platform);
        MainForm.CreateDialogs();
        form = &MainForm;
        const auto gone = qScopeGuard([&form] { form = nullptr; });  // before the window goes
        if (ending) {
            // Ended during the start: nothing was played yet, and a window never shown has no
            // place to keep.
            MainForm.FormPlacement1->Enabled = false;
            MainForm.SaveOnSessionEnd();
            return errors.Reported() > 0 ? 1 : 0;
        }
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
        if (ending) {  // during a message at the show
            return errors.Reported() > 0 ? 1 : 0;
        }
        MainForm.activateWindow();
        running = true;
        status = app.exec();
    } catch (const std::exception& error) {
        errors.Show(travoli::ErrorMessage(error, language()));
        return 1;
    }
    // Errors that could only go to stderr (settings not saved at a signal) fail the run.
    return status == 0 && errors.Reported() > 0 ? 1 : status;
}
