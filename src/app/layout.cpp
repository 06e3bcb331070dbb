#include "app/layout.h"

#include <algorithm>

namespace layout {

const ControlSpec& SpecOf(Control id) {
    const auto* it = std::find_if(kControls.begin(), kControls.end(),
                                  [id](const ControlSpec& spec) { return spec.id == id; });
    return *it;  // every Control has exactly one row
}

std::optional<Control> ControlFromId(int id) {
    for (const ControlSpec& spec : kControls) {
        if (static_cast<int>(spec.id) == id) return spec.id;
    }
    return std::nullopt;
}

Control NextInTabOrder(std::optional<Control> current, bool backwards) {
    const auto count = static_cast<std::ptrdiff_t>(kTabOrder.size());
    const auto* it = current ? std::find(kTabOrder.begin(), kTabOrder.end(), *current) : kTabOrder.end();
    if (it == kTabOrder.end()) return backwards ? kTabOrder.back() : kTabOrder.front();
    const std::ptrdiff_t index = it - kTabOrder.begin();
    const std::ptrdiff_t step = backwards ? count - 1 : 1;
    return kTabOrder[static_cast<std::size_t>((index + step) % count)];
}

Point CentredOrigin(int screenWidth, int screenHeight) {
    return {(screenWidth - kWindowWidth) / 2, (screenHeight - kWindowHeight) / 2};
}

int EditBoxHeight(int layoutHeight, int lineHeight, int edgeThickness) {
    return std::max(layoutHeight, lineHeight + 2 * edgeThickness);
}

KeyAction ActionForKey(unsigned virtualKey, bool shiftDown) {
    switch (virtualKey) {
        case kKeyTab: return shiftDown ? KeyAction::FocusPrevious : KeyAction::FocusNext;
        case kKeyEscape: return KeyAction::Close;
        case kKeyReturn: return KeyAction::Swallow;
        default: return KeyAction::PassOn;
    }
}

bool IsSwallowedCharacter(char16_t ch) {
    return ch == u'\t' || ch == u'\r' || ch == u'\n' || ch == u'\x1b';
}

}  // namespace layout
