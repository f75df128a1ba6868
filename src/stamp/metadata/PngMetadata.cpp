#include "stamp/metadata/BigEndian.h"
#include "stamp/metadata/Inflate.h"
#include "stamp/metadata/MetadataReader.h"
#include "stamp/metadata/PhotoshopResources.h"
#include "stamp/metadata/RawProfile.h"

namespace tessaly {

namespace {

// No ICC profile, XMP packet or raw profile comes near this; a chunk that
// claims to inflate to more is damaged or hostile.
constexpr qsizetype kMaxInflated = qsizetype(64) << 20;

// What the chunks found, the standard chunks and the older raw profiles apart
// so that a standard one wins whatever the order.
struct Found {
    PhotoMetadata standard, raw;
};

// The text after a chunk's keyword and its terminating zero byte, when the
// chunk begins with the keyword.
std::optional<QByteArray> afterKeyword(const QByteArray& data, const QByteArray& keyword) {
    if (!data.startsWith(keyword) || data.size() <= keyword.size() || data[keyword.size()] != '\0')
        return std::nullopt;
    return data.mid(keyword.size() + 1);
}

QByteArray keywordOf(const QByteArray& data) {
    const qsizetype end = data.indexOf('\0');
    return end < 0 ? QByteArray() : data.left(end);
}

void takeRawProfile(const QByteArray& keyword, const QByteArray& text, PhotoMetadata& raw) {
    const QByteArray kind = keyword.mid(QByteArray("Raw profile type ").size()).toLower();
    const QByteArray bytes = rawProfileBytes(text);
    if (kind == "exif" || kind == "app1")
        raw.exif = bytes.startsWith(QByteArray("Exif\0\0", 6)) ? bytes.mid(6) : bytes;
    else if (kind == "xmp")
        raw.xmp = bytes;
    else if (kind == "iptc")
        raw.iptc = bytes.startsWith("8BIM") ? iptcOfResources(bytes) : bytes;
    else if (kind == "8bim")
        raw.iptc = iptcOfResources(bytes);
    else if (kind == "icc" || kind == "icm")
        raw.icc = bytes;
}

// tEXt and zTXt: a keyword, then the text, plain or compressed.
void takeText(const QByteArray& data, bool compressed, PhotoMetadata& raw) {
    const QByteArray keyword = keywordOf(data);
    if (!keyword.startsWith("Raw profile type "))
        return;
    QByteArray text = data.mid(keyword.size() + 1);
    if (compressed) {
        // A compression method byte (0, zlib), then the stream.
        const std::optional<QByteArray> inflated =
            text.startsWith('\0') ? inflateZlib(text.mid(1), kMaxInflated) : std::nullopt;
        if (!inflated)
            return;
        text = *inflated;
    }
    takeRawProfile(keyword, text, raw);
}

// iTXt: keyword, compression flag and method, language, translated keyword,
// then the UTF-8 text.
void takeInternationalText(const QByteArray& data, PhotoMetadata& standard) {
    const std::optional<QByteArray> rest = afterKeyword(data, "XML:com.adobe.xmp");
    if (!rest || rest->size() < 2)
        return;
    const bool compressed = rest->at(0) != 0;
    const qsizetype language = rest->indexOf('\0', 2);
    const qsizetype translated = language < 0 ? -1 : rest->indexOf('\0', language + 1);
    if (translated < 0)
        return;
    const QByteArray text = rest->mid(translated + 1);
    if (!compressed) {
        standard.xmp = text;
    } else if (rest->at(1) == 0) {
        standard.xmp = inflateZlib(text, kMaxInflated).value_or(QByteArray());
    }
}

void takeProfile(const QByteArray& data, PhotoMetadata& standard) {
    // A name, a zero byte, the compression method (0, zlib), the stream.
    const qsizetype end = data.indexOf('\0');
    if (end < 1 || end + 1 >= data.size() || data[end + 1] != '\0')
        return;
    standard.icc = inflateZlib(data.mid(end + 2), kMaxInflated).value_or(QByteArray());
}

void takePhysicalSize(const QByteArray& data, PhotoMetadata& standard) {
    if (data.size() != 9)
        return;
    const auto x = uint32_t(bigEndianAt(data, 0, 4)), y = uint32_t(bigEndianAt(data, 4, 4));
    if (x == 0 || y == 0)
        return;
    if (data[8] == 1) // per metre
        standard.resolution = Resolution{Resolution::Unit::Centimetre, x / 100.0, y / 100.0};
    else
        standard.resolution = Resolution{Resolution::Unit::None, double(x), double(y)};
}

void takeChunk(const QByteArray& type, const QByteArray& data, Found& found) {
    if (type == "eXIf")
        found.standard.exif = data.startsWith(QByteArray("Exif\0\0", 6)) ? data.mid(6) : data;
    else if (type == "iCCP")
        takeProfile(data, found.standard);
    else if (type == "iTXt")
        takeInternationalText(data, found.standard);
    else if (type == "tEXt" || type == "zTXt")
        takeText(data, type == "zTXt", found.raw);
    else if (type == "pHYs")
        takePhysicalSize(data, found.standard);
}

QByteArray orElse(const QByteArray& first, const QByteArray& second) {
    return first.isEmpty() ? second : first;
}

} // namespace

PhotoMetadata readPngMetadata(const QByteArray& file) {
    Found found;
    // After the signature: length, type, data, checksum, up to IEND.
    for (qsizetype at = 8; file.size() - at >= 12;) {
        const auto length = uint32_t(bigEndianAt(file, at, 4));
        const QByteArray type = file.mid(at + 4, 4);
        if (length > uint32_t(file.size() - at - 12) || type == "IEND")
            break;
        if (type != "IDAT")
            takeChunk(type, file.mid(at + 8, qsizetype(length)), found);
        at += 12 + qsizetype(length);
    }
    PhotoMetadata& s = found.standard;
    s.exif = orElse(s.exif, found.raw.exif);
    s.xmp = orElse(s.xmp, found.raw.xmp);
    s.iptc = orElse(s.iptc, found.raw.iptc);
    s.icc = orElse(s.icc, found.raw.icc);
    return s;
}

} // namespace tessaly
