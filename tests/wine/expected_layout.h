// The main window's layout as the operator sees it, written out again for the
// tests, and the lookup of the controls by their places.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "driver.h"

namespace driver {

struct ExpectedControl {
    const char* name;
    const wchar_t* className;
    int left, top, width, height;
    const char* cp936Text;  // preset text as code-page-936 bytes; null: checked on its own
};

// The layout, written out again from the operator's point of view.
inline const ExpectedControl kExpected[] = {
    {"标签1", L"Static", 20, 20, 80, 24, "\xC3\xFB\xB3\xC6"},
    {"编辑框1", L"Edit", 120, 20, 80, 20, "AutoADSL"},
    {"标签2", L"Static", 20, 54, 80, 24, "\xD3\xC3\xBB\xA7"},
    {"编辑框2", L"Edit", 120, 54, 80, 20, nullptr},
    {"标签3", L"Static", 20, 88, 80, 24, "\xC3\xDC\xC2\xEB"},
    {"编辑框3", L"Edit", 120, 88, 80, 20, "730529"},
    {"标签4", L"Static", 20, 122, 80, 24, "\xBF\xCD\xBB\xA7"},
    {"编辑框4", L"Edit", 120, 122, 180, 20, ""},
    {"标签5", L"Static", 20, 156, 80, 24, "\xCA\xB1\xBC\xE4"},
    {"编辑框5", L"Edit", 120, 152, 180, 20, ""},
    {"标签6", L"Static", 20, 190, 80, 24, "\xC8\xCE\xCE\xF1"},
    {"编辑框6", L"Edit", 120, 190, 80, 20, ""},
    {"标签7", L"Static", 20, 224, 80, 24, "\xCA\xB1\xBC\xE4"},
    {"编辑框7", L"Edit", 120, 224, 180, 20, ""},
    {"标签8", L"Static", 20, 258, 80, 24, "\xBD\xE1\xB9\xFB"},
    {"编辑框8", L"Edit", 120, 258, 180, 20, ""},
    {"按钮1", L"Button", 20, 292, 80, 32, "\xC1\xAC\xBD\xD3"},
    {"按钮2", L"Button", 120, 292, 80, 32, "\xB6\xCF\xBF\xAA"},
    {"按钮3", L"Button", 220, 292, 80, 32, "\xD6\xD8\xC1\xAC"},
};

inline const char* const kTabCycle[] = {"按钮1", "按钮2", "编辑框4", "编辑框5", "编辑框1", "编辑框2",
                                 "编辑框3", "编辑框6", "编辑框7", "编辑框8", "按钮3"};

inline bool SameClass(const std::wstring& actual, const wchar_t* expected) {
    return _wcsicmp(actual.c_str(), expected) == 0;
}

// Each control of the window under its layout name, found by its place and class.
inline std::map<std::string, HWND> MapControls(HWND window) {
    std::map<std::string, HWND> controls;
    for (HWND child : ChildWindows(window)) {
        const RECT r = RectInParentClient(child);
        for (const ExpectedControl& c : kExpected) {
            if (r.left == c.left && r.top == c.top && SameClass(ClassName(child), c.className)) controls[c.name] = child;
        }
    }
    return controls;
}

}  // namespace driver
