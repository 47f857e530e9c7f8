// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "progress_window/x11_tool_window.h"

#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// The Motif window manager hints, as every X window manager reads them.
constexpr uint32_t MwmHintsFunctions = 1u << 0;
constexpr uint32_t MwmHintsDecorations = 1u << 1;
constexpr uint32_t MwmFuncMove = 1u << 2;
constexpr uint32_t MwmDecorBorder = 1u << 1;
constexpr uint32_t MwmDecorTitle = 1u << 3;

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    const auto cookie = xcb_intern_atom(connection, false, static_cast<uint16_t>(strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// The atoms already in the window's _NET_WM_STATE, so that what Qt put
// there survives.
std::vector<xcb_atom_t> atomList(xcb_connection_t *connection, xcb_window_t window,
                                 xcb_atom_t property)
{
    const auto cookie =
        xcb_get_property(connection, false, window, property, XCB_ATOM_ATOM, 0, 1024);
    xcb_get_property_reply_t *reply = xcb_get_property_reply(connection, cookie, nullptr);
    std::vector<xcb_atom_t> atoms;
    if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto *begin = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
        atoms.assign(begin, begin + xcb_get_property_value_length(reply) / sizeof(xcb_atom_t));
    }
    std::free(reply);
    return atoms;
}

} // namespace

void markAsToolWindow(QWidget *window)
{
    // The offscreen platform answers for X11 too, without a connection.
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    const auto id = static_cast<xcb_window_t>(window->winId());

    // Only moving is allowed; the frame is a border and a title bar.
    const xcb_atom_t motifHints = internAtom(connection, "_MOTIF_WM_HINTS");
    const std::array<uint32_t, 5> hints{MwmHintsFunctions | MwmHintsDecorations, MwmFuncMove,
                                        MwmDecorBorder | MwmDecorTitle, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, motifHints, motifHints, 32,
                        hints.size(), hints.data());

    const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t skipTaskbar = internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    std::vector<xcb_atom_t> states = atomList(connection, id, state);
    if (std::find(states.begin(), states.end(), skipTaskbar) == states.end())
        states.push_back(skipTaskbar);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(states.size()), states.data());
    xcb_flush(connection);
}
