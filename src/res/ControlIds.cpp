#include "res/ControlIds.h"

namespace ids {

int EntryOfBoxId(int id) {
    for (int k = 1; k <= kEntryCount; ++k) {
        if (EntryBoxId(k) == id)
            return k;
    }
    return 0;
}

int EntryOfSpinId(int id) {
    for (int k = 1; k <= kEntryCount; ++k) {
        if (EntrySpinId(k) == id)
            return k;
    }
    return 0;
}

}  // namespace ids
