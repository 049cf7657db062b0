#pragma once
// The program's own pictures, compiled in under ":/pictures/": the numbered pictures of the
// resource catalogue and the named window pictures (frame skin, table backgrounds, bars, ...).
// Each picture is decoded once and kept; a picture that is not there stays a null pixmap.

#include "table/Controls.h"

#include <QHash>
#include <QPixmap>
#include <QString>

namespace sorvik {

class PictureLibrary : public PictureSource {
public:
    PictureLibrary();

    // Picture `id` of the catalogue (PNG, or JPEG for the video frames).
    QPixmap Picture(int id) const override;
    // A window picture by name, for example "skin", "table-green" or "bar-bottom-small".
    QPixmap Named(const QString& name) const override;

private:
    QPixmap Load(const QString& base) const;

    // Missing pictures are kept too, as null pixmaps, so they are looked up only once.
    mutable QHash<int, QPixmap> numbered_;
    mutable QHash<QString, QPixmap> named_;
};

}  // namespace sorvik
