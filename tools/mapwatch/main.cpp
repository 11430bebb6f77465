// kx_mapwatch: starts a program and reports how long it took until its window of a given title
// was mapped on the X display, watched through one display connection: the root window's
// structure events, no polling of the window list.
//   kx_mapwatch <title> <timeout ms> <program> [arguments...]
// Prints "<pid> <milliseconds>" and leaves the program running (its output goes nowhere); ends with 1 when the program
// ends first or the time runs out (the program is then ended), 2 for a wrong call.

#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return a;
}

std::string property(xcb_connection_t *c, xcb_window_t w, xcb_atom_t name)
{
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, w, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr);
    std::string value;
    if (reply) {
        value.assign(static_cast<const char *>(xcb_get_property_value(reply)),
                     xcb_get_property_value_length(reply));
        std::free(reply);
    }
    return value;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: kx_mapwatch <title> <timeout ms> <program> [arguments...]\n");
        return 2;
    }
    const std::string title = argv[1];
    const double timeout = std::atof(argv[2]);

    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "kx_mapwatch: no display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t netName = atom(c, "_NET_WM_NAME");
    const uint32_t rootEvents = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &rootEvents);
    xcb_flush(c);

    // The program makes its own connection; this one stays the watcher's alone.
    fcntl(xcb_get_file_descriptor(c), F_SETFD, FD_CLOEXEC);
    const double start = nowMs();
    const pid_t child = fork();
    if (child == 0) {
        // The program's own output must not hold the caller's pipe open after this ends.
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        execvp(argv[3], argv + 3);
        std::_Exit(127);
    }
    if (child < 0)
        return 2;

    auto named = [&](xcb_window_t w) {
        return property(c, w, netName) == title || property(c, w, XCB_ATOM_WM_NAME) == title;
    };
    // Windows mapped before their title was set are watched for the title.
    std::vector<xcb_window_t> mapped;
    const int fd = xcb_get_file_descriptor(c);
    for (;;) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(c)) {
            xcb_window_t shown = XCB_WINDOW_NONE;
            const int type = event->response_type & 0x7f;
            if (type == XCB_MAP_NOTIFY) {
                const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
                if (named(map->window))
                    shown = map->window;
                else {
                    mapped.push_back(map->window);
                    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
                    xcb_change_window_attributes(c, map->window, XCB_CW_EVENT_MASK, &events);
                    xcb_flush(c);
                    if (named(map->window)) // the title may have come in between
                        shown = map->window;
                }
            } else if (type == XCB_PROPERTY_NOTIFY) {
                const auto *change = reinterpret_cast<xcb_property_notify_event_t *>(event);
                for (xcb_window_t w : mapped)
                    if (w == change->window && named(w))
                        shown = w;
            } else if (type == XCB_UNMAP_NOTIFY) {
                const auto *unmap = reinterpret_cast<xcb_unmap_notify_event_t *>(event);
                std::erase(mapped, unmap->window);
            }
            std::free(event);
            if (shown != XCB_WINDOW_NONE) {
                std::printf("%d %.0f\n", static_cast<int>(child), nowMs() - start);
                std::fflush(stdout);
                xcb_disconnect(c);
                return 0;
            }
        }
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "kx_mapwatch: %s ended before its window showed\n", argv[3]);
            return 1;
        }
        if (nowMs() - start > timeout) {
            std::fprintf(stderr, "kx_mapwatch: no window \"%s\" within %.0f ms\n", title.c_str(),
                         timeout);
            kill(child, SIGTERM);
            return 1;
        }
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, 100);
        if (xcb_connection_has_error(c))
            return 1;
    }
}
