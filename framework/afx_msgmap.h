// Message maps: a handler table written as a plain chain of ifs. Each
// BEGIN_MESSAGE_MAP ... END_MESSAGE_MAP block defines the class's OnMessage;
// whatever it does not handle goes to the base class's map.
#pragma once

#include <windows.h>

#define DECLARE_MESSAGE_MAP() \
public:                       \
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                \
    bool theClass::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) \
    {                                                                                         \
        using TheBaseClass = baseClass;                                                       \
        (void)wParam;                                                                         \
        (void)lParam;                                                                         \
        (void)lResult;

#define END_MESSAGE_MAP()                                           \
        return TheBaseClass::OnMessage(message, wParam, lParam, lResult); \
    }

// void OnSysCommand(UINT nID, LPARAM lParam)
#define ON_WM_SYSCOMMAND()                                    \
    if (message == WM_SYSCOMMAND) {                           \
        OnSysCommand(static_cast<UINT>(wParam), lParam);      \
        lResult = 0;                                          \
        return true;                                          \
    }

// void OnPaint()
#define ON_WM_PAINT()         \
    if (message == WM_PAINT) { \
        OnPaint();            \
        lResult = 0;          \
        return true;          \
    }

// HCURSOR OnQueryDragIcon()
#define ON_WM_QUERYDRAGICON()                                     \
    if (message == WM_QUERYDRAGICON) {                            \
        lResult = reinterpret_cast<LRESULT>(OnQueryDragIcon());   \
        return true;                                              \
    }

// BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData)
#define ON_WM_DEVICECHANGE()                                                          \
    if (message == WM_DEVICECHANGE) {                                                 \
        lResult = OnDeviceChange(static_cast<UINT>(wParam), static_cast<DWORD_PTR>(lParam)); \
        return true;                                                                  \
    }

// &Class::handler, a void() member, for WM_COMMAND with the given id from a
// menu, an accelerator or any control notification.
#define ON_COMMAND(id, memberFn)                                     \
    if (message == WM_COMMAND && LOWORD(wParam) == (id)) {           \
        (this->*(memberFn))();                                       \
        lResult = 0;                                                 \
        return true;                                                 \
    }

// &Class::handler, a void() member, for a button's click.
#define ON_BN_CLICKED(id, memberFn)                                                   \
    if (message == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == BN_CLICKED) { \
        (this->*(memberFn))();                                                        \
        lResult = 0;                                                                  \
        return true;                                                                  \
    }

// Anything that can have a message map: windows and the application.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Returns true when handled; lResult is then the message's result.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
    {
        (void)message;
        (void)wParam;
        (void)lParam;
        (void)lResult;
        return false;
    }
};
