#include "feedback/IsValidEmail.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <memory>

namespace tessaly {

namespace {

constexpr char kPattern[] =
    "^[a-zA-Z0-9_.+-]+@[a-zA-Z0-9-]+\\.[a-zA-Z0-9-.]*[a-zA-Z0-9]+$";

struct CodeDeleter {
    void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataDeleter {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};

// The pattern is compiled once; compiled code may be shared between threads.
const pcre2_code* compiledPattern() {
    static const std::unique_ptr<pcre2_code, CodeDeleter> code = [] {
        const std::u16string pattern(kPattern, kPattern + sizeof(kPattern) - 1);
        int error = 0;
        PCRE2_SIZE offset = 0;
        return std::unique_ptr<pcre2_code, CodeDeleter>(
            pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), 0,
                          &error, &offset, nullptr));
    }();
    return code.get();
}

} // namespace

bool IsValidEmail(const QString& address) {
    const pcre2_code* code = compiledPattern();
    if (!code)
        return false;
    std::unique_ptr<pcre2_match_data, MatchDataDeleter> match(
        pcre2_match_data_create_from_pattern(code, nullptr));
    const int rc = pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(address.utf16()),
                               PCRE2_SIZE(address.size()), 0, PCRE2_NOTEMPTY, match.get(),
                               nullptr);
    return rc > 0;
}

} // namespace tessaly
