#include "stamp/metadata/Inflate.h"

#include <algorithm>
#include <zlib.h>

namespace tessaly {

std::optional<QByteArray> inflateZlib(const QByteArray& stream, qsizetype maxBytes) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return std::nullopt;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.constData()));
    z.avail_in = uInt(stream.size());
    QByteArray out;
    int status = Z_OK;
    while (status == Z_OK) {
        const qsizetype chunk = 64 * 1024;
        if (out.size() >= maxBytes)
            break;
        const qsizetype done = out.size();
        out.resize(done + std::min(chunk, maxBytes - done));
        z.next_out = reinterpret_cast<Bytef*>(out.data() + done);
        z.avail_out = uInt(out.size() - done);
        status = inflate(&z, Z_NO_FLUSH);
        out.resize(out.size() - qsizetype(z.avail_out));
        if (status == Z_BUF_ERROR && z.avail_in == 0)
            break; // the stream ends early
    }
    inflateEnd(&z);
    if (status != Z_STREAM_END)
        return std::nullopt;
    return out;
}

} // namespace tessaly
