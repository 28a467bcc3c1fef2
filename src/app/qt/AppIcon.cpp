#include "app/qt/AppIcon.h"

QIcon AppIcon() {
    return QIcon(QStringLiteral(":/kestran/kestran.png"));
}
