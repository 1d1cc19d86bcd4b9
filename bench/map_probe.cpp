// map_probe: starts one program on the X display of $DISPLAY and measures it.
//
//   map_probe [--idle SECONDS] [--settle SECONDS] [--server-pid PID] -- CMD [ARGS...]
//
// Prints one line of "key=value" fields:
//   map_ms     from the child's exec until the X server reports the first MapNotify of a
//              top-level, non-override-redirect window
//   rss_kb     VmRSS of the program, SETTLE seconds (default 2) after the map
//   cpu_pct    utime+stime of the program over the next IDLE seconds (default 10), as a
//              percentage of one core
//   server_pct the same for the X server (when --server-pid is given), over the same window
//   end        how the program ended when asked with SIGTERM: exit-N, signal-N, or killed
//              when it was still running 3 s later
//
// The root window's SubstructureNotify is selected before the fork, so no map can be missed,
// and the start is stamped by the child itself just before execvp (in shared memory).
#include <xcb/xcb.h>

#include <poll.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double NowSeconds() {
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

// utime + stime of a process in seconds, from /proc/PID/stat.
std::optional<double> CpuSeconds(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(in, line)) {
        return std::nullopt;
    }
    // The command name may hold spaces; the fields after it start behind the last ')'.
    const auto close = line.rfind(')');
    if (close == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    unsigned long long utime = 0;
    unsigned long long stime = 0;
    // Field 3 (state) is the first one here; utime and stime are fields 14 and 15.
    for (int index = 3; index <= 15 && fields >> field; ++index) {
        if (index == 14) {
            utime = std::stoull(field);
        } else if (index == 15) {
            stime = std::stoull(field);
        }
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

std::optional<long> ResidentKb(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return std::nullopt;
}

// True once the child has ended (it is reaped then).
bool Exited(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, WNOHANG) == pid;
}

// Asks the program to end with SIGTERM; after 3 s it is killed. Returns how it ended:
// "exit-N" (its own exit status after the SIGTERM), "signal-N", or "killed".
std::string Stop(pid_t pid) {
    kill(pid, SIGTERM);
    int status = 0;
    for (int i = 0; i < 300; ++i) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            return WIFEXITED(status) ? "exit-" + std::to_string(WEXITSTATUS(status))
                                     : "signal-" + std::to_string(WTERMSIG(status));
        }
        if (done < 0) {
            return "gone";
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return "killed";
}

int Usage() {
    std::fprintf(stderr,
                 "usage: map_probe [--idle SECONDS] [--settle SECONDS] [--server-pid PID] "
                 "[--timeout SECONDS] -- CMD [ARGS...]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    double idle = 10.0;
    double settle = 2.0;
    double timeout = 20.0;
    pid_t server = 0;
    int first = 1;
    for (; first < argc; ++first) {
        const std::string arg = argv[first];
        if (arg == "--") {
            ++first;
            break;
        }
        if (first + 1 >= argc) {
            return Usage();
        }
        if (arg == "--idle") {
            idle = std::atof(argv[++first]);
        } else if (arg == "--settle") {
            settle = std::atof(argv[++first]);
        } else if (arg == "--timeout") {
            timeout = std::atof(argv[++first]);
        } else if (arg == "--server-pid") {
            server = static_cast<pid_t>(std::atol(argv[++first]));
        } else {
            return Usage();
        }
    }
    if (first >= argc || idle <= 0 || settle < 0) {
        return Usage();
    }

    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        std::fprintf(stderr, "map_probe: cannot open the display '%s'\n",
                     std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_void_cookie_t select =
        xcb_change_window_attributes_checked(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    if (xcb_generic_error_t* error = xcb_request_check(connection, select)) {
        std::fprintf(stderr, "map_probe: cannot watch the root window (error %d)\n",
                     error->error_code);
        std::free(error);
        return 1;
    }

    // The child writes its exec time here.
    auto* started = static_cast<std::atomic<double>*>(mmap(nullptr, sizeof(std::atomic<double>),
                                                           PROT_READ | PROT_WRITE,
                                                           MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    if (started == MAP_FAILED) {
        std::perror("map_probe: mmap");
        return 1;
    }
    new (started) std::atomic<double>(0.0);

    const int xfd = xcb_get_file_descriptor(connection);
    const pid_t child = fork();
    if (child < 0) {
        std::perror("map_probe: fork");
        return 1;
    }
    if (child == 0) {
        close(xfd);
        started->store(NowSeconds());
        execvp(argv[first], argv + first);
        std::fprintf(stderr, "map_probe: cannot run %s: %s\n", argv[first], std::strerror(errno));
        _exit(127);
    }

    // Wait for the first top-level map.
    double mapped = 0.0;
    const double deadline = NowSeconds() + timeout;
    while (mapped == 0.0) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY && mapped == 0.0) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                if (map->override_redirect == 0) {
                    mapped = NowSeconds();
                }
            }
            std::free(event);
        }
        if (mapped != 0.0) {
            break;
        }
        if (xcb_connection_has_error(connection) != 0) {
            std::fprintf(stderr, "map_probe: lost the display\n");
            Stop(child);
            return 1;
        }
        if (Exited(child)) {
            std::fprintf(stderr, "map_probe: %s ended before it mapped a window\n", argv[first]);
            return 1;
        }
        if (NowSeconds() > deadline) {
            std::fprintf(stderr, "map_probe: %s mapped no window within %.0f s\n", argv[first],
                         timeout);
            Stop(child);
            return 1;
        }
        pollfd wait{xfd, POLLIN, 0};
        poll(&wait, 1, 10);
    }
    const double mapMs = (mapped - started->load()) * 1000.0;

    std::this_thread::sleep_for(std::chrono::duration<double>(settle));
    const std::optional<long> rss = ResidentKb(child);
    const std::optional<double> cpu0 = CpuSeconds(child);
    const std::optional<double> server0 = server ? CpuSeconds(server) : std::nullopt;
    const double t0 = NowSeconds();
    std::this_thread::sleep_for(std::chrono::duration<double>(idle));
    const std::optional<double> cpu1 = CpuSeconds(child);
    const std::optional<double> server1 = server ? CpuSeconds(server) : std::nullopt;
    const double elapsed = NowSeconds() - t0;
    const bool stillRunning = !Exited(child);
    const std::string ended = stillRunning ? Stop(child) : "early";

    if (!rss || !cpu0 || !cpu1 || !stillRunning) {
        std::fprintf(stderr, "map_probe: %s ended during the measurement\n", argv[first]);
        return 1;
    }
    std::printf("map_ms=%.1f rss_kb=%ld cpu_pct=%.3f", mapMs, *rss,
                (*cpu1 - *cpu0) / elapsed * 100.0);
    if (server0 && server1) {
        std::printf(" server_pct=%.3f", (*server1 - *server0) / elapsed * 100.0);
    }
    std::printf(" end=%s\n", ended.c_str());
    xcb_disconnect(connection);
    return 0;
}
