#include "compositing/metafile/EmfRecords.h"

namespace tessaly::metafile {

void forEachEmfRecord(const RecordReader& file,
                      const std::function<void(uint32_t, RecordReader&)>& visit) {
    RecordReader in = file;
    while (in.remaining() >= 8) {
        const std::size_t start = in.position();
        const uint32_t type = in.u32();
        const uint32_t size = in.u32();
        if (size < 8 || size % 4 || size > in.remaining() + 8)
            throwInvalid();
        RecordReader record = file.sub(start, size);
        record.seek(8);
        if (type == EmrEof)
            return;
        visit(type, record);
        in.seek(start + size);
    }
    throwInvalid(); // cut short: the end-of-file record is missing
}

} // namespace tessaly::metafile
