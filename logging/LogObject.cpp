#include "LogObject.h"
#include <atomic>

namespace HierLog {

namespace {
std::atomic<long> liveObjects{0};
}

const TClass* TObject::StaticClass() {
    static const TClass info{"TObject", nullptr, &MakeBare<TObject>, &ClassSupports<TObject>};
    return &info;
}

bool TObject::GetInterface(const GUID&, void** object) {
    if (object)
        *object = nullptr;
    return false;
}

namespace Internal {
void ObjectMade() {
    ++liveObjects;
}
void ObjectGone() {
    --liveObjects;
}
}  // namespace Internal

long LiveObjectCount() {
    return liveObjects;
}

}  // namespace HierLog
