// What opens after the records overview or the loop closure evaluation
// closed: nothing, the data editor at a record (FollowUp::Next::Editor with
// recordNumber from 1), the loop closure evaluation or the overview. The
// window that ran the dialog chains the next one.
#pragma once

#include "edit/RecordsOverview.h"

namespace hp::app {

using FollowUp = edit::FollowUp;

}  // namespace hp::app
