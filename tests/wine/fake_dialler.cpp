#include "fake_dialler.h"

#include <fstream>
#include <sstream>

#include "driver.h"

namespace driver {

namespace {

std::wstring PathOf(const wchar_t* name) { return OwnFolder() + L"\\" + name; }

void WriteBytes(const wchar_t* name, const std::string& bytes) {
    std::ofstream out(PathOf(name).c_str(), std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string ReadBytes(const wchar_t* name) {
    std::ifstream in(PathOf(name).c_str(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, start)) {
        parts.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

}  // namespace

FakeDialler::FakeDialler() { Clear(); }
FakeDialler::~FakeDialler() { Clear(); }

void FakeDialler::Clear() {
    for (const wchar_t* name : {L"rasdial-log.txt", L"rasdial-delay.txt", L"rasdial-hangup.out", L"rasdial-dial.out",
                           L"rasdial-linger.txt"}) {
        DeleteFileW(PathOf(name).c_str());
    }
}

void FakeDialler::SetHangUpOutput(const std::string& bytes) { WriteBytes(L"rasdial-hangup.out", bytes); }
void FakeDialler::SetDialOutput(const std::string& bytes) { WriteBytes(L"rasdial-dial.out", bytes); }
void FakeDialler::SetDelay(int milliseconds) { WriteBytes(L"rasdial-delay.txt", std::to_string(milliseconds)); }
void FakeDialler::SetLinger(int milliseconds) { WriteBytes(L"rasdial-linger.txt", std::to_string(milliseconds)); }

std::vector<DiallerRun> FakeDialler::Runs() const {
    std::vector<DiallerRun> runs;
    for (const std::string& line : Split(ReadBytes(L"rasdial-log.txt"), '\n')) {
        if (line == "end" && !runs.empty()) {
            runs.back().ended = true;
            continue;
        }
        const std::vector<std::string> fields = Split(line, '\t');
        if (fields.size() == 4 && fields[0] == "begin") runs.push_back({fields[1], fields[2], fields[3], false});
    }
    return runs;
}

bool FakeDialler::WaitForRuns(std::size_t count, DWORD timeoutMs) const {
    return WaitUntil([&] {
        const std::vector<DiallerRun> runs = Runs();
        return runs.size() >= count && runs[count - 1].ended;
    }, timeoutMs);
}

bool ParseTimeStamp(const std::string& stamp, int fields[6]) {
    static const char* const units[] = {"\xC4\xEA", "\xD4\xC2", "\xC8\xD5", "\xCA\xB1", "\xB7\xD6", "\xC3\xEB"};
    std::size_t at = 0;
    int parsed = 0;
    for (int i = 0; i < 6; ++i) fields[i] = 0;
    for (; parsed < 6 && at < stamp.size(); ++parsed) {
        const std::size_t digits = at;
        while (at < stamp.size() && stamp[at] >= '0' && stamp[at] <= '9') ++at;
        if (at == digits || (stamp[digits] == '0' && at - digits > 1)) return false;  // no digits, or padded
        if (stamp.compare(at, 2, units[parsed]) != 0) return false;
        fields[parsed] = std::stoi(stamp.substr(digits, at - digits));
        at += 2;
    }
    if (at != stamp.size() || parsed < 3) return false;
    // The time part is as long as its last non-zero field needs.
    const int needed = fields[5] != 0 ? 6 : fields[4] != 0 ? 5 : fields[3] != 0 ? 4 : 3;
    return parsed == needed;
}

}  // namespace driver
