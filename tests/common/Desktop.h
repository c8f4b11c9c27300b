#pragma once
// What a user does through the desktop rather than through the program, for
// the tests on an X server with a window manager.

#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

namespace testenv {

// Activates a window as a click on it or on its taskbar entry does (a
// minimized one is restored): asks the window manager on the user's behalf
// (_NET_ACTIVE_WINDOW from a pager), which no focus-stealing rule refuses,
// through the X library Qt has loaded, on Qt's own connection. A program's
// own request carries the time of the last event it read, and a manager
// may turn it down when a window mapped since then has the focus.
inline void ActivateAsTheUserDoes(QWidget* window) {
    using InternAtom = xcb_intern_atom_cookie_t (*)(xcb_connection_t*, uint8_t, uint16_t, const char*);
    using InternAtomReply = xcb_intern_atom_reply_t* (*)(xcb_connection_t*, xcb_intern_atom_cookie_t, xcb_generic_error_t**);
    using GetSetup = const xcb_setup_t* (*)(xcb_connection_t*);
    using RootsIterator = xcb_screen_iterator_t (*)(const xcb_setup_t*);
    using SendEvent = xcb_void_cookie_t (*)(xcb_connection_t*, uint8_t, xcb_window_t, uint32_t, const char*);
    using Flush = int (*)(xcb_connection_t*);
    auto intern = reinterpret_cast<InternAtom>(dlsym(RTLD_DEFAULT, "xcb_intern_atom"));
    auto internReply = reinterpret_cast<InternAtomReply>(dlsym(RTLD_DEFAULT, "xcb_intern_atom_reply"));
    auto setup = reinterpret_cast<GetSetup>(dlsym(RTLD_DEFAULT, "xcb_get_setup"));
    auto roots = reinterpret_cast<RootsIterator>(dlsym(RTLD_DEFAULT, "xcb_setup_roots_iterator"));
    auto send = reinterpret_cast<SendEvent>(dlsym(RTLD_DEFAULT, "xcb_send_event"));
    auto flush = reinterpret_cast<Flush>(dlsym(RTLD_DEFAULT, "xcb_flush"));
    ASSERT_TRUE(intern && internReply && setup && roots && send && flush);
    xcb_connection_t* server = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const char name[] = "_NET_ACTIVE_WINDOW";
    xcb_intern_atom_reply_t* atom = internReply(server, intern(server, 0, sizeof name - 1, name), nullptr);
    ASSERT_NE(atom, nullptr);
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = xcb_window_t(window->winId());
    event.type = atom->atom;
    event.data.data32[0] = 2; // from a pager: the user's own request
    std::free(atom);
    send(server, 0, roots(setup(server)).data->root,
         XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT, reinterpret_cast<const char*>(&event));
    flush(server);
}

} // namespace testenv
