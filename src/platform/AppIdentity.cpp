#include "platform/AppIdentity.h"

namespace tessaly {
QString AppProduct;
QString AppName;
QString AppVersion;
} // namespace tessaly
