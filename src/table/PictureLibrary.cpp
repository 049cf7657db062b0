#include "table/PictureLibrary.h"

#include <QFile>

// The resources live in a static library; referencing their initialiser links them in.
// Q_INIT_RESOURCE declares it, which only works outside a namespace.
static void InitPictureResources() { Q_INIT_RESOURCE(pictures); }

namespace sorvik {

PictureLibrary::PictureLibrary() {
    static const bool registered = (InitPictureResources(), true);
    (void)registered;
}

QPixmap PictureLibrary::Picture(int id) const {
    const auto found = numbered_.constFind(id);
    if (found != numbered_.constEnd()) return *found;
    return *numbered_.insert(id, id > 0 ? Load(QString::number(id)) : QPixmap());
}

QPixmap PictureLibrary::Named(const QString& name) const {
    const auto found = named_.constFind(name);
    if (found != named_.constEnd()) return *found;
    return *named_.insert(name, Load(name));
}

QPixmap PictureLibrary::Load(const QString& base) const {
    for (const char* extension : {".png", ".jpg"}) {
        const QString path = QStringLiteral(":/pictures/") + base + QLatin1String(extension);
        if (!QFile::exists(path)) continue;
        QPixmap pixmap;
        if (pixmap.load(path)) return pixmap;
    }
    return {};
}

}  // namespace sorvik
