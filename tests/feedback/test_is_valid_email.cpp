#include "feedback/IsValidEmail.h"

#include <gtest/gtest.h>

using tessaly::IsValidEmail;

TEST(IsValidEmail, AcceptsAndRejects) {
    struct Case {
        const char* address;
        bool valid;
    };
    const Case cases[] = {
        {"a@b.c", true},                   // the shortest: letter, at, letter, dot, letter
        {"a@b..c", true},                  // two dots in a row after the first label
        {"--1@-2.3", true},                // minus signs and digits only
        {"first.last+tag@mail-host.co.uk", true},
        {"a_b@c.d9", true},
        {"a@bc", false},                   // no dot after the at sign
        {"a@.c", false},                   // nothing between the at sign and the dot
        {"a@b.c-", false},                 // ends in a minus sign
        {"a@b.c.", false},                 // ends in a dot
        {"a b@c.d", false},                // a space inside
        {"", false},
        {"@b.c", false},
        {"a@@b.c", false},
        {"A@B.C", true},                   // letter case is kept, both cases allowed
        {"\xc3\xa4@b.c", false},           // a letter outside ASCII
        {"a@b_c.d", false},                // underscore not allowed in the domain
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsValidEmail(QString::fromUtf8(c.address)), c.valid) << c.address;
}
