// Name lookups run in a thread of libcurl's, so that a lookup that hangs ends
// with the exchange's time-outs like any other wait.
#include "net/PostForm.h"
#include "platform/Error.h"

#include <arpa/inet.h>
#include <chrono>
#include <curl/curl.h>
#include <gtest/gtest.h>
#include <net/if.h>
#include <netinet/in.h>
#include <QFile>
#include <QTemporaryDir>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tessaly;

namespace {

constexpr int kTimeoutMs = 300;

// What the child process reports in its exit status.
enum Outcome { RaisedInTime, RaisedLate, Answered, NoSilentNameServer };

bool bringUpLoopback() {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    ifreq request{};
    std::strcpy(request.ifr_name, "lo");
    const bool up = fd >= 0 && ioctl(fd, SIOCGIFFLAGS, &request) == 0 &&
                    (request.ifr_flags |= IFF_UP, ioctl(fd, SIOCSIFFLAGS, &request) == 0);
    close(fd);
    return up;
}

// A socket on the name server's port that reads nothing: every query waits
// for the resolver's own time-out (ten seconds here).
bool listenSilentlyOnPort53() {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(53);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

// Gives this process a network and a file system view of its own, in which
// /etc/resolv.conf names the silent server on 127.0.0.1.
bool silenceNameServer(const QString& folder) {
    const QString conf = folder + QStringLiteral("/resolv.conf");
    QFile file(conf);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write("nameserver 127.0.0.1\noptions timeout:10 attempts:1\n") < 0)
        return false;
    file.close();
    return unshare(CLONE_NEWNS | CLONE_NEWNET) == 0 &&
           mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           mount(QFile::encodeName(conf).constData(), "/etc/resolv.conf", nullptr, MS_BIND,
                 nullptr) == 0 &&
           bringUpLoopback() && listenSilentlyOnPort53();
}

Outcome lookUpInChild(const QString& folder) {
    if (!silenceNameServer(folder))
        return NoSilentNameServer;
    const auto start = std::chrono::steady_clock::now();
    try {
        PostForm(QStringLiteral("http://tessaly-lookup.example/php/check2.php"), {}, kTimeoutMs);
        return Answered;
    } catch (const Error&) {
    }
    const auto bound = std::chrono::milliseconds(2 * kTimeoutMs + 1500);
    return std::chrono::steady_clock::now() - start < bound ? RaisedInTime : RaisedLate;
}

} // namespace

TEST(NameLookup, RunsInAThreadOfLibcurl) {
    EXPECT_TRUE(curl_version_info(CURLVERSION_NOW)->features & CURL_VERSION_ASYNCHDNS);
}

// Without its own thread, or when the handle waited for that thread at the
// end, the call would last the resolver's ten seconds.
TEST(NameLookup, ThatHangsEndsWithTheExchange) {
    if (geteuid() != 0)
        GTEST_SKIP() << "only the superuser can give a process a name server of its own";
    QTemporaryDir dir;
    const pid_t child = fork();
    if (child == 0)
        _exit(lookUpInChild(dir.path()));
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == NoSilentNameServer)
        GTEST_SKIP() << "no network namespace of its own for the child here";
    EXPECT_EQ(WEXITSTATUS(status), RaisedInTime);
}
