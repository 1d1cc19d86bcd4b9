#include "assets/pictures.h"

#include <QtCore/qglobal.h>
#include <QtCore/qresource.h>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitPictureResources() {
    Q_INIT_RESOURCE(pictures);
}

namespace travoli {

void InitPictures() {
    static const bool done = (InitPictureResources(), true);
    (void)done;
}

}  // namespace travoli
