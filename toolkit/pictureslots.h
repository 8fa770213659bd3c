// The place each picture of the application folder takes on a screen: its
// natural size in screen pixels. A picture that cannot be loaded (missing,
// damaged) leaves its place empty and keeps it, so that what is laid out
// around it stays where it would be with the picture there.
#pragma once

#include <QSize>
#include <QString>

namespace abrevel {

// The natural size of the picture file of that name (no folder), or an
// empty size for a name the application folder does not ship.
QSize PictureSlot(const QString &file);

} // namespace abrevel
