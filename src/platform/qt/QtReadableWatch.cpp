#include "platform/qt/QtReadableWatch.h"

#include "platform/qt/Guarded.h"

QtReadableWatch::QtReadableWatch(int descriptor, std::function<void()> onReadable)
    : notifier_(descriptor, QSocketNotifier::Read), onReadable_(std::move(onReadable)) {
    QObject::connect(&notifier_, &QSocketNotifier::activated,
                     [this] { guarded("descriptor watch", onReadable_); });
}
