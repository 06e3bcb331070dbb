// Fakes of the window, the runner and the clock that record every step, in
// order, so a test can compare an operation's steps with the list it must follow.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "dial/dial_operations.h"
#include "dial/remote_redial.h"

namespace fakes {

inline std::string NameOf(layout::Control box) {
    static const char* const names[] = {"标签1", "编辑框1", "服务器1", "标签2", "编辑框2", "标签3", "编辑框3",
                                        "标签4", "编辑框4", "标签5", "编辑框5", "标签6", "编辑框6", "标签7",
                                        "编辑框7", "标签8", "编辑框8", "按钮1", "按钮2", "按钮3"};
    return names[static_cast<int>(box) - static_cast<int>(layout::Control::标签1)];
}

class Recorder {
public:
    std::vector<std::string> steps;
};

class Window : public DialWindow {
public:
    explicit Window(Recorder& recorder) : recorder_(recorder) {
        texts[layout::Control::编辑框1] = "AutoADSL";
        texts[layout::Control::编辑框2] = "ADSL0730";
        texts[layout::Control::编辑框3] = "730529";
    }
    Text ReadText(layout::Control box) override {
        recorder_.steps.push_back("R " + NameOf(box));
        return texts[box];
    }
    void SetText(layout::Control box, const Text& text) override {
        recorder_.steps.push_back("S " + NameOf(box) + " " + std::string(text.View()));
        texts[box] = text;
    }
    void AppendText(layout::Control box, const Text& text) override {
        recorder_.steps.push_back("A " + NameOf(box) + " " + std::string(text.View()));
        texts[box] = JoinText(texts[box], text);
    }
    std::map<layout::Control, Text> texts;

private:
    Recorder& recorder_;
};

// Answers each command with the next of its outputs; changes a field while
// "running", as an operator typing during a command could not, to show when
// fields are read.
class Runner : public CommandRunner {
public:
    explicit Runner(Recorder& recorder) : recorder_(recorder) {}
    Text Run(const Text& commandLine) override {
        recorder_.steps.push_back("run " + std::string(commandLine.View()));
        ++runs;
        if (outputs.empty()) return Text();
        Text out = outputs.front();
        outputs.erase(outputs.begin());
        return out;
    }
    std::vector<Text> outputs;
    int runs = 0;

private:
    Recorder& recorder_;
};

// Each reading is one second after the last, starting at 5 March 2024 09:07:08.
class Clock : public ::Clock {
public:
    explicit Clock(Recorder& recorder) : recorder_(recorder) {}
    DateTime Now() override {
        recorder_.steps.push_back("clock");
        return {2024, 3, 5, 9, 7, second_++};
    }

private:
    Recorder& recorder_;
    int second_ = 8;
};

// The listener as the handlers see it: a current client, and replies recorded
// as "send <address> <value>".
class Clients : public TriggerClients {
public:
    explicit Clients(Recorder& recorder) : recorder_(recorder) {}
    Text GetClientAddress() override {
        recorder_.steps.push_back("current client");
        return current;
    }
    bool SendToClient(const Text& address, std::int32_t value) override {
        recorder_.steps.push_back("send " + std::string(address.View()) + " " + std::to_string(value));
        return !address.Empty();
    }
    Text current;

private:
    Recorder& recorder_;
};

// Every fake, recording into one list, and the context the handlers take.
struct Fixture {
    Recorder recorder;
    Window window{recorder};
    Runner runner{recorder};
    Clock clock{recorder};
    Clients clients{recorder};
    DialContext context{window, runner, clock};
};

// The runs of the preset settings, as the recorder writes them.
inline const char* const kDial = "run cmd /c rasdial AutoADSL ADSL0730 730529";
inline const char* const kHangUp = "run cmd /c rasdial AutoADSL /disconnect";

inline std::string Stamp(int second) { return std::string(TimeStampText({2024, 3, 5, 9, 7, second}).View()); }

}  // namespace fakes
