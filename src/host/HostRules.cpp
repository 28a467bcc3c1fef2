#include "host/HostRules.h"

#include <algorithm>

#include "res/DialogTemplate.h"

namespace hostrules {

bool EnterClicksFocus(int focusId, bool focusEnabled) {
    const res::SControlDef* focus = res::FindControl(focusId);
    return focus != nullptr && focusEnabled &&
           (focus->kind == res::ControlKind::PushButton ||
            focus->kind == res::ControlKind::DefPushButton);
}

int SortedInsertIndex(int count, const std::function<std::string(int)>& itemAt,
                      const std::string& text) {
    int low = 0, high = count;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (itemAt(middle) <= text)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

int PortListWidth(int templateListWidth, int templateClientWidth, int clientWidth) {
    return std::max(0, templateListWidth + clientWidth - templateClientWidth);
}

}  // namespace hostrules
