#include "compositing/metafile/WmfRecords.h"

namespace tessaly::metafile {

void forEachWmfRecord(const RecordReader& file, std::size_t offset,
                      const std::function<bool(uint16_t, RecordReader&)>& visit) {
    RecordReader in = file;
    in.seek(offset);
    while (in.remaining() >= 6) {
        const std::size_t start = in.position();
        const uint64_t size = uint64_t(in.u32()) * 2;
        const uint16_t function = in.u16();
        if (size < 6 || size > in.remaining() + 6)
            throwInvalid();
        if (function == WmfEof)
            return;
        RecordReader params = file.sub(start + 6, std::size_t(size) - 6);
        if (!visit(function, params))
            return;
        in.seek(start + std::size_t(size));
    }
    throwInvalid(); // cut short: the end-of-file record is missing
}

} // namespace tessaly::metafile
