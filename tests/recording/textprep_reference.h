#pragma once

#include "recording/textprep.h"

namespace reference {

// Short stand-ins for the prosody tags keep expected texts readable.
inline PrepSettings markerSettings()
{
    return {500, 300, 800, u"<TN>"_qs, u"<TD>"_qs, u"<TC>"_qs, u"<TD2>"_qs, {}};
}

} // namespace reference

inline bool operator==(DialogState a, DialogState b)
{
    return a.inDialog == b.inDialog && a.inComment == b.inComment;
}
