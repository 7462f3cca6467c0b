#include "common/core/link_settings.h"

namespace {

// The table of differences between the two programs' links.
//                                     P   U  U2 limit keep  startRead
constexpr LinkSettings kColumns[] = {
    {"ventacq",                        4,  2,  0,  2,  false, false},
    {"ventlink",                       2,  5,  5,  4,  true,  true},
};

} // namespace

const LinkSettings &LinkSettings::ventacq()
{
    return kColumns[0];
}

const LinkSettings &LinkSettings::ventlink()
{
    return kColumns[1];
}
