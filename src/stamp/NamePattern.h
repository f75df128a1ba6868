#pragma once

#include <cstddef>
#include <optional>
#include <QString>

namespace tessaly {

// What a result's name is made of (--name): the picture's name without its
// extension, the result format's extension, the picture's number in the batch
// and the name of the picture's folder.
struct NameFields {
    QString stem, ext, parent;
    std::size_t number = 1; // from 1
    std::size_t total = 1;  // the batch's size: {n} is padded to its width
};

constexpr const char* kDefaultNamePattern = "{stem}.{ext}";

// What is wrong with the pattern (an unknown placeholder, a lone brace, a
// folder separator), or nothing when it can be used.
std::optional<QString> namePatternProblem(const QString& pattern);

// The pattern with {stem}, {ext}, {n} and {parent} filled in; the pattern
// must be one that namePatternProblem accepts.
QString expandNamePattern(const QString& pattern, const NameFields& fields);

} // namespace tessaly
