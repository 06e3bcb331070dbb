// Drives the real DialServer.exe from outside, as a user or an accessibility
// tool would: starts it, finds its window by its caption, reads and sets the
// texts of its controls, presses keys. Every wait has a time-out.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "cp936.h"

namespace driver {

constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kStepTimeoutMs = 5000;

// Waits until the condition holds, polling; false when the time-out passed first.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kStepTimeoutMs);

std::wstring OwnFolder();
std::wstring TempFolder();

// A started DialServer.exe. Ends the process on destruction if it still runs.
class Program {
public:
    // Starts the program from `workingDirectory` (not its own folder, unless asked).
    explicit Program(const std::wstring& workingDirectory);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return process_ != nullptr; }
    DWORD StartError() const { return startError_; }
    DWORD ProcessId() const { return processId_; }
    // The main window, once it exists and is visible; null after the time-out.
    HWND MainWindow(DWORD timeoutMs = kStartTimeoutMs);
    // Exit code once the process ended; STILL_ACTIVE when the time-out passed first.
    DWORD WaitForExit(DWORD timeoutMs = kStepTimeoutMs);
    bool Running() { return WaitForExit(0) == STILL_ACTIVE; }
    // Bytes of memory the process holds now: its working set, and its private bytes.
    std::size_t WorkingSet() const;
    std::size_t PrivateBytes() const;

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    DWORD startError_ = 0;
    HWND window_ = nullptr;
};

HWND FindTopLevelWindow(DWORD processId, const std::wstring& caption);

std::wstring WindowText(HWND hwnd);
bool SetWindowTextRemote(HWND hwnd, const std::wstring& text);
std::wstring ClassName(HWND hwnd);
RECT RectInParentClient(HWND child);
RECT OuterRect(HWND hwnd);
std::vector<HWND> ChildWindows(HWND parent);

// Keyboard focus of the GUI thread that owns `window`.
HWND FocusedWindow(HWND window);
HWND ActiveWindow(HWND window);
bool BringToFront(HWND window);

// Pixels of a rectangle, row by row, as 0x00RRGGBB.
using Pixels = std::vector<COLORREF>;
Pixels CaptureClient(HWND window, int width, int height);
// One line of text centred in a width x height box, black on the button face.
Pixels RenderCentredText(const std::wstring& text, int width, int height, HGDIOBJ font);
std::size_t DifferingPixels(const Pixels& a, const Pixels& b);
std::size_t InkPixels(const Pixels& pixels);  // pixels that are not button face

// Clicks the middle of a control with the mouse, as real input.
void ClickWithMouse(HWND control);

// Presses a key as real keyboard input, optionally with Shift or Alt held.
void PressKey(WORD virtualKey, bool shift = false, bool alt = false);

}  // namespace driver
