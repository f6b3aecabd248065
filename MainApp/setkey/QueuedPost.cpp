#include "MainApp/setkey/QueuedPost.h"

#include <QMetaObject>
#include <QObject>

hotkey::PostToUi PostToThreadOf(QObject* receiver) {
    return [receiver](std::function<void()> work) {
        QMetaObject::invokeMethod(receiver, std::move(work), Qt::QueuedConnection);
    };
}
