// Writes `count` values named prefix0, prefix1, ... into the settings section
// of `file`, each a text of `length` copies of the digit of its number.
//   settings_writer FILE PREFIX COUNT LENGTH
#include "settings/SettingsKey.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: settings_writer FILE PREFIX COUNT LENGTH\n");
        return 2;
    }
    tessaly::SettingsKey key{tessaly::SettingsStore(QString::fromLocal8Bit(argv[1]))};
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    const int count = std::atoi(argv[3]);
    const int length = std::atoi(argv[4]);
    for (int i = 0; i < count; ++i) {
        const QString text(length, QChar(u'0' + i % 10));
        key.writeText(QStringLiteral("Settings"), prefix + QString::number(i), text);
    }
    return 0;
}
