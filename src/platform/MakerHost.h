#pragma once

#include <QString>

namespace tessaly {

// The maker's web host, without a scheme. Built in from TESSALY_HOST; tests
// point it at a local server.
QString makerHost();
void setMakerHost(const QString& host);

// "http://" + host + path: the maker's web pages.
QString makerPage(const QString& path);

} // namespace tessaly
