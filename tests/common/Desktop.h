#pragma once
// What a user does through the desktop rather than through the program, for
// the tests on an X server with a window manager.

#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <initializer_list>
#include <xcb/xcb.h>

namespace testenv {

// Asks the window manager, as a pager or a taskbar does on the user's
// behalf, to act on the window: the client message named message about it,
// with data, sent to the root window through the X library Qt has loaded,
// on Qt's own connection.
inline void AskTheWindowManager(QWidget* window, const char* message, std::initializer_list<uint32_t> data) {
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
    xcb_intern_atom_reply_t* atom = internReply(server, intern(server, 0, uint16_t(strlen(message)), message), nullptr);
    ASSERT_NE(atom, nullptr);
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = xcb_window_t(window->winId());
    event.type = atom->atom;
    int i = 0;
    for (uint32_t d : data) event.data.data32[i++] = d;
    std::free(atom);
    send(server, 0, roots(setup(server)).data->root,
         XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT, reinterpret_cast<const char*>(&event));
    flush(server);
}

// Activates a window as a click on it or on its taskbar entry does (a
// minimized one is restored): _NET_ACTIVE_WINDOW from a pager, which no
// focus-stealing rule refuses. A program's own request carries the time of
// the last event it read, and a manager may turn it down when a window
// mapped since then has the focus.
inline void ActivateAsTheUserDoes(QWidget* window) {
    AskTheWindowManager(window, "_NET_ACTIVE_WINDOW", {2}); // 2: from a pager, the user's own request
}

// Minimizes a window as its title bar's button does (WM_CHANGE_STATE to
// IconicState): the program hears of it from the desktop only.
inline void MinimizeAsTheUserDoes(QWidget* window) {
    AskTheWindowManager(window, "WM_CHANGE_STATE", {3}); // 3: IconicState
}

// Maps a window as a tool that lists the desktop's windows may (xdotool's
// windowmap): a minimized one is asked back by the map alone.
inline void MapAsAToolDoes(QWidget* window) {
    using MapWindow = xcb_void_cookie_t (*)(xcb_connection_t*, xcb_window_t);
    using Flush = int (*)(xcb_connection_t*);
    auto map = reinterpret_cast<MapWindow>(dlsym(RTLD_DEFAULT, "xcb_map_window"));
    auto flush = reinterpret_cast<Flush>(dlsym(RTLD_DEFAULT, "xcb_flush"));
    ASSERT_TRUE(map && flush);
    xcb_connection_t* server = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    map(server, xcb_window_t(window->winId()));
    flush(server);
}

// Closes a window as a taskbar's or a window list's close does
// (_NET_CLOSE_WINDOW): the manager asks the program to close it.
inline void CloseAsTheDesktopDoes(QWidget* window) {
    AskTheWindowManager(window, "_NET_CLOSE_WINDOW", {0, 2}); // no time, from a pager
}

// Presses and releases a key (an X keysym: 0xff0d Return, 0xff1b Escape)
// as the user's hand does, through the X server's test extension (the
// library of x11-utils): the desktop sees the user's input and its time, by
// which it decides whether a window the program shows next may take the
// focus and the top of the pile.
inline void PressKeyAsTheUserDoes(unsigned long keysym) {
    using KeysymToKeycode = unsigned char (*)(void*, unsigned long);
    using FakeKeyEvent = int (*)(void*, unsigned, int, unsigned long);
    using Flush = int (*)(void*);
    void* x11 = dlopen("libX11.so.6", RTLD_LAZY);
    void* xtst = dlopen("libXtst.so.6", RTLD_LAZY);
    ASSERT_TRUE(x11 && xtst);
    auto keycode = reinterpret_cast<KeysymToKeycode>(dlsym(x11, "XKeysymToKeycode"));
    auto flush = reinterpret_cast<Flush>(dlsym(x11, "XFlush"));
    auto fake = reinterpret_cast<FakeKeyEvent>(dlsym(xtst, "XTestFakeKeyEvent"));
    ASSERT_TRUE(keycode && flush && fake);
    void* display = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display();
    ASSERT_NE(display, nullptr);
    const unsigned code = keycode(display, keysym);
    fake(display, code, 1, 0);
    fake(display, code, 0, 0);
    flush(display);
}

} // namespace testenv
