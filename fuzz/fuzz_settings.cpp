// Settings files come from disk and may be damaged or hostile: the reader
// must never crash, and what it reads must survive a write and a re-read
// unchanged, within the size that is read, so that a rewrite never loses or
// alters a value it could read and a file that reads can always be changed.
#include "settings/RegFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const tessaly::RegDocument first = tessaly::parseRegFile(bytes);
    const QByteArray written = tessaly::writeRegFile(first);
    const tessaly::RegDocument again = tessaly::parseRegFile(written);
    if (written.size() > tessaly::kMaxRegFileBytes || again.damagedLines != 0 ||
        again.keys != first.keys)
        std::abort();
    return 0;
}
