#pragma once

#include <QString>

#include <cstdint>

// The version-information interface over the program's stand-in for a
// version resource: a VS_VERSIONINFO block in the ELF section
// "vs_version_info". The three functions behave like their Windows
// namesakes: failures return 0/false and leave a code in lastError().
namespace tessaly {

// Size of the buffer that GetFileVersionInfoW needs, or 0.
uint32_t GetFileVersionInfoSizeW(const QString& path, uint32_t* handle);
// Copies the block into data (size bytes, from GetFileVersionInfoSizeW).
bool GetFileVersionInfoW(const QString& path, uint32_t handle, uint32_t size, void* data);
// Finds a value by a backslash-separated path of keys, matched without regard
// to letter case. "\" gives the fixed file information. On success buffer
// points into block and length is the value's length (characters for text).
bool VerQueryValueW(const void* block, const QString& subBlock, const void** buffer,
                    uint32_t* length);

// The fixed part of the block that "\" returns.
struct VS_FIXEDFILEINFO {
    uint32_t dwSignature;
    uint32_t dwStrucVersion;
    uint32_t dwFileVersionMS;
    uint32_t dwFileVersionLS;
    uint32_t dwProductVersionMS;
    uint32_t dwProductVersionLS;
    uint32_t dwFileFlagsMask;
    uint32_t dwFileFlags;
    uint32_t dwFileOS;
    uint32_t dwFileType;
    uint32_t dwFileSubtype;
    uint32_t dwFileDateMS;
    uint32_t dwFileDateLS;
};

} // namespace tessaly
