// The test's side of the fake rasdial.exe: what it is to print, how long it is
// to take, and what it saw of each run.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace driver {

struct DiallerRun {
    std::string commandLine;  // raw, as code-page-936 bytes
    std::string folder;       // current folder of the run
    std::string arguments;    // split as a C program would, joined by '|'
    bool ended = false;
};

class FakeDialler {
public:
    FakeDialler();  // no output, no delay, no runs yet
    ~FakeDialler();
    FakeDialler(const FakeDialler&) = delete;
    FakeDialler& operator=(const FakeDialler&) = delete;

    void SetHangUpOutput(const std::string& bytes);
    void SetDialOutput(const std::string& bytes);
    void SetDelay(int milliseconds);
    // Each run leaves a helper process behind that lives this much longer.
    void SetLinger(int milliseconds);
    std::vector<DiallerRun> Runs() const;
    // Waits until `count` runs have ended; false after the time-out.
    bool WaitForRuns(std::size_t count, DWORD timeoutMs = 20000) const;

private:
    void Clear();
};

// A code-page-936 status-field time stamp as its six numbers (missing time
// parts as 0); false when the text does not follow the format's rules.
bool ParseTimeStamp(const std::string& stamp, int fields[6]);

}  // namespace driver
