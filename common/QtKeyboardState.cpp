#include "QtKeyboardState.h"

#include <QGuiApplication>

#include <dlfcn.h>

namespace tessaron {

namespace {

// The few Xlib and XKB entry points needed, declared here so that building
// needs no X11 headers. Layouts follow <X11/XKBlib.h>.
struct XkbStateRec
{
    unsigned char group;
    unsigned char locked_group;
    unsigned short base_group;
    unsigned short latched_group;
    unsigned char mods;
    unsigned char base_mods;
    unsigned char latched_mods;
    unsigned char locked_mods;
    unsigned char compat_state;
    unsigned char grab_mods;
    unsigned char compat_grab_mods;
    unsigned char lookup_mods;
    unsigned char compat_lookup_mods;
    unsigned short ptr_buttons;
};

constexpr unsigned int XkbUseCoreKbd = 0x0100;
constexpr unsigned char LockMask = 1 << 1;
constexpr unsigned long XK_Caps_Lock = 0xffe5;

using XOpenDisplayFn = void* (*)(const char*);
using XkbGetStateFn = int (*)(void*, unsigned int, XkbStateRec*);
using XQueryKeymapFn = int (*)(void*, char[32]);
using XKeysymToKeycodeFn = unsigned char (*)(void*, unsigned long);

struct X11Keyboard
{
    void* display = nullptr;
    XkbGetStateFn getState = nullptr;
    XQueryKeymapFn queryKeymap = nullptr;
    unsigned char capsKeycode = 0;

    X11Keyboard()
    {
        void* lib = ::dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
        if (lib == nullptr) {
            return;
        }
        auto open = reinterpret_cast<XOpenDisplayFn>(::dlsym(lib, "XOpenDisplay"));
        getState = reinterpret_cast<XkbGetStateFn>(::dlsym(lib, "XkbGetState"));
        queryKeymap = reinterpret_cast<XQueryKeymapFn>(::dlsym(lib, "XQueryKeymap"));
        auto toKeycode = reinterpret_cast<XKeysymToKeycodeFn>(::dlsym(lib, "XKeysymToKeycode"));
        if (open == nullptr || getState == nullptr || queryKeymap == nullptr ||
            toKeycode == nullptr) {
            return;
        }
        // A connection of our own, kept for the life of the process.
        display = open(nullptr);
        if (display != nullptr) {
            capsKeycode = toKeycode(display, XK_Caps_Lock);
        }
    }

    bool capsLockOn() const
    {
        if (display == nullptr) {
            return false;
        }
        XkbStateRec state{};
        if (getState(display, XkbUseCoreKbd, &state) != 0) {
            return false;
        }
        if ((state.locked_mods & LockMask) == 0) {
            return false;
        }
        if (capsKeycode != 0) {
            char keys[32] = {};
            queryKeymap(display, keys);
            if ((keys[capsKeycode / 8] & (1 << (capsKeycode % 8))) != 0) {
                return false; // the key is being held
            }
        }
        return true;
    }
};

} // namespace

bool QtKeyboardState::CtrlDown() const
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
}

bool QtKeyboardState::ShiftDown() const
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

bool QtKeyboardState::CapsLockOn() const
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return false;
    }
    static const X11Keyboard keyboard;
    return keyboard.capsLockOn();
}

} // namespace tessaron
