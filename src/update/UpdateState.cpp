#include "update/UpdateState.h"

namespace tessaly {

int32_t CheckerStarted = 0;
std::atomic<bool> CheckDone{false};
bool ShowNewVersion = false;
int32_t ShowUpdateSetting = 0;
QString LatestVersion;
QString DownloadURL;
int64_t CloseCountdown = 11;

} // namespace tessaly
