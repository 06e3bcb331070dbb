// Process entry: start-up in its fixed order, the message loop, the exit code.
#include <winsock2.h>  // before windows.h, which would bring the old winsock.h
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/main_window_win32.h"
#include "app/program_globals.h"
#include "app/startup.h"
#include "app/win32_text.h"

namespace {

std::wstring ProgramFilePath() {
    // Paths may be longer than MAX_PATH; grow until the whole path fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// Every command the program runs starts in the program's own folder, whatever
// folder the program itself was started from.
void EnterProgramFolder() {
    const std::wstring folder = WideFromUtf16(ProgramFolder(Utf16FromWide(ProgramFilePath())));
    if (!folder.empty()) SetCurrentDirectoryW(folder.c_str());
}

void StartGuiToolkit() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
}

int ReportFatalError(DWORD code, std::u16string_view message) {
    const std::wstring text = WideFromUtf16(FatalErrorText(code != 0 ? std::optional<std::uint32_t>(code) : std::nullopt, message));
    const std::wstring title = WideFromUtf16(kFatalErrorTitle);
    MessageBoxW(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
    return -1;
}

int RunMessageLoop(MainWindow& window) {
    if (window.Handle() == nullptr) return 0;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (window.PreTranslateMessage(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    EnterProgramFolder();
    StartGuiToolkit();
    InitProgramGlobals();

    MainWindow window;
    if (!MainWindow::RegisterWindowClass(instance) || !window.Create(instance, showCommand)) {
        return ReportFatalError(GetLastError(), kWindowCreationFailed);
    }
    RunMessageLoop(window);
    return 0;
}
