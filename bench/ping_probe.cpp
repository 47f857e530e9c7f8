// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Pings an X window's program as a window manager does (_NET_WM_PING), one
// ping after the other, and prints a line for each answer: when the ping
// was sent (CLOCK_MONOTONIC seconds) and how long the answer took (ms). A
// Qt program answers from its event loop, so the longest answer is the
// longest time that its main thread stayed away from the loop, less at
// most the pause between pings. Runs until it is killed.
//
//     ping_probe WINDOW_ID

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <poll.h>

namespace {

// The pause between an answer and the next ping.
constexpr long PauseNs = 5'000'000;

double now()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// Waits for the answer to ping number serial; false when the X connection
// is gone.
bool awaitAnswer(xcb_connection_t *connection, xcb_atom_t ping, xcb_window_t window, uint32_t serial)
{
    for (;;) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
            const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> owned(event, &std::free);
            if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
                continue;
            const auto *message = reinterpret_cast<const xcb_client_message_event_t *>(event);
            if (message->data.data32[0] == ping && message->data.data32[1] == serial
                && message->data.data32[2] == window)
                return true;
        }
        if (xcb_connection_has_error(connection))
            return false;
        pollfd fd{xcb_get_file_descriptor(connection), POLLIN, 0};
        poll(&fd, 1, -1);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: ping_probe WINDOW_ID\n");
        return 2;
    }
    const auto window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "ping_probe: cannot reach the X server\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_atom_t protocols = atom(connection, "WM_PROTOCOLS");
    const xcb_atom_t ping = atom(connection, "_NET_WM_PING");
    // Qt sends the answer to the root window for those who select its
    // structure changes (and to the window manager).
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);

    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    for (uint32_t serial = 1;; ++serial) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = protocols;
        message.data.data32[0] = ping;
        message.data.data32[1] = serial;
        message.data.data32[2] = window;
        const double sent = now();
        xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&message));
        xcb_flush(connection);
        if (!awaitAnswer(connection, ping, window, serial))
            return 0;
        std::printf("%.6f %.3f\n", sent, (now() - sent) * 1000);
        const timespec pause{0, PauseNs};
        nanosleep(&pause, nullptr);
    }
}
