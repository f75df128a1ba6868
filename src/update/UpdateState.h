#pragma once

#include <QString>

#include <atomic>
#include <cstdint>

// What the update check worker learns and hands to the main window. The
// worker writes everything else first and CheckDone last (release); the main
// thread reads the rest only after it has seen CheckDone (acquire).
namespace tessaly {

extern int32_t CheckerStarted;          // main thread only: the worker was created
extern std::atomic<bool> CheckDone;     // the worker has finished
extern bool ShowNewVersion;             // the update popup is to be shown
extern int32_t ShowUpdateSetting;       // ShowUpdate as read at this run's start
extern QString LatestVersion;           // the version tag of the last valid reply
extern QString DownloadURL;             // the url tag of the last valid reply
extern int64_t CloseCountdown;          // ticks left before the popup closes itself

} // namespace tessaly
