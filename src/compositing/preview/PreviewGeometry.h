#pragma once

#include <QRect>
#include <QSize>

namespace tessaly {

// Where a picture of the given natural size is shown in a preview box: scaled
// to fit with its proportions kept, shrunk or enlarged, at the box's top-left
// corner. A picture with no width or height is stretched to the whole box.
QRect previewRect(QSize natural, QSize box);

} // namespace tessaly
