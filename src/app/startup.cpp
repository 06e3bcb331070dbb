#include "app/startup.h"

std::u16string ProgramFolder(std::u16string_view programPath) {
    const std::size_t cut = programPath.rfind(u'\\');
    if (cut == std::u16string_view::npos) return std::u16string();
    std::u16string folder(programPath.substr(0, cut));
    if (folder.size() == 2 && folder[1] == u':') folder += u'\\';
    return folder;
}

namespace {

std::u16string Decimal(std::uint32_t value) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value != 0);
    return digits;
}

}  // namespace

std::u16string FatalErrorText(std::optional<std::uint32_t> code, std::u16string_view message) {
    std::u16string text = u"运行时出错!\r\n";
    if (code) text += u"\r\n错误代码：" + Decimal(*code);
    if (!message.empty()) {
        text += u"\r\n错误信息：";
        text += message;
    }
    return text;
}
