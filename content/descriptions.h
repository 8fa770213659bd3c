// Short French descriptions of the course pictures, for readers who cannot
// see them. Each is kept beside its picture's source (the drawing's <title>,
// a graph's or a computed spectrum's data) and compiled into the program
// from there (tools/picturedescriptions.cmake).
#pragma once

#include <QString>

#include <map>

namespace abrevel {

// Every description, by picture name without folder or extension.
const std::map<QString, QString> &pictureDescriptions();

// The description of a picture file, given by any path ("…/pces1403.bmp"),
// or empty when it has none.
QString pictureDescription(const QString &file);

} // namespace abrevel
