// A test with the real program running, its controls found by their places,
// and the fake rasdial.exe ready in its folder.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "driver.h"
#include "expected_layout.h"
#include "fake_dialler.h"

namespace driver {

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override { StartProgram(); }

    void TearDown() override {
        BeforeClose();
        if (window_ != nullptr && IsWindow(window_)) PostMessageW(window_, WM_CLOSE, 0, 0);
        if (program_) {
            EXPECT_EQ(program_->WaitForExit(20000), 0u);
        }
    }

    // What must go before the window is closed at the end of a test.
    virtual void BeforeClose() {}

    void StartProgram() {
        program_ = std::make_unique<Program>(TempFolder());  // not the program's own folder
        ASSERT_TRUE(program_->Started()) << program_->StartError();
        window_ = program_->MainWindow();
        ASSERT_NE(window_, nullptr);
        controls_ = MapControls(window_);
        ASSERT_EQ(controls_.size(), std::size(kExpected));
        ASSERT_TRUE(BringToFront(window_));
    }

    std::string Field(const char* name) { return Cp936(WindowText(controls_[name])); }
    void SetField(const char* name, const std::wstring& text) { ASSERT_TRUE(SetWindowTextRemote(controls_[name], text)); }
    void Click(const char* button) { ClickWithMouse(controls_[button]); }

    std::vector<std::string> ArgumentsSeen() {
        std::vector<std::string> seen;
        for (const DiallerRun& run : dialler_.Runs()) seen.push_back(run.arguments);
        return seen;
    }

    FakeDialler dialler_;
    std::unique_ptr<Program> program_;
    HWND window_ = nullptr;
    std::map<std::string, HWND> controls_;
};

}  // namespace driver
