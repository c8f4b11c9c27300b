#pragma once
// What a user does through the desktop rather than through the program, for
// the tests on an X server with a window manager.

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QWidget>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>
#include <xcb/xcb.h>

namespace testenv {

// The atom of that name on Qt's own connection, through the X library Qt has
// loaded; 0 when there is none.
inline uint32_t XAtom(const char* name) {
    using InternAtom = xcb_intern_atom_cookie_t (*)(xcb_connection_t*, uint8_t, uint16_t, const char*);
    using InternAtomReply = xcb_intern_atom_reply_t* (*)(xcb_connection_t*, xcb_intern_atom_cookie_t, xcb_generic_error_t**);
    auto intern = reinterpret_cast<InternAtom>(dlsym(RTLD_DEFAULT, "xcb_intern_atom"));
    auto internReply = reinterpret_cast<InternAtomReply>(dlsym(RTLD_DEFAULT, "xcb_intern_atom_reply"));
    if (!intern || !internReply) return 0;
    xcb_connection_t* server = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    xcb_intern_atom_reply_t* reply = internReply(server, intern(server, 0, uint16_t(strlen(name)), name), nullptr);
    const uint32_t atom = reply ? reply->atom : 0;
    std::free(reply);
    return atom;
}

// Asks the window manager, as a pager or a taskbar does on the user's
// behalf, to act on the window: the client message named message about it,
// with data, sent to the root window through the X library Qt has loaded,
// on Qt's own connection.
inline void AskTheWindowManager(QWidget* window, const char* message, std::initializer_list<uint32_t> data) {
    using GetSetup = const xcb_setup_t* (*)(xcb_connection_t*);
    using RootsIterator = xcb_screen_iterator_t (*)(const xcb_setup_t*);
    using SendEvent = xcb_void_cookie_t (*)(xcb_connection_t*, uint8_t, xcb_window_t, uint32_t, const char*);
    using Flush = int (*)(xcb_connection_t*);
    auto setup = reinterpret_cast<GetSetup>(dlsym(RTLD_DEFAULT, "xcb_get_setup"));
    auto roots = reinterpret_cast<RootsIterator>(dlsym(RTLD_DEFAULT, "xcb_setup_roots_iterator"));
    auto send = reinterpret_cast<SendEvent>(dlsym(RTLD_DEFAULT, "xcb_send_event"));
    auto flush = reinterpret_cast<Flush>(dlsym(RTLD_DEFAULT, "xcb_flush"));
    ASSERT_TRUE(setup && roots && send && flush);
    xcb_connection_t* server = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const uint32_t type = XAtom(message);
    ASSERT_NE(type, 0u);
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = xcb_window_t(window->winId());
    event.type = type;
    int i = 0;
    for (uint32_t d : data) event.data.data32[i++] = d;
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

// The 32-bit values of a property of a window (the root window when
// window is 0) of the given type, as the X server holds them; empty when it
// has none.
inline std::vector<uint32_t> Property32(xcb_window_t window, const char* property, xcb_atom_t type) {
    using GetSetup = const xcb_setup_t* (*)(xcb_connection_t*);
    using RootsIterator = xcb_screen_iterator_t (*)(const xcb_setup_t*);
    using GetProperty = xcb_get_property_cookie_t (*)(xcb_connection_t*, uint8_t, xcb_window_t, xcb_atom_t, xcb_atom_t,
                                                      uint32_t, uint32_t);
    using GetPropertyReply = xcb_get_property_reply_t* (*)(xcb_connection_t*, xcb_get_property_cookie_t, xcb_generic_error_t**);
    using PropertyValue = void* (*)(const xcb_get_property_reply_t*);
    using PropertyLength = int (*)(const xcb_get_property_reply_t*);
    auto setup = reinterpret_cast<GetSetup>(dlsym(RTLD_DEFAULT, "xcb_get_setup"));
    auto roots = reinterpret_cast<RootsIterator>(dlsym(RTLD_DEFAULT, "xcb_setup_roots_iterator"));
    auto get = reinterpret_cast<GetProperty>(dlsym(RTLD_DEFAULT, "xcb_get_property"));
    auto getReply = reinterpret_cast<GetPropertyReply>(dlsym(RTLD_DEFAULT, "xcb_get_property_reply"));
    auto value = reinterpret_cast<PropertyValue>(dlsym(RTLD_DEFAULT, "xcb_get_property_value"));
    auto length = reinterpret_cast<PropertyLength>(dlsym(RTLD_DEFAULT, "xcb_get_property_value_length"));
    std::vector<uint32_t> values;
    EXPECT_TRUE(setup && roots && get && getReply && value && length);
    if (!(setup && roots && get && getReply && value && length)) return values;
    xcb_connection_t* server = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const uint32_t name = XAtom(property);
    if (!name) return values;
    if (!window) window = roots(setup(server)).data->root;
    xcb_get_property_reply_t* reply = getReply(server, get(server, 0, window, name, type, 0, 1024), nullptr);
    if (!reply) return values;
    const auto* data = static_cast<const uint32_t*>(value(reply));
    values.assign(data, data + length(reply) / int(sizeof(uint32_t)));
    std::free(reply);
    return values;
}

// The actions the window manager offers on the window, as it lists them in
// _NET_WM_ALLOWED_ACTIONS ("_NET_WM_ACTION_MINIMIZE", ...): the buttons of
// its title bar and the entries of its window menu follow them. Empty until
// the manager has taken the window on.
inline std::vector<std::string> AllowedActions(QWidget* window) {
    using GetAtomName = xcb_get_atom_name_cookie_t (*)(xcb_connection_t*, xcb_atom_t);
    using GetAtomNameReply = xcb_get_atom_name_reply_t* (*)(xcb_connection_t*, xcb_get_atom_name_cookie_t, xcb_generic_error_t**);
    using AtomName = char* (*)(const xcb_get_atom_name_reply_t*);
    using AtomNameLength = int (*)(const xcb_get_atom_name_reply_t*);
    auto nameOf = reinterpret_cast<GetAtomName>(dlsym(RTLD_DEFAULT, "xcb_get_atom_name"));
    auto nameReply = reinterpret_cast<GetAtomNameReply>(dlsym(RTLD_DEFAULT, "xcb_get_atom_name_reply"));
    auto name = reinterpret_cast<AtomName>(dlsym(RTLD_DEFAULT, "xcb_get_atom_name_name"));
    auto nameLength = reinterpret_cast<AtomNameLength>(dlsym(RTLD_DEFAULT, "xcb_get_atom_name_name_length"));
    std::vector<std::string> actions;
    EXPECT_TRUE(nameOf && nameReply && name && nameLength);
    if (!(nameOf && nameReply && name && nameLength)) return actions;
    xcb_connection_t* server = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    for (uint32_t atom : Property32(xcb_window_t(window->winId()), "_NET_WM_ALLOWED_ACTIONS", XCB_ATOM_ATOM)) {
        xcb_get_atom_name_reply_t* n = nameReply(server, nameOf(server, atom), nullptr);
        if (!n) continue;
        actions.emplace_back(name(n), std::size_t(nameLength(n)));
        std::free(n);
    }
    return actions;
}

// The windows the window manager manages, the bottom one first, as it
// lists them in _NET_CLIENT_LIST_STACKING: other programs' windows too.
inline std::vector<uint32_t> StackingOrder() { return Property32(0, "_NET_CLIENT_LIST_STACKING", XCB_ATOM_WINDOW); }

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

// A late desktop, as a loaded one is: while held, the X server serves Qt's
// own connection alone, so the window manager's requests wait; the manager
// handles what the program asked meanwhile once the hold is let go (by
// Release, or when the object goes). Held at once, or with a window from the
// moment the server reports that window off the screen (UnmapNotify, event
// 18, the window at bytes 8-11).
class LateDesktop : QAbstractNativeEventFilter {
public:
    explicit LateDesktop(QWidget* window = nullptr) : window_(window ? std::uint32_t(window->winId()) : 0) {
        if (window) qGuiApp->installNativeEventFilter(this);
        else Hold();
    }
    ~LateDesktop() override {
        qGuiApp->removeNativeEventFilter(this);
        Release();
    }
    bool Holding() const { return holding_; }
    void Release() {
        if (holding_) Request("xcb_ungrab_server");
        holding_ = false;
    }

private:
    void Hold() {
        holding_ = true;
        Request("xcb_grab_server");
    }
    // The request of that name on Qt's own connection, through the X library Qt has loaded.
    static void Request(const char* name) {
        auto request = reinterpret_cast<unsigned (*)(xcb_connection_t*)>(dlsym(RTLD_DEFAULT, name));
        auto flush = reinterpret_cast<int (*)(xcb_connection_t*)>(dlsym(RTLD_DEFAULT, "xcb_flush"));
        ASSERT_TRUE(request && flush);
        xcb_connection_t* server = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
        request(server);
        flush(server);
    }
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        const auto* event = static_cast<const unsigned char*>(message);
        std::uint32_t window = 0;
        if (type == "xcb_generic_event_t" && (event[0] & 0x7f) == 18) std::memcpy(&window, event + 8, sizeof window);
        if (window == window_ && !started_) {
            started_ = true;
            Hold();
        }
        return false;
    }
    std::uint32_t window_;
    bool started_ = false;
    bool holding_ = false;
};

} // namespace testenv
